// Owner-drawn buttons with the module's bitmap faces.

#include "resources/Resources.h"
#include "support/QtPrinters.h"
#include "ui/controls/BitmapButton.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace orv {
namespace {

// A strip of four or five flat states, each in its own colour.
QPixmap flatStrip(const std::vector<QColor>& colors) {
    QImage strip(static_cast<int>(colors.size()) * 20, 10, QImage::Format_RGB32);
    for (std::size_t i = 0; i < colors.size(); ++i) {
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < 10; ++y) strip.setPixelColor(static_cast<int>(i) * 20 + x, y, colors[i]);
    }
    return QPixmap::fromImage(strip);
}

QColor middlePixel(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    return image.pixelColor(3, image.height() / 2);
}

TEST(BitmapButton, ModuleFacesLoadAndStateFollowsTheButton) {
    BitmapButton push("New");  // both module faces load
    EXPECT_TRUE(push.hasFace());
    EXPECT_FALSE(push.isCheckable());
    BitmapButton button("Last 10 Values", BitmapButton::Face::Check);
    EXPECT_TRUE(button.hasFace());
    EXPECT_EQ(button.state(), BitmapButton::State::Normal);
    button.click();
    EXPECT_TRUE(button.isChecked());
    EXPECT_EQ(button.state(), BitmapButton::State::Checked);
    button.setDown(true);
    EXPECT_EQ(button.state(), BitmapButton::State::Pressed);
    button.setDown(false);
    button.setEnabled(false);
    EXPECT_EQ(button.state(), BitmapButton::State::Disabled);
}

TEST(BitmapButton, PaintsTheFaceOfItsState) {
    const QColor normal(200, 0, 0), hot(0, 200, 0), pressed(0, 0, 200), disabled(90, 90, 90);
    BitmapButton button("OK");
    button.resize(100, 26);
    button.setFace(flatStrip({normal, hot, pressed, disabled}), 4, QMargins(2, 2, 2, 2), QMargins());
    EXPECT_EQ(middlePixel(button), normal);
    button.setDown(true);
    EXPECT_EQ(middlePixel(button), pressed);
    button.setDown(false);
    button.setEnabled(false);
    EXPECT_EQ(middlePixel(button), disabled);

    // A four-state face shows a checked button as pressed.
    button.setEnabled(true);
    button.setCheckable(true);
    button.setChecked(true);
    EXPECT_EQ(middlePixel(button), pressed);
    const QColor checked(250, 250, 0);
    button.setFace(flatStrip({normal, hot, pressed, disabled, checked}), 5, QMargins(2, 2, 2, 2), QMargins());
    EXPECT_EQ(middlePixel(button), checked);
}

TEST(BitmapButton, UnusableFaceFallsBackToTheStyle) {
    BitmapButton button("Edit");
    button.setFace(QPixmap(), 4, QMargins(), QMargins());
    EXPECT_FALSE(button.hasFace());
    button.setFace(flatStrip({Qt::red, Qt::green, Qt::blue}), 3, QMargins(), QMargins());
    EXPECT_FALSE(button.hasFace());
    button.resize(100, 26);
    EXPECT_FALSE(button.grab().isNull());  // drawn by the style without a face
    QSignalSpy clicks(&button, &QPushButton::clicked);
    button.click();
    EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
}  // namespace orv
