// The small controls: bitmap buttons, the date and time pickers, the arrows
// and wheel of number fields.
//
// The grid as the pages use it: cells by column title, the selected row, the
// edit request on Enter, the context menu and its keys and the number
// remembered with each row. The in-place property list: fixed cells,
// editable number cells and the "<< Click here to add a new item >>" row.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <optional>
#include <tuple>
#include <vector>

#include "support/QtPrinters.h"
#include "support/ScriptedServices.h"
#include "support/WidgetDriver.h"
#include "ui/controls/BitmapButton.h"
#include "ui/controls/DateTimeControl.h"
#include "ui/controls/Grid.h"
#include "ui/controls/NumberSpin.h"
#include "ui/controls/PropertyList.h"

namespace orv {
namespace {

TEST(BitmapButton, ModuleFacesLoadAndAnUnusableFaceFallsBackToTheStyle) {
    EXPECT_TRUE(BitmapButton("New").hasFace());
    EXPECT_TRUE(BitmapButton("Last 10 Values", BitmapButton::Face::Check).hasFace());
    BitmapButton button("Edit");
    button.setFace(QPixmap(), 4, QMargins(), QMargins());
    EXPECT_FALSE(button.hasFace());
    QPixmap threeStates(60, 10);  // a face needs at least four states
    threeStates.fill(Qt::red);
    button.setFace(threeStates, 3, QMargins(), QMargins());
    EXPECT_FALSE(button.hasFace());
}

TEST(DateTimeControl, OnlyTheUsersChangesAreReportedAndFieldsAreKeptAndClamped) {
    DateTimeControl control;
    QSignalSpy changes(&control, &DateTimeControl::changed);
    control.setValue(QDate(2008, 8, 27), QTime(23, 0, 0));
    EXPECT_EQ(changes.count(), 0);

    control.setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(&control, Qt::Key_Up);
    EXPECT_EQ(std::pair(control.date(), changes.count()), std::pair(QDate(2008, 8, 28), qsizetype{1}));

    DateTimeControl time(DateTimeControl::Kind::Time);
    time.setValue(QDate(2008, 8, 27), QTime(23, 0, 0));
    QSignalSpy timeChanges(&time, &DateTimeControl::changed);
    time.setCurrentSection(QDateTimeEdit::MinuteSection);
    time.stepBy(1);
    EXPECT_EQ(std::pair(time.time(), timeChanges.count()), std::pair(QTime(23, 1, 0), qsizetype{1}));

    // Fields are kept without time zone and clamped to the host's seconds.
    // 02:30 on a spring daylight-saving day exists in every civil calendar here.
    control.setValue(QDateTime(QDate(2008, 3, 30), QTime(2, 15, 0)));
    EXPECT_EQ(control.time(), QTime(2, 15, 0));
    for (const auto& [date, time, expected] :
         {std::tuple{QDate(2021, 3, 28), QTime(2, 30), QDateTime(QDate(2021, 3, 28), QTime(2, 30))},
          std::tuple{QDate(1960, 1, 1), QTime(8, 0), QDateTime(QDate(1970, 1, 1), QTime(0, 0))},
          std::tuple{QDate(2200, 1, 1), QTime(8, 0), QDateTime(QDate(2106, 2, 7), QTime(6, 28, 15))},
          std::tuple{QDate(), QTime(), QDateTime(QDate(1970, 1, 1), QTime(0, 0))}}) {
        control.setValue(date, time);
        EXPECT_EQ(QDateTime(control.date(), control.time()), expected) << date.toString(Qt::ISODate).toStdString();
    }
}

struct Input {
    enum Kind { UpKey, DownKey, Wheel, UpArrow, DownArrow } kind;
    int angleDelta = 0;
};

TEST(NumberSpin, ArrowsKeysAndWheelReachTheOwnerAsOptionsSay) {
    test::ScriptedServices services;
    const NumberSpin::Options fieldOnly{.arrowKeys = false, .wheelNeedsFocus = false};
    // Case, options, whether the field has the focus, input, steps and wheel
    // turns the owner receives.
    const std::tuple<const char*, NumberSpin::Options, bool, Input, std::vector<int>, std::vector<int>> rows[] = {
        {"up arrow", {}, false, {Input::UpArrow}, {1}, {}},
        {"down arrow", {}, false, {Input::DownArrow}, {-1}, {}},
        {"Up key", {}, true, {Input::UpKey}, {1}, {}},
        {"Down key", {}, true, {Input::DownKey}, {-1}, {}},
        {"keys off", fieldOnly, true, {Input::UpKey}, {}, {}},
        {"wheel on the focused field", {}, true, {Input::Wheel, 240}, {}, {240}},
        {"wheel on an unfocused field", {}, false, {Input::Wheel, 240}, {}, {}},
        {"wheel without focus allowed", fieldOnly, false, {Input::Wheel, -120}, {}, {-120}},
    };
    for (const auto& [name, options, focused, input, expectedSteps, expectedWheel] : rows) {
        QWidget window;
        auto* field = new QLineEdit(&window);
        auto* other = new QLineEdit(&window);
        std::vector<int> steps;
        std::vector<int> wheel;
        auto* spin = new NumberSpin(
            field, [&](int n) { steps.push_back(n); }, [&](int delta) { wheel.push_back(delta); }, options, &window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        layout->addWidget(spin);
        window.show();
        QApplication::setActiveWindow(&window);
        (focused ? field : other)->setFocus();
        ASSERT_EQ(field->hasFocus(), focused) << name;

        switch (input.kind) {
        case Input::UpKey: QTest::keyClick(field, Qt::Key_Up); break;
        case Input::DownKey: QTest::keyClick(field, Qt::Key_Down); break;
        case Input::UpArrow: QTest::mouseClick(spin->upButton(), Qt::LeftButton); break;
        case Input::DownArrow: QTest::mouseClick(spin->downButton(), Qt::LeftButton); break;
        case Input::Wheel: {
            QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, input.angleDelta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(field, &event);
            break;
        }
        }
        EXPECT_EQ(std::pair(steps, wheel), std::pair(expectedSteps, expectedWheel)) << name;
    }
}

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

TEST_F(GridTest, KeysAndMenuItemsRaiseRequestsForTheirRowWithoutChangingRows) {
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
    EXPECT_EQ(Firsts(deletes), std::vector<int>{2});
    EXPECT_EQ(grid.rowCount(), 3);  // the owner decides what a request does

    // The context menu's items act on the row that was right-clicked.
    grid.show();
    const QPoint onRow1 = grid.view()->visualRect(grid.view()->model()->index(1, 0)).center();
    Q_EMIT grid.view()->customContextMenuRequested(onRow1);
    EXPECT_EQ(grid.currentRow(), 1);
    EXPECT_TRUE(grid.contextMenu()->isVisible());
    grid.editRowAction()->trigger();
    grid.contextMenu()->hide();
    EXPECT_EQ(Firsts(edits), (std::vector<int>{2, 2, 1}));
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

    EXPECT_EQ(std::tuple(list.cellText(1, 0), list.cellText(1, 1), list.number(1, 1)),
              std::tuple(QString("Energy"), QString("75"), std::optional(75.0)));
    EXPECT_EQ(edited, (QList<QVariantList>{{1, 1}}));
}

TEST_F(PropertyListTest, AddRowStaysLastAndAsksForANewItem) {
    QSignalSpy requests(&list, &PropertyList::addItemRequested);
    list.setAddRowShown(true);
    EXPECT_EQ(std::pair(list.rowCount(), list.table()->rowCount()), std::pair(2, 3));

    EXPECT_EQ(list.addRow({"Fat", "", "g"}), 2);
    EXPECT_EQ(list.table()->item(3, 0)->text(), "<< Click here to add a new item >>");

    Q_EMIT list.table()->cellClicked(3, 0);
    EXPECT_EQ(requests.count(), 1);
    Q_EMIT list.table()->cellClicked(1, 0);  // a property row asks nothing
    EXPECT_EQ(requests.count(), 1);

    list.table()->setCurrentCell(3, 0);
    QTest::keyClick(list.table(), Qt::Key_Return);
    // The add row is not a property row.
    EXPECT_EQ(std::pair(requests.count(), list.currentRow()), std::pair(qsizetype{2}, -1));

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
