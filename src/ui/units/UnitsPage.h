#pragma once
// The "Units" tab: the unit definitions in a read-only grid, filtered by unit
// category, with New, Edit, Remove and the unit category editor. Every change
// is written straight to the host and followed by a reload of the unit parts
// of the record cache and a refill of the grid.

#include <cstdint>

#include "ui/PluginPage.h"
#include "ui/categories/CategoryFilter.h"

class QComboBox;
class QPushButton;

namespace orv {

class ColoredLabel;
class Grid;

class UnitsPage : public PluginPage {
    Q_OBJECT
public:
    explicit UnitsPage(QWidget* parent = nullptr);

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
    void NewUnit();
    void EditUnit();
    void RemoveUnit();
    void EditUnitCategories();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutControls();
    void Reload();
    // Refills the grid and selects the row of `unitId`, or row 0.
    void FillGrid(int32_t unitId);
    // The unit id of the selected row, or 0 when none is selected.
    int32_t SelectedUnit() const;

    ColoredLabel* label_ = nullptr;
    Grid* grid_ = nullptr;
    QPushButton* new_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* categories_ = nullptr;
    // "All", then the named unit categories.
    CategoryFilter filter_;
};

}  // namespace orv
