// The grid as the pages use it: cells by column title, the selected row, the
// edit request on Enter, the context menu and its keys, row colours and the
// number remembered with each row.

#include "ui/controls/Grid.h"
#include "support/QtPrinters.h"
#include "support/WidgetDriver.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>

#include <gtest/gtest.h>

namespace orv {
namespace {

class GridTest : public ::testing::Test {
protected:
    GridTest() {
        grid.resize(400, 300);
        grid.addColumn("Date", 70);
        grid.addColumn("Item Name", 100);
        grid.addColumn("Value", 70, Qt::AlignRight);
    }

    void addRows(int count) {
        for (int i = 0; i < count; ++i) {
            const int row = grid.addRow();
            grid.setCell(row, "Item Name", QString("item %1").arg(i));
            grid.setRowNumber(row, 100 + i);
        }
    }

    Grid grid;
};

TEST_F(GridTest, CellsAreAddressedByColumnTitle) {
    const int row = grid.addRow();
    EXPECT_EQ(row, 0);
    EXPECT_TRUE(grid.setCell(row, "Value", "5.50000"));
    EXPECT_TRUE(grid.setCell(row, 0, "08/27/2008"));
    EXPECT_EQ(grid.cell(row, "Value"), "5.50000");
    EXPECT_EQ(grid.cell(row, "Date"), "08/27/2008");
    EXPECT_EQ(grid.columnIndex("Value"), 2);
    EXPECT_EQ(grid.columnIndex("value"), -1);  // titles compare exactly

    // Unknown columns and rows change nothing.
    EXPECT_FALSE(grid.setCell(row, "Notes", "x"));
    EXPECT_FALSE(grid.setCell(1, "Value", "x"));
    EXPECT_FALSE(grid.setCell(-1, 0, "x"));
    EXPECT_EQ(grid.cell(5, "Value"), "");
    EXPECT_EQ(grid.rowCount(), 1);
}

TEST_F(GridTest, DeletingRowsMovesLaterRowsUpWithTheirNumbers) {
    addRows(3);
    EXPECT_TRUE(grid.deleteRow(1));
    ASSERT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.cell(1, "Item Name"), "item 2");
    EXPECT_EQ(grid.rowNumber(1), 102);
    EXPECT_EQ(grid.findRowByNumber(102), 1);
    EXPECT_EQ(grid.findRowByNumber(101), -1);
    EXPECT_FALSE(grid.deleteRow(2));
    EXPECT_FALSE(grid.deleteRow(-1));

    grid.deleteAllRows();
    EXPECT_EQ(grid.rowCount(), 0);
    EXPECT_EQ(grid.rowNumber(0), 0);
    EXPECT_FALSE(grid.setRowNumber(0, 7));
}

TEST_F(GridTest, CurrentRowIsNegativeWhenNoneIsSelected) {
    EXPECT_LT(grid.currentRow(), 0);
    EXPECT_FALSE(grid.selectRow(0));  // empty grid
    addRows(4);
    EXPECT_LT(grid.currentRow(), 0);  // rows alone select nothing

    EXPECT_TRUE(grid.selectRow(2));
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_FALSE(grid.selectRow(4));
    EXPECT_LT(grid.currentRow(), 0);  // a failed selection clears it

    grid.selectRow(3);
    grid.deleteRow(3);  // the selected row goes away
    EXPECT_LT(grid.currentRow(), 0);

    grid.selectRow(1);
    grid.clearSelection();
    EXPECT_LT(grid.currentRow(), 0);
}

TEST_F(GridTest, CurrentRowChangesAreReported) {
    addRows(3);
    QSignalSpy spy(&grid, &Grid::currentRowChanged);
    grid.selectRow(1);
    grid.selectRow(1);  // no change, no report
    grid.deleteAllRows();
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1);
    EXPECT_EQ(spy.at(1).at(0).toInt(), -1);
}

TEST_F(GridTest, EnterRaisesOneEditRequestForTheCurrentRow) {
    addRows(3);
    QSignalSpy edits(&grid, &Grid::editRequested);
    test::pressKey(grid.view(), Qt::Key_Return);  // nothing selected yet
    EXPECT_EQ(edits.count(), 0);

    grid.selectRow(2);
    test::pressKey(grid.view(), Qt::Key_Return);
    ASSERT_EQ(edits.count(), 1);
    EXPECT_EQ(edits.at(0).at(0).toInt(), 2);

    test::pressKey(grid.view(), Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(edits.count(), 2);
    EXPECT_EQ(edits.at(1).at(0).toInt(), 2);
}

TEST_F(GridTest, InsAndDelRaiseAddAndDeleteRequestsWithoutChangingRows) {
    addRows(2);
    QSignalSpy adds(&grid, &Grid::addRowRequested);
    QSignalSpy deletes(&grid, &Grid::deleteRowRequested);

    test::pressKey(grid.view(), Qt::Key_Delete);  // no row selected: nothing to delete
    EXPECT_EQ(deletes.count(), 0);
    EXPECT_FALSE(grid.deleteRowAction()->isEnabled());
    EXPECT_FALSE(grid.editRowAction()->isEnabled());

    test::pressKey(grid.view(), Qt::Key_Insert);
    EXPECT_EQ(adds.count(), 1);

    grid.selectRow(1);
    EXPECT_TRUE(grid.deleteRowAction()->isEnabled());
    test::pressKey(grid.view(), Qt::Key_Delete);
    ASSERT_EQ(deletes.count(), 1);
    EXPECT_EQ(deletes.at(0).at(0).toInt(), 1);
    EXPECT_EQ(grid.rowCount(), 2);  // the owner decides what a request does
}

TEST_F(GridTest, MenuItemsActOnTheRowThatWasRightClicked) {
    addRows(3);
    grid.show();
    QSignalSpy edits(&grid, &Grid::editRequested);
    const QPoint onRow1 = grid.view()->visualRect(grid.view()->model()->index(1, 0)).center();
    Q_EMIT grid.view()->customContextMenuRequested(onRow1);
    EXPECT_EQ(grid.currentRow(), 1);
    EXPECT_TRUE(grid.contextMenu()->isVisible());
    grid.editRowAction()->trigger();
    grid.contextMenu()->hide();
    ASSERT_EQ(edits.count(), 1);
    EXPECT_EQ(edits.at(0).at(0).toInt(), 1);
}

TEST_F(GridTest, RedrawOffDefersNotificationsAndKeepsSelectionAndWidths) {
    addRows(2);
    grid.selectRow(0);
    grid.setColumnWidth(1, 140);
    QSignalSpy resets(grid.view()->model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(grid.view()->model(), &QAbstractItemModel::rowsInserted);

    grid.setRedraw(false);
    grid.setRedraw(false);  // nested
    grid.deleteAllRows();
    addRows(5);
    EXPECT_TRUE(grid.selectRow(3));
    EXPECT_EQ(grid.currentRow(), 3);
    grid.setRedraw(true);
    EXPECT_FALSE(grid.isRedrawOn());
    EXPECT_EQ(resets.count(), 0);
    grid.setRedraw(true);

    EXPECT_TRUE(grid.isRedrawOn());
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(grid.view()->model()->rowCount(), 5);
    EXPECT_EQ(grid.currentRow(), 3);
    EXPECT_EQ(grid.view()->selectionModel()->currentIndex().row(), 3);
    EXPECT_EQ(grid.cell(4, "Item Name"), "item 4");
    EXPECT_EQ(grid.view()->columnWidth(0), 70);  // column widths survive the refill
    EXPECT_EQ(grid.view()->columnWidth(1), 140);

    grid.setRedraw(true);  // an unmatched "on" is harmless
    EXPECT_TRUE(grid.isRedrawOn());
}

TEST_F(GridTest, AlternatingAndOwnRowColoursArePaintedAndMinusOneFallsBack) {
    addRows(3);
    grid.setAlternatingRowColors(0xF0F0F0, 0x00E6E6E6);
    grid.setRowColor(2, 0xFF8000);  // blue 0xFF, green 0x80, red 0x00
    grid.setRowColor(1, 0x0000FF);
    grid.setRowColor(1, -1);  // back to the alternating colour
    grid.show();
    const QImage image = grid.view()->viewport()->grab().toImage();
    auto pixelOfRow = [&](int row) {
        const QRect cell = grid.view()->visualRect(grid.view()->model()->index(row, 0));
        return image.pixelColor(cell.right() - 3, cell.center().y());
    };
    EXPECT_EQ(pixelOfRow(0), QColor(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(pixelOfRow(1), QColor(0xE6, 0xE6, 0xE6));
    EXPECT_EQ(pixelOfRow(2), QColor(0x00, 0x80, 0xFF));
}

TEST_F(GridTest, ACellSourceMakesOnlyTheTextsThatAreDrawnOrRead) {
    int made = 0;
    grid.setCellSource([&](int number, int column) {
        ++made;
        return QString("%1:%2").arg(number).arg(column);
    });
    std::vector<int> numbers(10000);
    for (int i = 0; i < 10000; ++i) numbers[static_cast<std::size_t>(i)] = 500 + i;
    grid.appendRows(numbers);
    grid.show();
    grid.grab();
    EXPECT_GT(made, 0) << "the visible rows are drawn";
    EXPECT_LT(made, 1000) << "30,000 cells, only a screenful made";

    EXPECT_EQ(grid.rowCount(), 10000);
    EXPECT_EQ(grid.cell(9999, "Value"), "10499:2");
    EXPECT_FALSE(grid.setCell(0, "Value", "x")) << "texts come from the source only";
    // Deleting a row moves the later rows up with their numbers and texts.
    ASSERT_TRUE(grid.deleteRow(0));
    EXPECT_EQ(grid.cell(0, "Date"), "501:0");
    EXPECT_EQ(grid.findRowByNumber(502), 1);

    grid.setCellSource(nullptr);
    EXPECT_TRUE(grid.cell(0, "Date").isEmpty());
    EXPECT_TRUE(grid.setCell(0, "Date", "stored"));
    EXPECT_EQ(grid.cell(0, "Date"), "stored");
}

}  // namespace
}  // namespace orv
