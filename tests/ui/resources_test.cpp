// The module's compiled-in resources.

#include "resources/Resources.h"
#include "support/QtPrinters.h"

#include <QImage>

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Resources, UnknownNumbersGiveNothing) {
    EXPECT_TRUE(LoadBitmap(0).isNull());
    EXPECT_TRUE(LoadBitmap(364).isNull());
    EXPECT_TRUE(LoadResourceString(4).isEmpty());
}

}  // namespace
}  // namespace orv
