#pragma once
// The "Values" page: every recorded value, newest first, with New, Edit and
// Remove and a switch to show only the ten newest.

#include <cstdint>
#include <vector>

#include "ui/PluginPage.h"
#include "ui/ValueColumns.h"

class QPushButton;

namespace orv {

class BitmapButton;
class ColoredLabel;
class Grid;

// The grid's columns are the ValueColumns, in their order.
class ValuesPage : public PluginPage, public ValueColumns {
    Q_OBJECT
public:
    // How many rows the ten-newest view shows.
    static constexpr int kLastCount = 10;

    explicit ValuesPage(const PageContext& context, QWidget* parent = nullptr);

    void LoadCacheParts() override;
    void CreateContent() override;
    void Activate() override;
    void Recolor() override;

    // Refills the grid from the cache and selects the row of `selectId`, or
    // the first row when it is 0 or not shown.
    void FillGrid(int32_t selectId);
    // The value id shown in a grid row; 0 for a row that does not exist.
    int32_t ValueIdAt(int row) const;
    bool LastTenMode() const { return lastTen_; }

    // The button actions.
    void AddValue();
    void EditValue();
    void RemoveValue();
    void ToggleLastTen();

    orv::Grid* Grid() const { return grid_; }
    ColoredLabel* TitleLabel() const { return label_; }
    BitmapButton* LastTenButton() const { return lastTenButton_; }
    BitmapButton* NewButton() const { return new_; }
    BitmapButton* EditButton() const { return edit_; }
    BitmapButton* RemoveButton() const { return remove_; }
    BitmapButton* ExportButton() const { return export_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Reloads the cache parts the page reads and refills, selecting selectId.
    // When the cache did not change since the last fill and no row is to be
    // selected, the grid keeps its rows and row 0 is selected.
    void AfterChange(int32_t selectId);
    // The text of a grid cell of the value with this id, made when drawn.
    QString CellText(int32_t valueId, int column) const;
    void LayoutControls();

    bool lastTen_ = false;
    std::vector<int32_t> rowIds_;    // grid row -> value id
    uint64_t filledGeneration_ = 0;  // the cache generation the grid shows; 0: refill
    orv::Grid* grid_ = nullptr;
    ColoredLabel* label_ = nullptr;
    BitmapButton* lastTenButton_ = nullptr;
    BitmapButton* new_ = nullptr;
    BitmapButton* edit_ = nullptr;
    BitmapButton* remove_ = nullptr;
    BitmapButton* export_ = nullptr;
};

}  // namespace orv
