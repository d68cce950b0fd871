#pragma once
// The "Groups/Items" tab: the groups in a tree on the left, filtered by group
// category, and the items of the selected group in a grid on the right, with
// buttons to add, edit and remove groups and items and to edit the group
// categories. Removing a group takes its items and their values with it; an
// item that has values is never removed.

#include <cstdint>

#include "ui/ListPage.h"

class QTreeWidget;

namespace orv {

class GroupsPage : public ListPage {
    Q_OBJECT
public:
    explicit GroupsPage(const PageContext& context, QWidget* parent = nullptr);

    QTreeWidget* GroupTree() const { return tree_; }
    orv::Grid* ItemsGrid() const { return Grid(); }
    // The group selected in the tree, -1 when none.
    int32_t SelectedGroup() const { return selectedGroup_; }
    // Selects the group's node in the tree; false when it is not shown.
    bool SelectGroupNode(int32_t groupId);

    // The button actions.
    void NewGroup();
    void EditGroup();
    void RemoveGroup();
    void NewItem();
    void EditItem();
    void RemoveItem();

protected:
    void CreateControls() override;
    void Reload() override;
    // The items of the selected group.
    void AddRows() override;
    // Refills the tree, which selects no group and empties the grid.
    void Refill() override;
    // The label names the selected group and the filter's category.
    void FilterChosen() override;
    // The tree on the left, the grid beside it.
    void LayoutLists(const QRect& area) override;

private:
    void UpdateLabel();
    void ReloadGroupParts();
    void ReloadItemParts();
    void GroupChosen(int32_t groupId);

    QTreeWidget* tree_ = nullptr;
    int32_t selectedGroup_ = -1;
    bool fillingTree_ = false;
};

}  // namespace orv
