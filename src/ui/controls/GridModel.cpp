#include "ui/controls/GridModel.h"

#include <QBrush>

#include <iterator>

namespace orv {

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

int GridModel::addColumn(const QString& title, Qt::Alignment alignment) {
    const int column = static_cast<int>(columns_.size());
    const std::size_t oldWidth = columns_.size();
    if (!inBatch()) beginInsertColumns({}, column, column);
    columns_.push_back({title, alignment});
    if (!rows_.empty() && !source_) {
        // Widen every row by one empty cell at the end.
        std::vector<QString> widened;
        widened.reserve(rows_.size() * columns_.size());
        for (std::size_t row = 0; row < rows_.size(); ++row) {
            auto first = cells_.begin() + static_cast<std::ptrdiff_t>(row * oldWidth);
            widened.insert(widened.end(), std::make_move_iterator(first),
                           std::make_move_iterator(first + static_cast<std::ptrdiff_t>(oldWidth)));
            widened.emplace_back();
        }
        cells_ = std::move(widened);
    }
    if (!inBatch()) endInsertColumns();
    return column;
}

int GridModel::columnIndex(const QString& title) const {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].title == title) return static_cast<int>(i);
    }
    return -1;
}

QString GridModel::columnTitle(int column) const {
    return validColumn(column) ? columns_[static_cast<std::size_t>(column)].title : QString();
}

int GridModel::appendRow() {
    const int row = static_cast<int>(rows_.size());
    if (!inBatch()) beginInsertRows({}, row, row);
    rows_.emplace_back();
    if (!source_) cells_.resize(cells_.size() + columns_.size());
    if (!inBatch()) endInsertRows();
    return row;
}

void GridModel::appendRows(const std::vector<int>& numbers) {
    if (numbers.empty()) return;
    const int first = static_cast<int>(rows_.size());
    if (!inBatch()) beginInsertRows({}, first, first + static_cast<int>(numbers.size()) - 1);
    rows_.reserve(rows_.size() + numbers.size());
    for (const int number : numbers) rows_.push_back(RowInfo{number, std::nullopt});
    if (!source_) cells_.resize(rows_.size() * columns_.size());
    if (!inBatch()) endInsertRows();
}

void GridModel::setCellSource(CellSource source) {
    if (!inBatch()) beginResetModel();
    source_ = std::move(source);
    cells_.clear();
    if (!source_) cells_.resize(rows_.size() * columns_.size());
    if (!inBatch()) endResetModel();
}

bool GridModel::removeRowAt(int row) {
    if (!validRow(row)) return false;
    if (!inBatch()) beginRemoveRows({}, row, row);
    if (!source_) {
        const auto width = static_cast<std::ptrdiff_t>(columns_.size());
        const auto first = cells_.begin() + row * width;
        cells_.erase(first, first + width);
    }
    rows_.erase(rows_.begin() + row);
    if (!inBatch()) endRemoveRows();
    return true;
}

void GridModel::removeAllRows() {
    if (rows_.empty()) return;
    if (!inBatch()) beginResetModel();
    rows_.clear();
    cells_.clear();
    if (!inBatch()) endResetModel();
}

bool GridModel::setCell(int row, int column, const QString& text) {
    if (!validRow(row) || !validColumn(column) || source_) return false;
    cells_[static_cast<std::size_t>(row) * columns_.size() + static_cast<std::size_t>(column)] = text;
    if (!inBatch()) {
        const QModelIndex changed = index(row, column);
        Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
    }
    return true;
}

QString GridModel::cell(int row, int column) const {
    if (!validRow(row) || !validColumn(column)) return {};
    if (source_) return source_(rows_[static_cast<std::size_t>(row)].number, column);
    return cells_[static_cast<std::size_t>(row) * columns_.size() + static_cast<std::size_t>(column)];
}

bool GridModel::setRowNumber(int row, int number) {
    if (!validRow(row)) return false;
    rows_[static_cast<std::size_t>(row)].number = number;
    return true;
}

int GridModel::rowNumber(int row) const { return validRow(row) ? rows_[static_cast<std::size_t>(row)].number : 0; }

int GridModel::findRowByNumber(int number) const {
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (rows_[row].number == number) return static_cast<int>(row);
    }
    return -1;
}

bool GridModel::setRowColor(int row, std::optional<QColor> color) {
    if (!validRow(row)) return false;
    rows_[static_cast<std::size_t>(row)].color = color;
    if (!inBatch() && !columns_.empty())
        Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::BackgroundRole});
    return true;
}

std::optional<QColor> GridModel::rowColor(int row) const {
    return validRow(row) ? rows_[static_cast<std::size_t>(row)].color : std::nullopt;
}

void GridModel::setAlternatingColors(std::optional<QColor> even, std::optional<QColor> odd) {
    evenColor_ = even;
    oddColor_ = odd;
    if (!inBatch() && !rows_.empty() && !columns_.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

std::optional<QColor> GridModel::effectiveRowColor(int row) const {
    if (!validRow(row)) return std::nullopt;
    if (const auto& own = rows_[static_cast<std::size_t>(row)].color) return own;
    return row % 2 == 0 ? evenColor_ : oddColor_;
}

void GridModel::beginBatch() {
    if (batchDepth_++ == 0) beginResetModel();
}

void GridModel::endBatch() {
    if (batchDepth_ == 0) return;
    if (--batchDepth_ == 0) endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !validRow(index.row()) || !validColumn(index.column())) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: return cell(index.row(), index.column());
    case Qt::BackgroundRole:
        if (const auto color = effectiveRowColor(index.row())) return QBrush(*color);
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(columns_[static_cast<std::size_t>(index.column())].alignment | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && validColumn(section)) {
        if (role == Qt::DisplayRole) return columns_[static_cast<std::size_t>(section)].title;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(columns_[static_cast<std::size_t>(section)].alignment | Qt::AlignVCenter);
    }
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && validRow(section)) return section + 1;
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace orv
