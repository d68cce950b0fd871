// The grid as the pages use it: cells by column title, the selected row, the
// edit request on Enter, the context menu and its keys, row colours and the
// number remembered with each row.
//
// The in-place property list: fixed cells, editable number cells and the
// "<< Click here to add a new item >>" row.

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <optional>
#include <vector>

#include "support/QtPrinters.h"
#include "support/WidgetDriver.h"
#include "ui/controls/Grid.h"
#include "ui/controls/PropertyList.h"

namespace orv {
namespace {

// The first argument of every signal the spy caught, in order.
std::vector<int> Firsts(const QSignalSpy& spy) {
    std::vector<int> firsts;
    for (const QList<QVariant>& arguments : spy) firsts.push_back(arguments.at(0).toInt());
    return firsts;
}

class GridTest : public ::testing::Test {
protected:
    GridTest() {
        grid.resize(400, 300);
        grid.addColumn("Date", 70);
        grid.addColumn("Item Name", 100);
        grid.addColumn("Value", 70, Qt::AlignRight);
    }

    void AddRows(int count) {
        for (int i = 0; i < count; ++i) {
            const int row = grid.addRow();
            grid.setCell(row, "Item Name", QString("item %1").arg(i));
            grid.setRowNumber(row, 100 + i);
        }
    }

    Grid grid;
};

TEST_F(GridTest, CurrentRowIsNegativeWhenNoneIsSelectedAndChangesAreReported) {
    AddRows(4);
    QSignalSpy spy(&grid, &Grid::currentRowChanged);
    EXPECT_LT(grid.currentRow(), 0);  // rows alone select nothing
    EXPECT_TRUE(grid.selectRow(2));
    grid.selectRow(2);  // no change, no report
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_FALSE(grid.selectRow(4));
    EXPECT_LT(grid.currentRow(), 0);  // a failed selection clears it
    grid.selectRow(3);
    grid.deleteRow(3);  // the selected row goes away
    EXPECT_LT(grid.currentRow(), 0);
    EXPECT_EQ(Firsts(spy), (std::vector<int>{2, -1, 3, -1}));
}

TEST_F(GridTest, EnterInsAndDelRaiseRequestsForTheCurrentRowWithoutChangingRows) {
    AddRows(3);
    QSignalSpy edits(&grid, &Grid::editRequested);
    QSignalSpy adds(&grid, &Grid::addRowRequested);
    QSignalSpy deletes(&grid, &Grid::deleteRowRequested);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Delete}) test::PressKey(grid.view(), key);  // none selected
    EXPECT_EQ(edits.count() + deletes.count(), 0);
    EXPECT_FALSE(grid.deleteRowAction()->isEnabled());
    EXPECT_FALSE(grid.editRowAction()->isEnabled());
    test::PressKey(grid.view(), Qt::Key_Insert);
    EXPECT_EQ(adds.count(), 1);

    grid.selectRow(2);
    EXPECT_TRUE(grid.deleteRowAction()->isEnabled());
    test::PressKey(grid.view(), Qt::Key_Return);
    test::PressKey(grid.view(), Qt::Key_Enter, Qt::KeypadModifier);
    test::PressKey(grid.view(), Qt::Key_Delete);
    EXPECT_EQ(Firsts(edits), (std::vector<int>{2, 2}));
    EXPECT_EQ(Firsts(deletes), std::vector<int>{2});
    EXPECT_EQ(grid.rowCount(), 3);  // the owner decides what a request does
}

TEST_F(GridTest, MenuItemsActOnTheRowThatWasRightClicked) {
    AddRows(3);
    grid.show();
    QSignalSpy edits(&grid, &Grid::editRequested);
    const QPoint onRow1 = grid.view()->visualRect(grid.view()->model()->index(1, 0)).center();
    Q_EMIT grid.view()->customContextMenuRequested(onRow1);
    EXPECT_EQ(grid.currentRow(), 1);
    EXPECT_TRUE(grid.contextMenu()->isVisible());
    grid.editRowAction()->trigger();
    grid.contextMenu()->hide();
    EXPECT_EQ(Firsts(edits), std::vector<int>{1});
}

TEST_F(GridTest, RedrawOffDefersTheRefillAndKeepsSelectionAndWidths) {
    AddRows(2);
    grid.setColumnWidth(1, 140);
    QSignalSpy resets(grid.view()->model(), &QAbstractItemModel::modelReset);
    grid.setRedraw(false);
    grid.setRedraw(false);  // nested
    grid.deleteAllRows();
    AddRows(5);
    EXPECT_TRUE(grid.selectRow(3));
    grid.setRedraw(true);
    EXPECT_EQ(resets.count(), 0);
    grid.setRedraw(true);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(grid.view()->model()->rowCount(), 5);
    EXPECT_EQ(grid.view()->selectionModel()->currentIndex().row(), 3);
    EXPECT_EQ(grid.view()->columnWidth(1), 140);
    grid.setRedraw(true);  // an unmatched "on" is harmless
    EXPECT_TRUE(grid.isRedrawOn());
}

TEST_F(GridTest, AlternatingAndOwnRowColoursArePaintedAndMinusOneFallsBack) {
    AddRows(3);
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
}

class PropertyListTest : public ::testing::Test {
protected:
    PropertyListTest() {
        list.resize(300, 200);
        list.setColumns({{"Item", 120, Qt::AlignLeft}, {"Value", 60, Qt::AlignRight}, {"Unit", 75, Qt::AlignLeft}});
        for (const auto& [name, amount, unit] :
             {std::tuple{"Carbohydrate", 12.5, "g"}, std::tuple{"Energy", 250.0, "kcal"}}) {
            const int row = list.addRow({name, QString(), unit});
            list.setNumber(row, 1, amount);
        }
    }

    PropertyList list;
};

TEST_F(PropertyListTest, OnlyNumberCellsAreEditableAndHoldNumbers) {
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ((std::vector{list.isEditable(0, 0), list.isEditable(0, 1), list.isEditable(0, 2)}),
              (std::vector{false, true, false}));
    EXPECT_FALSE(list.editCell(0, 0));
    list.setNumber(0, 1, 1234.5678, 6);
    EXPECT_EQ(list.cellText(0, 1), "1234.57");
    list.setCellText(0, 1, " 2.5\t");
    EXPECT_EQ(list.number(0, 1), 2.5);
    list.setCellText(0, 1, "abc");
    EXPECT_EQ(list.number(0, 1), std::nullopt);
    EXPECT_EQ(PropertyList::parseNumber("1e3"), 1000.0);
    for (const char* text : {"", "1,5", "1.5x", "inf", "nan", "0x10", "1e", ".", "1e999"})
        EXPECT_EQ(PropertyList::parseNumber(text), std::nullopt) << '"' << text << '"';
}

TEST_F(PropertyListTest, TypingOnARowEditsItsNumberCell) {
    list.show();
    QSignalSpy edited(&list, &PropertyList::cellEdited);
    list.setNumber(list.addRow({"Fat", "", "g"}), 1, 3.0);  // filling reports no edit
    list.selectRow(1);
    list.table()->setCurrentCell(1, 0);  // a fixed cell is current
    QTest::keyClick(list.table(), Qt::Key_7);
    auto* editor = list.table()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "5");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the delegate commits from a queued call

    EXPECT_EQ(std::pair(list.cellText(1, 1), list.number(1, 1)), std::pair(QString("75"), std::optional(75.0)));
    EXPECT_EQ(list.cellText(1, 0), "Energy");
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited.at(0), (QVariantList{1, 1}));
}

TEST_F(PropertyListTest, AddRowStaysLastAndAsksForANewItem) {
    QSignalSpy requests(&list, &PropertyList::addItemRequested);
    list.setAddRowShown(true);
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.table()->rowCount(), 3);

    EXPECT_EQ(list.addRow({"Fat", "", "g"}), 2);
    EXPECT_EQ(list.table()->item(3, 0)->text(), "<< Click here to add a new item >>");

    Q_EMIT list.table()->cellClicked(3, 0);
    EXPECT_EQ(requests.count(), 1);
    Q_EMIT list.table()->cellClicked(1, 0);  // a property row asks nothing
    EXPECT_EQ(requests.count(), 1);

    list.table()->setCurrentCell(3, 0);
    QTest::keyClick(list.table(), Qt::Key_Return);
    EXPECT_EQ(requests.count(), 2);
    EXPECT_EQ(list.currentRow(), -1);  // the add row is not a property row

    list.clearRows();
    EXPECT_EQ(list.table()->rowCount(), 1);
    list.setAddRowShown(false);
    EXPECT_EQ(list.table()->rowCount(), 0);

    // Asked for before the columns, it appears with them.
    PropertyList early;
    early.setAddRowShown(true);
    EXPECT_EQ(early.table()->rowCount(), 0);
    early.setColumns({{"Target", 200, Qt::AlignLeft}});
    ASSERT_EQ(early.table()->rowCount(), 1);
    EXPECT_EQ(early.table()->item(0, 0)->text(), PropertyList::addRowText());
}

}  // namespace
}  // namespace orv
