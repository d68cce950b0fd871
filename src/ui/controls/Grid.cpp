#include "ui/controls/Grid.h"

#include "ui/controls/ColorRef.h"
#include "ui/controls/GridModel.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

namespace orv {

// The table view with the grid's keys: Ins, Del and Enter act through the
// grid's actions even when no shortcut can fire (e.g. the window is not
// active), so each key has one meaning wherever it arrives.
class GridTableView final : public QTableView {
public:
    GridTableView(QWidget* parent, QAction* add, QAction* remove, QAction* edit)
        : QTableView(parent), add_(add), remove_(remove), edit_(edit) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->modifiers() & ~Qt::KeypadModifier) {
            QTableView::keyPressEvent(event);
            return;
        }
        QAction* action = nullptr;
        switch (event->key()) {
        case Qt::Key_Insert: action = add_; break;
        case Qt::Key_Delete: action = remove_; break;
        case Qt::Key_Return:
        case Qt::Key_Enter: action = edit_; break;
        default: QTableView::keyPressEvent(event); return;
        }
        if (action->isEnabled()) action->trigger();
        event->accept();
    }

private:
    QAction* add_;
    QAction* remove_;
    QAction* edit_;
};

Grid::Grid(QWidget* parent) : QWidget(parent), model_(new GridModel(this)) {
    menu_ = new QMenu(this);
    addAction_ = menu_->addAction(QStringLiteral("Add Row\tIns"));
    addAction_->setShortcut(QKeySequence(Qt::Key_Insert));
    deleteAction_ = menu_->addAction(QStringLiteral("Delete Row\tDel"));
    deleteAction_->setShortcut(QKeySequence(Qt::Key_Delete));
    editAction_ = menu_->addAction(QStringLiteral("Edit Row\tEnter"));
    editAction_->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});

    view_ = new GridTableView(this, addAction_, deleteAction_, editAction_);
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setTabKeyNavigation(false);
    view_->setWordWrap(false);
    view_->setShowGrid(false);
    view_->setCornerButtonEnabled(false);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    view_->verticalHeader()->hide();
    // Uniform row heights: the view never measures rows, whatever their number.
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view_->horizontalHeader()->setStretchLastSection(false);
    view_->horizontalHeader()->setHighlightSections(false);
    view_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setFocusProxy(view_);

    for (QAction* action : {addAction_, deleteAction_, editAction_}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        view_->addAction(action);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);

    connect(addAction_, &QAction::triggered, this, [this] { Q_EMIT addRowRequested(); });
    connect(deleteAction_, &QAction::triggered, this, [this] {
        if (const int row = currentRow(); row >= 0) Q_EMIT deleteRowRequested(row);
    });
    connect(editAction_, &QAction::triggered, this, [this] {
        if (const int row = currentRow(); row >= 0) Q_EMIT editRequested(row);
    });
    connect(view_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid() && index.row() == currentRow()) Q_EMIT editRequested(index.row());
    });
    connect(view_, &QWidget::customContextMenuRequested, this, &Grid::showContextMenu);
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &Grid::reportCurrentRow);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        restoreColumnWidths();
        reportCurrentRow();
    });
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &Grid::reportCurrentRow);
    connect(view_->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (column >= 0 && column < static_cast<int>(widths_.size()) && isRedrawOn())
            widths_[static_cast<std::size_t>(column)] = width;
    });
    updateActions();
}

Grid::~Grid() = default;

QTableView* Grid::view() const { return view_; }

int Grid::addColumn(const QString& title, int width, Qt::Alignment alignment) {
    const int column = model_->addColumn(title, alignment & Qt::AlignHorizontal_Mask);
    widths_.push_back(width);
    if (isRedrawOn()) view_->setColumnWidth(column, width);
    return column;
}

int Grid::columnCount() const { return model_->columnCount(); }

QString Grid::columnTitle(int column) const { return model_->columnTitle(column); }

int Grid::columnIndex(const QString& title) const { return model_->columnIndex(title); }

int Grid::columnWidth(int column) const {
    if (column < 0 || column >= static_cast<int>(widths_.size())) return 0;
    return widths_[static_cast<std::size_t>(column)];
}

void Grid::setColumnWidth(int column, int width) {
    if (column < 0 || column >= static_cast<int>(widths_.size()) || width < 0) return;
    widths_[static_cast<std::size_t>(column)] = width;
    if (isRedrawOn()) view_->setColumnWidth(column, width);
}

void Grid::restoreColumnWidths() {
    for (std::size_t column = 0; column < widths_.size(); ++column)
        view_->setColumnWidth(static_cast<int>(column), widths_[column]);
}

int Grid::addRow() { return model_->appendRow(); }

void Grid::setCellSource(std::function<QString(int number, int column)> source) {
    model_->setCellSource(std::move(source));
}

void Grid::appendRows(const std::vector<int>& numbers) { model_->appendRows(numbers); }

int Grid::rowCount() const { return model_->rowCount(); }

bool Grid::setCell(int row, const QString& columnTitle, const QString& text) {
    return model_->setCell(row, model_->columnIndex(columnTitle), text);
}

bool Grid::setCell(int row, int column, const QString& text) { return model_->setCell(row, column, text); }

QString Grid::cell(int row, const QString& columnTitle) const {
    return model_->cell(row, model_->columnIndex(columnTitle));
}

QString Grid::cell(int row, int column) const { return model_->cell(row, column); }

bool Grid::deleteRow(int row) {
    if (pendingSelection_ && *pendingSelection_ == row) pendingSelection_.reset();
    // Deleting the selected row leaves no row selected; the view would
    // otherwise move the selection to a neighbour.
    if (isRedrawOn() && row >= 0 && row == currentRow()) clearSelection();
    return model_->removeRowAt(row);
}

void Grid::deleteAllRows() {
    pendingSelection_.reset();
    model_->removeAllRows();
}

void Grid::setRedraw(bool on) {
    if (!on) {
        if (!model_->inBatch()) view_->setUpdatesEnabled(false);
        model_->beginBatch();
        return;
    }
    if (!model_->inBatch()) return;
    model_->endBatch();
    if (model_->inBatch()) return;
    view_->setUpdatesEnabled(true);
    if (pendingSelection_) {
        const int row = *pendingSelection_;
        pendingSelection_.reset();
        selectRow(row);
    }
    updateActions();
}

bool Grid::isRedrawOn() const { return !model_->inBatch(); }

int Grid::currentRow() const {
    if (!isRedrawOn()) return pendingSelection_.value_or(-1);
    const QModelIndexList selected = view_->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

bool Grid::selectRow(int row) {
    if (!isRedrawOn()) {
        if (row < 0 || row >= rowCount()) {
            pendingSelection_.reset();
            return false;
        }
        pendingSelection_ = row;
        return true;
    }
    if (row < 0 || row >= rowCount() || columnCount() == 0) {
        clearSelection();
        return false;
    }
    const QModelIndex index = model_->index(row, 0);
    view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_->scrollTo(index);
    return true;
}

void Grid::clearSelection() {
    pendingSelection_.reset();
    if (isRedrawOn()) view_->selectionModel()->clear();
    reportCurrentRow();
}

bool Grid::setRowNumber(int row, int number) { return model_->setRowNumber(row, number); }

int Grid::rowNumber(int row) const { return model_->rowNumber(row); }

int Grid::findRowByNumber(int number) const { return model_->findRowByNumber(number); }

bool Grid::setRowColor(int row, int colorRef) { return model_->setRowColor(row, colorFromRef(colorRef)); }

void Grid::setAlternatingRowColors(int evenColorRef, int oddColorRef) {
    model_->setAlternatingColors(colorFromRef(evenColorRef), colorFromRef(oddColorRef));
}

std::optional<QColor> Grid::rowBackground(int row) const { return model_->effectiveRowColor(row); }

void Grid::showContextMenu(const QPoint& position) {
    // A right-click on a row selects it first, so the menu acts on that row.
    const QModelIndex index = view_->indexAt(position);
    if (index.isValid()) selectRow(index.row());
    updateActions();
    menu_->popup(view_->viewport()->mapToGlobal(position));
}

void Grid::updateActions() {
    const bool hasRow = currentRow() >= 0;
    deleteAction_->setEnabled(hasRow);
    editAction_->setEnabled(hasRow);
}

void Grid::reportCurrentRow() {
    if (!isRedrawOn()) return;
    updateActions();
    const int row = currentRow();
    if (row == reportedRow_) return;
    reportedRow_ = row;
    Q_EMIT currentRowChanged(row);
}

}  // namespace orv
