#include "ui/ListPage.h"

#include <QComboBox>
#include <QResizeEvent>

#include "data/ModifiedFlag.h"
#include "data/RecordCache.h"
#include "ui/PageStyle.h"
#include "ui/WriteFailure.h"
#include "ui/categories/CategoriesDialog.h"
#include "ui/controls/BitmapButton.h"
#include "ui/controls/ColoredLabel.h"
#include "ui/controls/Grid.h"

namespace orv {

ListPage::ListPage(const PageContext& context, const Frame& frame, QWidget* parent)
    : PluginPage(context, parent), filter_(frame.categories), frame_(frame) {
    setObjectName(frame.objectName);
}

void ListPage::LoadCacheParts() { Reload(); }

void ListPage::CreateContent() {
    if (grid_) return;
    setFont(PageFont());

    label_ = new ColoredLabel(this);
    auto* filter = new QComboBox(this);
    if (!frame_.filterName.isEmpty()) filter->setObjectName(frame_.filterName);
    filter->setMaxVisibleItems(20);
    filter_.Attach(filter, label_);
    connect(filter, &QComboBox::activated, this, [this] { FilterChosen(); });

    CreateControls();
    ShowAllCategories();
    LayoutControls();
    Recolor();
}

void ListPage::Activate() {
    Reload();
    Refill();
}

void ListPage::Recolor() { filter_.RecolorLabel(colors_); }

void ListPage::FilterChosen() {
    filter_.ShowCategoryInLabel(cache_);
    Refill();
}

orv::Grid* ListPage::AddGrid(const RowActions& actions) {
    grid_ = new orv::Grid(this);
    connect(grid_, &orv::Grid::editRequested, this, actions.edit);
    connect(grid_, &orv::Grid::addRowRequested, this, actions.add);
    connect(grid_, &orv::Grid::deleteRowRequested, this, actions.remove);
    return grid_;
}

void ListPage::AddButtons(std::vector<Action> actions) {
    for (Action& action : actions) {
        auto* button = new BitmapButton(action.text, BitmapButton::Face::Push, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, std::move(action.run));
        buttons_.push_back(button);
    }
}

void ListPage::FillGrid(int32_t id) {
    if (!grid_) return;
    grid_->setRedraw(false);
    grid_->deleteAllRows();
    AddRows();
    grid_->setRedraw(true);
    const int row = id != 0 ? grid_->findRowByNumber(id) : -1;
    grid_->selectRow(row >= 0 ? row : 0);
}

void ListPage::ReloadAndFill(int32_t id) {
    Reload();
    FillGrid(id);
}

int32_t ListPage::SelectedRowNumber() const {
    const int row = grid_ ? grid_->currentRow() : -1;
    return row < 0 ? 0 : grid_->rowNumber(row);
}

void ListPage::EditFilterCategories() {
    if (RefuseWhenReadOnly(this, frame_.caption)) return;
    // The editor stores every change as it is made, so what it cleared is
    // followed up however it was closed.
    const std::vector<int32_t> cleared = EditCategories(cache_, frame_.kind, window());
    SetModifiedFlag();
    RefileClearedCategories(cache_, &db_, frame_.kind, cleared);

    ShowAllCategories();
    grid_->repaint();
}

void ListPage::ShowAllCategories() {
    filter_.Fill(cache_);
    filter_.ShowAll(cache_);
    Refill();
}

void ListPage::resizeEvent(QResizeEvent* event) {
    PluginPage::resizeEvent(event);
    LayoutControls();
}

void ListPage::LayoutLists(const QRect& area) { grid_->setGeometry(area); }

void ListPage::LayoutControls() {
    if (!grid_) return;
    // Controls keep a margin of 10 to the page's edges and each other; the
    // label, the filter and the buttons are 26 high, the lists fill the rest.
    constexpr int margin = 10;
    constexpr int rowHeight = 26;
    constexpr int listsTop = rowHeight + 2 * margin;
    const QRect r = rect();
    const int filterWidth = frame_.filterWidth;
    label_->setGeometry(r.left() + margin, r.top() + margin, r.width() - filterWidth - 3 * margin, rowHeight);
    // A drop-down's height is its closed height; the list opens below it.
    filter_.Box()->setGeometry(r.right() + 1 - filterWidth - margin, r.top() + margin, filterWidth,
                               filter_.Box()->sizeHint().height());
    LayoutLists(QRect(r.left() + margin, r.top() + listsTop, r.width() - 2 * margin, r.height() - 2 * listsTop));
    const int buttonTop = r.bottom() + 1 - margin - rowHeight;
    const int pitch = frame_.buttonWidth + margin;
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i]->setGeometry(r.left() + margin + pitch * static_cast<int>(i), buttonTop, frame_.buttonWidth,
                                 rowHeight);
    }
}

}  // namespace orv
