#include "ui/controls/PropertyList.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace orv {

namespace {

constexpr int kEditableRole = Qt::UserRole + 1;

}  // namespace

// The table with the keys of an in-place list: Enter on the add row asks for
// a new item; typing or F2 on a row edits its first number cell even when a
// fixed cell of that row is current.
class PropertyTable final : public QTableWidget {
public:
    explicit PropertyTable(PropertyList* owner) : QTableWidget(owner), owner_(owner) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int row = currentRow();
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (state() != EditingState && owner_->isAddRow(row) && enter) {
            Q_EMIT owner_->addItemRequested();
            event->accept();
            return;
        }
        const bool startsEditing =
            event->key() == Qt::Key_F2 || (!event->text().isEmpty() && event->text().at(0).isPrint() &&
                                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)));
        if (state() != EditingState && startsEditing && row >= 0 && !owner_->isEditable(row, currentColumn())) {
            // Move to the row's number cell; the table then edits it as usual.
            const int column = owner_->firstEditableColumn(row);
            if (column >= 0) setCurrentCell(row, column);
        }
        QTableWidget::keyPressEvent(event);
    }

private:
    PropertyList* owner_;
};

PropertyList::PropertyList(QWidget* parent) : QWidget(parent), table_(new PropertyTable(this)) {
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                            QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    table_->horizontalHeader()->setHighlightSections(false);
    table_->setShowGrid(true);
    table_->setWordWrap(false);
    table_->setTabKeyNavigation(false);
    setFocusProxy(table_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table_);

    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!filling_ && item && item->data(kEditableRole).toBool()) Q_EMIT cellEdited(item->row(), item->column());
    });
    connect(table_, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (isAddRow(row)) Q_EMIT addItemRequested();
    });
}

QTableWidget* PropertyList::table() const { return table_; }

void PropertyList::setColumns(const std::vector<Column>& columns) {
    columns_ = columns;
    table_->clear();
    table_->setRowCount(0);
    addRowPlaced_ = false;
    table_->setColumnCount(static_cast<int>(columns_.size()));
    QStringList titles;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        titles << columns_[i].title;
        table_->setColumnWidth(static_cast<int>(i), columns_[i].width);
    }
    table_->setHorizontalHeaderLabels(titles);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (QTableWidgetItem* header = table_->horizontalHeaderItem(static_cast<int>(i)))
            header->setTextAlignment(columns_[i].alignment | Qt::AlignVCenter);
    }
    placeAddRow();
}

int PropertyList::columnCount() const { return static_cast<int>(columns_.size()); }

int PropertyList::addRowIndex() const { return addRowPlaced_ ? table_->rowCount() - 1 : -1; }

bool PropertyList::isAddRow(int row) const { return addRowPlaced_ && row >= 0 && row == addRowIndex(); }

int PropertyList::rowCount() const { return table_->rowCount() - (addRowPlaced_ ? 1 : 0); }

int PropertyList::addRow(const QStringList& texts) {
    filling_ = true;
    const int row = rowCount();
    table_->insertRow(row);
    for (int column = 0; column < columnCount(); ++column) {
        auto* item = new QTableWidgetItem(column < texts.size() ? texts.at(column) : QString());
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setTextAlignment(columns_[static_cast<std::size_t>(column)].alignment | Qt::AlignVCenter);
        table_->setItem(row, column, item);  // the table owns the item
    }
    filling_ = false;
    return row;
}

void PropertyList::clearRows() {
    filling_ = true;
    table_->setRowCount(0);
    addRowPlaced_ = false;
    filling_ = false;
    placeAddRow();
}

QTableWidgetItem* PropertyList::itemAt(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
    return table_->item(row, column);
}

bool PropertyList::setNumber(int row, int column, double value, int precision) {
    QTableWidgetItem* item = itemAt(row, column);
    if (!item) return false;
    filling_ = true;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    item->setData(kEditableRole, true);
    item->setText(QString::asprintf("%.*g", precision, value));
    filling_ = false;
    return true;
}

bool PropertyList::setCellText(int row, int column, const QString& text) {
    QTableWidgetItem* item = itemAt(row, column);
    if (!item) return false;
    item->setText(text);  // reported through itemChanged for number cells
    return true;
}

QString PropertyList::cellText(int row, int column) const {
    const QTableWidgetItem* item = itemAt(row, column);
    return item ? item->text() : QString();
}

bool PropertyList::isEditable(int row, int column) const {
    const QTableWidgetItem* item = itemAt(row, column);
    return item && item->data(kEditableRole).toBool();
}

std::optional<double> PropertyList::number(int row, int column) const {
    if (!itemAt(row, column)) return std::nullopt;
    return parseNumber(cellText(row, column));
}

std::optional<double> PropertyList::parseNumber(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^[ \\t]*([+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?)[ \\t]*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) return std::nullopt;
    bool ok = false;
    // QByteArray::toDouble reads "C" notation whatever the process locale is.
    const double value = match.captured(1).toLatin1().toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

void PropertyList::setAddRowShown(bool shown) {
    if (shown == addRowShown_) return;
    if (addRowPlaced_) {
        table_->removeRow(addRowIndex());
        addRowPlaced_ = false;
    }
    addRowShown_ = shown;
    placeAddRow();
}

void PropertyList::placeAddRow() {
    // The row needs a column to show its text; setColumns places it later.
    if (!addRowShown_ || addRowPlaced_ || columnCount() == 0) return;
    filling_ = true;
    const int row = table_->rowCount();
    table_->insertRow(row);
    auto* item = new QTableWidgetItem(addRowText());
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    table_->setItem(row, 0, item);
    if (columnCount() > 1) table_->setSpan(row, 0, 1, columnCount());
    addRowPlaced_ = true;
    filling_ = false;
}

int PropertyList::currentRow() const {
    const int row = table_->currentRow();
    return row >= 0 && row < rowCount() && table_->selectionModel()->isRowSelected(row, {}) ? row : -1;
}

bool PropertyList::selectRow(int row) {
    if (row < 0 || row >= rowCount()) {
        table_->clearSelection();
        return false;
    }
    table_->setCurrentCell(row, 0);
    table_->selectRow(row);
    return true;
}

bool PropertyList::editCell(int row, int column) {
    if (!isEditable(row, column)) return false;
    table_->setCurrentCell(row, column);
    table_->editItem(table_->item(row, column));
    return true;
}

int PropertyList::firstEditableColumn(int row) const {
    for (int column = 0; column < columnCount(); ++column) {
        if (isEditable(row, column)) return column;
    }
    return -1;
}

}  // namespace orv
