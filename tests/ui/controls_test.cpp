// The small controls: bitmap buttons, the coloured tab and label, the date
// and time pickers, the arrows and wheel of number fields.
//
// The grid as the pages use it: cells by column title, the selected row, the
// edit request on Enter, the context menu and its keys, row colours and the
// number remembered with each row. The in-place property list: fixed cells,
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

#include "resources/Resources.h"
#include "support/QtPrinters.h"
#include "support/ScriptedServices.h"
#include "support/WidgetDriver.h"
#include "ui/controls/BitmapButton.h"
#include "ui/controls/ColoredLabel.h"
#include "ui/controls/ColoredTab.h"
#include "ui/controls/DateTimeControl.h"
#include "ui/controls/Grid.h"
#include "ui/controls/NumberSpin.h"
#include "ui/controls/PropertyList.h"

namespace orv {
namespace {

// A strip of four or five flat states, each in its own colour.
QPixmap FlatStrip(const std::vector<QColor>& colors) {
    QImage strip(static_cast<int>(colors.size()) * 20, 10, QImage::Format_RGB32);
    for (int x = 0; x < strip.width(); ++x)
        for (int y = 0; y < 10; ++y) strip.setPixelColor(x, y, colors[static_cast<std::size_t>(x / 20)]);
    return QPixmap::fromImage(strip);
}

QColor MiddlePixel(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    return image.pixelColor(3, image.height() / 2);
}

TEST(BitmapButton, PaintsTheFaceOfItsState) {
    const QColor normal(200, 0, 0), hot(0, 200, 0), pressed(0, 0, 200), disabled(90, 90, 90);
    BitmapButton button("OK");
    button.resize(100, 26);
    button.setFace(FlatStrip({normal, hot, pressed, disabled}), 4, QMargins(2, 2, 2, 2), QMargins());
    EXPECT_EQ(MiddlePixel(button), normal);
    button.setDown(true);
    EXPECT_EQ(MiddlePixel(button), pressed);
    button.setDown(false);
    button.setEnabled(false);
    EXPECT_EQ(MiddlePixel(button), disabled);

    // A four-state face shows a checked button as pressed.
    button.setEnabled(true);
    button.setCheckable(true);
    button.setChecked(true);
    EXPECT_EQ(MiddlePixel(button), pressed);
    const QColor checked(250, 250, 0);
    button.setFace(FlatStrip({normal, hot, pressed, disabled, checked}), 5, QMargins(2, 2, 2, 2), QMargins());
    EXPECT_EQ(MiddlePixel(button), checked);
}

TEST(BitmapButton, ModuleFacesLoadAndAnUnusableFaceFallsBackToTheStyle) {
    EXPECT_TRUE(BitmapButton("New").hasFace());
    EXPECT_TRUE(BitmapButton("Last 10 Values", BitmapButton::Face::Check).hasFace());
    BitmapButton button("Edit");
    button.setFace(QPixmap(), 4, QMargins(), QMargins());
    EXPECT_FALSE(button.hasFace());
    button.setFace(FlatStrip({Qt::red, Qt::green, Qt::blue}), 3, QMargins(), QMargins());
    EXPECT_FALSE(button.hasFace());
}

TEST(ColoredTab, SelectedTabOthersAndBackgroundArePaintedInTheirColours) {
    ColoredTab tab;
    tab.resize(500, 200);
    tab.setItemSize(QSize(100, 36));
    QWidget first, second;
    tab.addTab("Values", -1, &first);
    tab.addTab("Charts", -1, &second);
    tab.setFirstColors(0x0000FF, 0x000000);   // red
    tab.setSecondColors(0x00FF00, 0x323232);  // green
    tab.setBackgroundColor(0xFF0000);         // blue
    tab.setCurrentIndex(0);
    tab.show();

    const QImage image = tab.grab().toImage();
    // Near the right edge of each tab, away from text and borders.
    const QRect selected = tab.itemRect(0);
    const QRect other = tab.itemRect(1);
    EXPECT_EQ((std::vector{image.pixelColor(selected.right() - 5, selected.center().y()),
                           image.pixelColor(other.right() - 5, other.center().y()), image.pixelColor(250, 150)}),
              (std::vector<QColor>{Qt::red, Qt::green, Qt::blue}));

    tab.setCurrentIndex(1);
    const QImage after = tab.grab().toImage();
    EXPECT_EQ(after.pixelColor(other.right() - 5, other.center().y()), QColor(255, 0, 0));
}

TEST(ColoredTab, ImageStripIsCutWithTheTopLeftPixelAsMask) {
    // Three 4x4 images on a green key colour, each with one red pixel.
    QImage strip(12, 4, QImage::Format_RGB32);
    strip.fill(QColor(0, 255, 0));
    for (int i = 0; i < 3; ++i) strip.setPixelColor(i * 4 + 1 + i % 2, 2, QColor(255, 0, 0));

    ColoredTab tab;
    tab.setImageStrip(QPixmap::fromImage(strip), QSize(4, 4));
    ASSERT_EQ(tab.imageCount(), 3);
    const QImage second = tab.image(1).toImage();
    EXPECT_EQ(std::tuple(second.size(), second.pixelColor(0, 0).alpha(), second.pixelColor(2, 2),
                         second.pixelColor(1, 2).alpha()),
              std::tuple(QSize(4, 4), 0, QColor(255, 0, 0), 0));

    // A new strip replaces the images; a strip too small for one image gives none.
    tab.setImageStrip(QPixmap::fromImage(strip.copy(0, 0, 8, 4)), QSize(4, 4));
    EXPECT_EQ(tab.imageCount(), 2);
    tab.setImageStrip(QPixmap::fromImage(strip.copy(0, 0, 3, 4)), QSize(4, 4));
    EXPECT_EQ(tab.imageCount(), 0);

    // The module's own strip: every image masked at its corner, drawn in its middle.
    tab.setImageStrip(LoadBitmap(bitmap::TabImages), QSize(kTabImageSize, kTabImageSize));
    ASSERT_EQ(tab.imageCount(), kTabImageCount);
    for (int i = 0; i < tab.imageCount(); ++i) {
        const QImage image = tab.image(i).toImage();
        EXPECT_EQ(std::pair(image.pixelColor(0, 0).alpha(), image.pixelColor(11, 11).alpha()), std::pair(0, 255))
            << "image " << i;
    }
}

TEST(ColoredLabel, PaintsAGradientFromFirstToSecondColour) {
    ColoredLabel label;
    label.resize(200, 26);
    label.setColors(0x0000FF, 0xFF0000);  // red to blue
    const QImage image = label.grab().toImage();
    EXPECT_GT(image.pixelColor(0, 13).red(), 240);
    EXPECT_LT(image.pixelColor(0, 13).blue(), 15);
    EXPECT_GT(image.pixelColor(199, 13).blue(), 240);
    EXPECT_LT(image.pixelColor(199, 13).red(), 15);
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
    EXPECT_EQ(std::tuple(grid.view()->model()->rowCount(), grid.view()->selectionModel()->currentIndex().row(),
                         grid.view()->columnWidth(1)),
              std::tuple(5, 3, 140));
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
