// The in-place property list: fixed cells, editable number cells and the
// "<< Click here to add a new item >>" row.

#include "support/QtPrinters.h"
#include "support/WidgetDriver.h"
#include "ui/controls/PropertyList.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace orv {
namespace {

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

TEST_F(PropertyListTest, OnlyNumberCellsAreEditable) {
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_FALSE(list.isEditable(0, 0));
    EXPECT_TRUE(list.isEditable(0, 1));
    EXPECT_FALSE(list.isEditable(0, 2));
    EXPECT_FALSE(list.editCell(0, 0));
    EXPECT_FALSE(list.table()->item(0, 0)->flags() & Qt::ItemIsEditable);
}

TEST_F(PropertyListTest, NumberCellsShowTheRequestedPrecision) {
    list.setNumber(0, 1, 1234.5678, 6);
    EXPECT_EQ(list.cellText(0, 1), "1234.57");
    list.setNumber(0, 1, 0.001);
    EXPECT_EQ(list.cellText(0, 1), "0.001");
    EXPECT_FALSE(list.setNumber(5, 1, 1.0));
}

TEST_F(PropertyListTest, ACellHoldsANumberOnlyWhenItsTextReadsAsOne) {
    list.setCellText(0, 1, " 2.5\t");
    EXPECT_EQ(list.number(0, 1), 2.5);
    list.setCellText(0, 1, "abc");
    EXPECT_EQ(list.number(0, 1), std::nullopt);
    EXPECT_EQ(list.number(7, 1), std::nullopt);

    for (const auto& [text, value] : std::initializer_list<std::pair<const char*, double>>{
             {"-.5", -0.5}, {"+3.", 3.0}, {"1e3", 1000.0}, {"0", 0.0}})
        EXPECT_EQ(PropertyList::parseNumber(text), value) << text;
    for (const char* text : {"", "  ", "1,5", "1.5x", "inf", "nan", "0x10", "1e", ".", "--1", "1e999"})
        EXPECT_EQ(PropertyList::parseNumber(text), std::nullopt) << '"' << text << '"';
}

TEST_F(PropertyListTest, TypingOnARowEditsItsNumberCell) {
    list.show();
    QSignalSpy edited(&list, &PropertyList::cellEdited);
    list.selectRow(1);
    list.table()->setCurrentCell(1, 0);  // a fixed cell is current
    QTest::keyClick(list.table(), Qt::Key_7);
    auto* editor = list.table()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "5");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the delegate commits from a queued call

    EXPECT_EQ(list.cellText(1, 1), "75");
    EXPECT_EQ(list.number(1, 1), 75.0);
    EXPECT_EQ(list.cellText(1, 0), "Energy");
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited.at(0).at(0).toInt(), 1);
    EXPECT_EQ(edited.at(0).at(1).toInt(), 1);
}

TEST_F(PropertyListTest, FillingReportsNoEdits) {
    QSignalSpy edited(&list, &PropertyList::cellEdited);
    const int row = list.addRow({"Fat", "", "g"});
    list.setNumber(row, 1, 3.0);
    list.clearRows();
    EXPECT_EQ(edited.count(), 0);
    EXPECT_EQ(list.rowCount(), 0);
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
}

TEST(PropertyList, AddRowAskedForBeforeTheColumnsAppearsWithThem) {
    PropertyList list;
    list.setAddRowShown(true);
    EXPECT_EQ(list.table()->rowCount(), 0);
    list.setAddRowShown(false);  // nothing placed, nothing removed
    list.setAddRowShown(true);
    list.setColumns({{"Target", 200, Qt::AlignLeft}});
    EXPECT_EQ(list.rowCount(), 0);
    ASSERT_EQ(list.table()->rowCount(), 1);
    EXPECT_EQ(list.table()->item(0, 0)->text(), PropertyList::addRowText());
}

}  // namespace
}  // namespace orv
