// The small controls: bitmap buttons, the coloured tab and label, fitted
// fonts, the date and time pickers, the arrows and wheel of number fields,
// and the block the Charts and Tables pages send each other.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <vector>

#include "resources/Resources.h"
#include "support/QtPrinters.h"
#include "support/ScriptedServices.h"
#include "ui/controls/BitmapButton.h"
#include "ui/controls/ColoredLabel.h"
#include "ui/controls/ColoredTab.h"
#include "ui/controls/DateTimeControl.h"
#include "ui/controls/NumberSpin.h"

namespace orv {
namespace {

// A strip of four or five flat states, each in its own colour.
QPixmap FlatStrip(const std::vector<QColor>& colors) {
    QImage strip(static_cast<int>(colors.size()) * 20, 10, QImage::Format_RGB32);
    for (std::size_t i = 0; i < colors.size(); ++i) {
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < 10; ++y) strip.setPixelColor(static_cast<int>(i) * 20 + x, y, colors[i]);
    }
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
    EXPECT_EQ(image.pixelColor(selected.right() - 5, selected.center().y()), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(other.right() - 5, other.center().y()), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(250, 150), QColor(0, 0, 255));

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
    EXPECT_EQ(second.size(), QSize(4, 4));
    EXPECT_EQ(second.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(second.pixelColor(2, 2), QColor(255, 0, 0));
    EXPECT_EQ(second.pixelColor(1, 2).alpha(), 0);

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
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << "image " << i;
        EXPECT_EQ(image.pixelColor(11, 11).alpha(), 255) << "image " << i;
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
    EXPECT_EQ(control.date(), QDate(2008, 8, 28));
    EXPECT_EQ(changes.count(), 1);

    DateTimeControl time(DateTimeControl::Kind::Time);
    time.setValue(QDate(2008, 8, 27), QTime(23, 0, 0));
    QSignalSpy timeChanges(&time, &DateTimeControl::changed);
    time.setCurrentSection(QDateTimeEdit::MinuteSection);
    time.stepBy(1);
    EXPECT_EQ(time.time(), QTime(23, 1, 0));
    EXPECT_EQ(timeChanges.count(), 1);

    // Fields are kept without time zone and clamped to the host's seconds.
    // 02:30 on a spring daylight-saving day exists in every civil calendar here.
    control.setValue(QDate(2021, 3, 28), QTime(2, 30, 0));
    EXPECT_EQ(control.date(), QDate(2021, 3, 28));
    EXPECT_EQ(control.time(), QTime(2, 30, 0));
    control.setValue(QDateTime(QDate(2008, 3, 30), QTime(2, 15, 0)));
    EXPECT_EQ(control.time(), QTime(2, 15, 0));

    control.setValue(QDate(1960, 1, 1), QTime(8, 0, 0));
    EXPECT_EQ(control.date(), QDate(1970, 1, 1));
    control.setValue(QDate(2200, 1, 1), QTime(8, 0, 0));
    EXPECT_EQ(control.date(), QDate(2106, 2, 7));
    control.setValue(QDate(), QTime());
    EXPECT_EQ(control.date(), QDate(1970, 1, 1));
    EXPECT_EQ(control.time(), QTime(0, 0, 0));
}

struct Input {
    enum Kind { UpKey, DownKey, Wheel, UpArrow, DownArrow } kind;
    int angleDelta = 0;
};

TEST(NumberSpin, ArrowsKeysAndWheelReachTheOwnerAsOptionsSay) {
    test::ScriptedServices services;
    const NumberSpin::Options fieldOnly{.arrowKeys = false, .wheelNeedsFocus = false};
    struct Row {
        const char* name;
        NumberSpin::Options options;
        bool focused;
        Input input;
        std::vector<int> steps;
        std::vector<int> wheel;
    };
    const std::vector<Row> rows = {
        {"up arrow", {}, false, {Input::UpArrow}, {1}, {}},
        {"down arrow", {}, false, {Input::DownArrow}, {-1}, {}},
        {"Up key", {}, true, {Input::UpKey}, {1}, {}},
        {"Down key", {}, true, {Input::DownKey}, {-1}, {}},
        {"keys off", fieldOnly, true, {Input::UpKey}, {}, {}},
        {"wheel on the focused field", {}, true, {Input::Wheel, 240}, {}, {240}},
        {"wheel on an unfocused field", {}, false, {Input::Wheel, 240}, {}, {}},
        {"wheel without focus allowed", fieldOnly, false, {Input::Wheel, -120}, {}, {-120}},
    };
    for (const Row& row : rows) {
        QWidget window;
        auto* field = new QLineEdit(&window);
        auto* other = new QLineEdit(&window);
        std::vector<int> steps;
        std::vector<int> wheel;
        auto* spin = new NumberSpin(
            field, [&](int n) { steps.push_back(n); }, [&](int delta) { wheel.push_back(delta); }, row.options,
            &window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        layout->addWidget(spin);
        window.show();
        QApplication::setActiveWindow(&window);
        (row.focused ? field : other)->setFocus();
        ASSERT_EQ(field->hasFocus(), row.focused) << row.name;

        switch (row.input.kind) {
        case Input::UpKey: QTest::keyClick(field, Qt::Key_Up); break;
        case Input::DownKey: QTest::keyClick(field, Qt::Key_Down); break;
        case Input::UpArrow: QTest::mouseClick(spin->upButton(), Qt::LeftButton); break;
        case Input::DownArrow: QTest::mouseClick(spin->downButton(), Qt::LeftButton); break;
        case Input::Wheel: {
            QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, row.input.angleDelta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(field, &event);
            break;
        }
        }
        EXPECT_EQ(steps, row.steps) << row.name;
        EXPECT_EQ(wheel, row.wheel) << row.name;
    }
}

}  // namespace
}  // namespace orv
