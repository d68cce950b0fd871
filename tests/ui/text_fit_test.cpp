// Shrinking a label's font to fit a fixed tab or button width.

#include "ui/controls/TextFit.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(TextFit, FittingTextKeepsTheFont) {
    QFont base;
    base.setPointSizeF(10);
    EXPECT_EQ(fittedFont(base, "Units", 1000).pointSizeF(), 10);
}

TEST(TextFit, LongTextShrinksUntilItFitsButNotBelowTheFloor) {
    QFont base;
    base.setPointSizeF(10);
    const QString text = "Groups/Items";
    const int wide = QFontMetrics(base).horizontalAdvance(text);
    const QFont fitted = fittedFont(base, text, wide * 8 / 10);
    EXPECT_LT(fitted.pointSizeF(), 10);
    EXPECT_GE(fitted.pointSizeF(), 7);
    if (fitted.pointSizeF() > 7) {
        EXPECT_LE(QFontMetrics(fitted).horizontalAdvance(text), wide * 8 / 10);
    }

    EXPECT_EQ(fittedFont(base, text, 1).pointSizeF(), 7);
    EXPECT_EQ(fittedFont(base, text, 1, 9).pointSizeF(), 9);
}

TEST(TextFit, PixelSizedFontsAreLeftAlone) {
    QFont base;
    base.setPixelSize(14);
    EXPECT_EQ(fittedFont(base, "Groups/Items", 1).pixelSize(), 14);
}

}  // namespace
}  // namespace orv
