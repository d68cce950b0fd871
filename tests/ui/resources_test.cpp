// The module's compiled-in resources.

#include "resources/Resources.h"
#include "support/QtPrinters.h"

#include <QImage>

#include <gtest/gtest.h>

namespace orv {
namespace {

const QColor kMagenta(0xFF, 0x00, 0xFF);

TEST(Resources, IconsHaveTheirSizesAndAMagentaBackground) {
    const QImage large = LoadBitmap(bitmap::LargeIcon).toImage();
    const QImage small = LoadBitmap(bitmap::SmallIcon).toImage();
    ASSERT_EQ(large.size(), QSize(32, 32));
    ASSERT_EQ(small.size(), QSize(16, 16));
    for (const QImage* icon : {&large, &small}) {
        const int last = icon->width() - 1;
        EXPECT_EQ(icon->pixelColor(0, 0), kMagenta);
        EXPECT_EQ(icon->pixelColor(last, last), kMagenta);
        EXPECT_NE(icon->pixelColor(last / 2, last / 2), kMagenta);
        EXPECT_EQ(icon->pixelColor(last / 2, last / 2).alpha(), 255);
    }
}

TEST(Resources, ButtonFacesHoldTheirStates) {
    EXPECT_EQ(LoadBitmap(bitmap::ButtonFace).size(),
              QSize(kButtonFaceSize.width() * kButtonFaceStates, kButtonFaceSize.height()));
    EXPECT_EQ(LoadBitmap(bitmap::CheckButtonFace).size(),
              QSize(kButtonFaceSize.width() * kCheckButtonFaceStates, kButtonFaceSize.height()));
}

TEST(Resources, UnknownNumbersGiveNothing) {
    EXPECT_TRUE(LoadBitmap(0).isNull());
    EXPECT_TRUE(LoadBitmap(364).isNull());
    EXPECT_TRUE(LoadResourceString(4).isEmpty());
}

TEST(Resources, StringTable) {
    EXPECT_EQ(LoadResourceString(resource_string::Title), "ORV");
    EXPECT_EQ(LoadResourceString(resource_string::Description), "ORV ORV Plugin");
    EXPECT_EQ(LoadResourceString(resource_string::Version), "1.9");
}

}  // namespace
}  // namespace orv
