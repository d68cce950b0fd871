#pragma once
// The "Groups/Items" tab: the groups in a tree on the left, filtered by group
// category, and the items of the selected group in a grid on the right, with
// buttons to add, edit and remove groups and items and to edit the group
// categories. Removing a group takes its items and their values with it; an
// item that has values is never removed.

#include <cstdint>
#include <vector>

#include "data/RecordChanges.h"
#include "ui/PluginPage.h"
#include "ui/categories/CategoryFilter.h"

class QComboBox;
class QPushButton;
class QTreeWidget;

namespace orv {

class ColoredLabel;
class Grid;

class GroupsPage : public PluginPage {
    Q_OBJECT
public:
    explicit GroupsPage(QWidget* parent = nullptr);

    void LoadCacheParts() override;
    void CreateContent() override;
    void Activate() override;
    void Recolor() override;

    QTreeWidget* groupTree() const { return tree_; }
    Grid* itemsGrid() const { return grid_; }
    QComboBox* filterBox() const { return filter_.box(); }
    ColoredLabel* groupLabel() const { return label_; }
    // The group selected in the tree, -1 when none.
    int32_t selectedGroup() const { return selectedGroup_; }
    // Selects the group's node in the tree; false when it is not shown.
    bool SelectGroupNode(int32_t groupId);

    // The button actions.
    void NewGroup();
    void EditGroup();
    void RemoveGroup();
    void NewItem();
    void EditItem();
    void RemoveItem();
    void EditGroupCategories();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutControls();
    void UpdateLabel();
    void Reload();
    void ReloadGroupParts();
    void ReloadItemParts();
    void FillTree();
    // Refills the grid with the selected group's items and selects the row
    // of `itemId`, or row 0.
    void FillItems(int32_t itemId);
    void GroupChosen(int32_t groupId);
    int32_t SelectedItem() const;

    ColoredLabel* label_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    Grid* grid_ = nullptr;
    std::vector<QPushButton*> buttons_;
    // "All", then the named group categories.
    CategoryFilter filter_;
    int32_t selectedGroup_ = -1;
    bool fillingTree_ = false;
};

}  // namespace orv
