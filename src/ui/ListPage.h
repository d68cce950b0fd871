#pragma once
// The frame of a list page: a coloured label and a category filter on top,
// the page's lists (always a grid, possibly more beside it) in the middle and
// a row of bitmap buttons at the bottom, laid out again on every resize. The
// frame builds and lays out the controls, reloads the page's cache parts and
// refills when the page comes to the front, refills when another category is
// chosen, and runs the category editor of the page's record kind. A page adds
// its lists' columns, how it fills them and what its buttons do.

#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

#include "data/Records.h"
#include "ui/PluginPage.h"
#include "ui/categories/CategoryFilter.h"

class QComboBox;
class QPushButton;

namespace orv {

class ColoredLabel;
class Grid;

class ListPage : public PluginPage {
    Q_OBJECT
public:
    // What differs between the frames of the list pages.
    struct Frame {
        QString objectName;
        // Caption of the messages of the frame's own actions.
        QString caption;
        // The kind whose categories the filter offers and the editor edits.
        RecordKind kind = RecordKind::Unit;
        CategoryFilter::CategoriesOf categories = nullptr;
        // Object name of the filter drop-down; empty leaves it unnamed.
        QString filterName{};
        int filterWidth = 110;
        int buttonWidth = 100;
    };
    // One button of the bottom row, left to right.
    struct Action {
        QString text;
        std::function<void()> run;
    };
    // What the grid's Return, Insert and Delete keys do.
    struct RowActions {
        std::function<void()> add;
        std::function<void()> edit;
        std::function<void()> remove;
    };

    ListPage(const PageContext& context, const Frame& frame, QWidget* parent);

    // Loads what Reload() loads, so the filter and the lists are filled
    // from a fresh cache.
    void LoadCacheParts() override;
    void CreateContent() override;
    void Activate() override;
    void Recolor() override;

    orv::Grid* Grid() const { return grid_; }
    QComboBox* FilterBox() const { return filter_.Box(); }

    // The "Edit categories" action: runs the category editor, refiles the
    // records of cleared categories and shows all of them again.
    void EditFilterCategories();

protected:
    // Creates the page's lists, among them the grid through AddGrid(), then
    // its buttons through AddButtons().
    virtual void CreateControls() = 0;
    // Reloads the cache parts the page shows and its dialogs read.
    virtual void Reload() = 0;
    // Adds the grid's rows from the cache.
    virtual void AddRows() = 0;
    // Refills the page's lists from the cache; by default the grid.
    virtual void Refill() { FillGrid(0); }
    // Another category was chosen in the filter.
    virtual void FilterChosen();
    // Places the lists in `area`; by default the grid fills it.
    virtual void LayoutLists(const QRect& area);

    orv::Grid* AddGrid(const RowActions& actions);
    void AddButtons(std::vector<Action> actions);
    // Refills the grid and selects the row of `id`, or row 0.
    void FillGrid(int32_t id);
    void ReloadAndFill(int32_t id);
    // The number of the grid's selected row, or 0 when none is selected.
    int32_t SelectedRowNumber() const;

    void resizeEvent(QResizeEvent* event) override;

    ColoredLabel* label_ = nullptr;
    orv::Grid* grid_ = nullptr;
    // "All", then the named categories of the page's kind.
    CategoryFilter filter_;

private:
    void LayoutControls();
    // Refills the filter, chooses "All" and refills the lists.
    void ShowAllCategories();

    const Frame frame_;
    std::vector<QPushButton*> buttons_;
};

}  // namespace orv
