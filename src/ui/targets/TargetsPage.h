#pragma once
// The "Targets" tab: every target in a read-only grid, ordered by name and
// filtered by target category, with New, Edit, Remove and the target category
// editor. Changes are written straight to the host and followed by a reload of
// the target parts of the record cache and a refill of the grid. A target that
// a group lists is never removed, and changing the unit of such a target
// converts the amounts its groups' items carry of it.

#include <cstdint>

#include "ui/PluginPage.h"
#include "ui/categories/CategoryFilter.h"

class QComboBox;
class QPushButton;

namespace orv {

class ColoredLabel;
class Grid;
struct TargetRecord;

class TargetsPage : public PluginPage {
    Q_OBJECT
public:
    explicit TargetsPage(QWidget* parent = nullptr);

    void LoadCacheParts() override;
    void CreateContent() override;
    void Activate() override;
    void Recolor() override;

    Grid* grid() const { return grid_; }
    QComboBox* filterBox() const { return filter_.box(); }
    ColoredLabel* categoryLabel() const { return label_; }
    QPushButton* newButton() const { return new_; }
    QPushButton* editButton() const { return edit_; }
    QPushButton* removeButton() const { return remove_; }
    QPushButton* categoriesButton() const { return categories_; }

    // The button actions.
    void NewTarget();
    void EditTarget();
    void RemoveTarget();
    void EditTargetCategories();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutControls();
    void Reload();
    // Reloads, then refills the grid selecting the row of `targetId`, or row 0.
    void ReloadAndFill(int32_t targetId);
    void FillGrid(int32_t targetId);
    // The target id of the selected row, or 0 when none is selected.
    int32_t SelectedTarget() const;

    ColoredLabel* label_ = nullptr;
    Grid* grid_ = nullptr;
    QPushButton* new_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* categories_ = nullptr;
    // "All", then the named target categories.
    CategoryFilter filter_;
};

}  // namespace orv
