#pragma once
// The read-only grid of the pages: rows of text cells under titled columns.
//
// Model/view based (GridModel behind a QTableView), so no widget exists per
// cell and 100,000 rows fill quickly when redraw is off while filling:
//
//   grid->setRedraw(false);
//   grid->deleteAllRows();
//   for (...) { int row = grid->addRow(); grid->setCell(row, "Date", text); ... }
//   grid->setRedraw(true);
//   grid->selectRow(0);
//
// Rows are selected whole, one at a time. Enter (or a double-click) on a row
// raises editRequested; the context menu offers "Add Row\tIns",
// "Delete Row\tDel" and "Edit Row\tEnter", which raise addRowRequested,
// deleteRowRequested and editRequested. The grid never changes its rows on
// its own: the owner decides what a request does.

#include <QColor>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QMenu;
class QTableView;

namespace orv {

class GridModel;
class GridTableView;

class Grid : public QWidget {
    Q_OBJECT

public:
    explicit Grid(QWidget* parent = nullptr);
    ~Grid() override;

    // Columns, left to right; the index of the new column.
    int addColumn(const QString& title, int width, Qt::Alignment alignment = Qt::AlignLeft);
    int columnCount() const;
    QString columnTitle(int column) const;
    // -1 when no column has that title.
    int columnIndex(const QString& title) const;
    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);

    // Appends an empty row and returns its index.
    int addRow();
    // Cells made on demand from each row's number: the owner appends rows
    // with appendRows and texts are made only for the cells that are drawn
    // or read, so a grid of 100,000 rows fills at the cost of its numbers.
    // setCell then refuses; a null source returns to stored texts.
    void setCellSource(std::function<QString(int number, int column)> source);
    void appendRows(const std::vector<int>& numbers);
    int rowCount() const;
    // False (and nothing changes) for a row or column that does not exist.
    bool setCell(int row, const QString& columnTitle, const QString& text);
    bool setCell(int row, int column, const QString& text);
    QString cell(int row, const QString& columnTitle) const;
    QString cell(int row, int column) const;
    bool deleteRow(int row);
    void deleteAllRows();

    // Redraw off stops all drawing and per-row notifications until the
    // matching redraw on; calls nest. Selecting a row while redraw is off
    // takes effect when it is turned on again.
    void setRedraw(bool on);
    bool isRedrawOn() const;

    // The selected row, or -1 when none is.
    int currentRow() const;
    // Selects the row, makes it current and scrolls to it; false (and the
    // selection cleared) for a row that does not exist.
    bool selectRow(int row);
    void clearSelection();

    // A number the owner remembers with a row (a record id, a slot index);
    // 0 until set, 0 for a row that does not exist.
    bool setRowNumber(int row, int number);
    int rowNumber(int row) const;
    // The first row remembering number, or -1.
    int findRowByNumber(int number) const;

    // Background colours as Win32 values (0x00BBGGRR); -1 means the default.
    bool setRowColor(int row, int colorRef);
    // Rows without their own colour alternate: even rows (0, 2, ...) get the
    // first colour, odd rows the second; -1, -1 returns to the view's default.
    void setAlternatingRowColors(int evenColorRef, int oddColorRef);
    // The colour a row is painted with, when it has one.
    std::optional<QColor> rowBackground(int row) const;

    QAction* addRowAction() const { return addAction_; }
    QAction* deleteRowAction() const { return deleteAction_; }
    QAction* editRowAction() const { return editAction_; }
    QMenu* contextMenu() const { return menu_; }
    QTableView* view() const;

Q_SIGNALS:
    void editRequested(int row);
    void addRowRequested();
    void deleteRowRequested(int row);
    // The selected row changed, by the user or by selectRow (-1: none).
    void currentRowChanged(int row);

private:
    void showContextMenu(const QPoint& position);
    void updateActions();
    void reportCurrentRow();
    void restoreColumnWidths();

    GridModel* model_ = nullptr;
    GridTableView* view_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* addAction_ = nullptr;
    QAction* deleteAction_ = nullptr;
    QAction* editAction_ = nullptr;
    std::vector<int> widths_;
    std::optional<int> pendingSelection_;
    int reportedRow_ = -1;
};

}  // namespace orv
