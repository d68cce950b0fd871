// The coloured tab control: colour pairs with the -1 fallback to the
// palette, the image list cut from a strip, and tabs that name their pages.

#include "resources/Resources.h"
#include "support/QtPrinters.h"
#include "ui/controls/ColoredTab.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTabBar>

#include <gtest/gtest.h>

#include <memory>

namespace orv {
namespace {

QPalette knownPalette() {
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(10, 20, 30));
    palette.setColor(QPalette::WindowText, QColor(40, 50, 60));
    palette.setColor(QPalette::ButtonText, QColor(70, 80, 90));
    return palette;
}

TEST(ColoredTab, MinusOneFallsBackToThePalette) {
    ColoredTab tab;
    tab.setPalette(knownPalette());
    tab.setFirstColors(-1, -1);
    tab.setSecondColors(-1, -1);
    tab.setBackgroundColor(-1);
    EXPECT_EQ(tab.firstBackground(), QColor(10, 20, 30));
    EXPECT_EQ(tab.firstText(), QColor(40, 50, 60));
    EXPECT_EQ(tab.secondBackground(), QColor(10, 20, 30));
    EXPECT_EQ(tab.secondText(), QColor(70, 80, 90));
    EXPECT_EQ(tab.background(), QColor(10, 20, 30));

    // A palette change afterwards is followed.
    QPalette other = knownPalette();
    other.setColor(QPalette::Button, QColor(1, 2, 3));
    tab.setPalette(other);
    EXPECT_EQ(tab.background(), QColor(1, 2, 3));

    // Only the -1 colour of a pair follows the palette; the other is a Win32 value.
    tab.setFirstColors(0x00C0FF, -1);
    EXPECT_EQ(tab.firstBackground(), QColor(0xFF, 0xC0, 0x00));
    EXPECT_EQ(tab.firstText(), QColor(40, 50, 60));
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
    EXPECT_TRUE(tab.image(0).isNull());
}

TEST(ColoredTab, ModuleTabStripGivesSevenMaskedImages) {
    ColoredTab tab;
    tab.setImageStrip(LoadBitmap(bitmap::TabImages), QSize(kTabImageSize, kTabImageSize));
    ASSERT_EQ(tab.imageCount(), kTabImageCount);
    for (int i = 0; i < tab.imageCount(); ++i) {
        const QImage image = tab.image(i).toImage();
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << "image " << i;
        EXPECT_EQ(image.pixelColor(11, 11).alpha(), 255) << "image " << i << " has nothing drawn in its middle";
    }
}

}  // namespace
}  // namespace orv
