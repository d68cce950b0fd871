// The two-colour label of the pages.

#include "support/QtPrinters.h"
#include "ui/controls/ColoredLabel.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(ColoredLabel, MinusOneFallsBackToThePalette) {
    ColoredLabel label;
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(11, 22, 33));
    label.setPalette(palette);
    label.setColors(-1, 0x0000FF);
    EXPECT_EQ(label.firstColor(), QColor(11, 22, 33));
    EXPECT_EQ(label.secondColor(), QColor(255, 0, 0));
}

TEST(ColoredLabel, PaintsAGradientFromFirstToSecondColour) {
    ColoredLabel label;
    label.resize(200, 26);
    label.setColors(0x0000FF, 0xFF0000);  // red to blue
    const QImage image = label.grab().toImage();
    const QColor left = image.pixelColor(0, 13);
    const QColor right = image.pixelColor(199, 13);
    EXPECT_GT(left.red(), 240);
    EXPECT_LT(left.blue(), 15);
    EXPECT_GT(right.blue(), 240);
    EXPECT_LT(right.red(), 15);
}

}  // namespace
}  // namespace orv
