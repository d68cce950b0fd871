#pragma once
// The grid's data: column titles and widths, and per row its cell texts, a
// remembered number and an optional background colour. Cells are plain
// strings in one flat array, so filling 100,000 rows costs no more than the
// strings themselves.
//
// Batches: between beginBatch() and endBatch() rows and cells change without
// any per-change signal; the views are told once, by a model reset, when the
// outermost batch ends. That is the grid's "redraw off" and "redraw on".

#include <QAbstractTableModel>
#include <QColor>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace orv {

class GridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit GridModel(QObject* parent = nullptr);

    int addColumn(const QString& title, Qt::Alignment alignment);
    int columnIndex(const QString& title) const;
    QString columnTitle(int column) const;

    // Cells made on demand: with a source set, a cell's text is
    // source(row number, column) whenever the view or cell() asks, rows keep
    // no texts of their own, and setCell refuses. Null returns to stored texts.
    using CellSource = std::function<QString(int number, int column)>;
    void setCellSource(CellSource source);
    bool hasCellSource() const { return static_cast<bool>(source_); }

    int appendRow();
    // Appends one row per number, remembering it; for a cell source.
    void appendRows(const std::vector<int>& numbers);
    bool removeRowAt(int row);
    void removeAllRows();
    bool setCell(int row, int column, const QString& text);
    QString cell(int row, int column) const;

    bool setRowNumber(int row, int number);
    int rowNumber(int row) const;
    int findRowByNumber(int number) const;
    bool setRowColor(int row, std::optional<QColor> color);
    std::optional<QColor> rowColor(int row) const;
    // Rows without a colour of their own alternate between even and odd
    // (row 0 is even); nothing turns alternation off.
    void setAlternatingColors(std::optional<QColor> even, std::optional<QColor> odd);
    // The background a row is drawn with; nothing for the view's default.
    std::optional<QColor> effectiveRowColor(int row) const;

    void beginBatch();
    void endBatch();
    bool inBatch() const { return batchDepth_ > 0; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct RowInfo {
        int number = 0;
        std::optional<QColor> color;
    };
    struct Column {
        QString title;
        Qt::Alignment alignment;
    };

    bool validRow(int row) const { return row >= 0 && row < static_cast<int>(rows_.size()); }
    bool validColumn(int column) const { return column >= 0 && column < static_cast<int>(columns_.size()); }

    std::vector<Column> columns_;
    std::vector<RowInfo> rows_;
    std::vector<QString> cells_;  // row-major, columns_.size() per row; empty with a source
    CellSource source_;
    std::optional<QColor> evenColor_;
    std::optional<QColor> oddColor_;
    int batchDepth_ = 0;
};

}  // namespace orv
