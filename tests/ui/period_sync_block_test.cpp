// The block the Charts and Tables pages send each other.

#include "ui/PeriodSyncBlock.h"

#include <gtest/gtest.h>

#include <cstring>

#include "util/DateText.h"

namespace orv {
namespace {

TEST(PeriodSyncBlock, WordsAndDateConversion) {
    PeriodSyncBlock block;
    block.periodIndex = 3;
    block.targetIndex = 7;
    block.date.wYear = 2008;
    block.date.wMonth = 8;
    block.date.wDayOfWeek = 3;
    block.date.wDay = 27;
    block.date.wHour = 14;
    block.date.wMinute = 5;
    block.date.wSecond = 9;
    block.date.wMilliseconds = 500;
    int32_t words[6];
    std::memcpy(words, &block, sizeof words);
    EXPECT_EQ(words[0], 3);
    EXPECT_EQ(words[5], 7);
    EXPECT_EQ(words[1], 2008 | (8 << 16));  // wYear, wMonth on little-endian

    const HostDateTime d = ToHostDateTime(block.date);
    EXPECT_EQ(FormatDateText(d) + " " + FormatTimeText(d), "08/27/2008 14:05:09");
    EXPECT_EQ(d.dayOfWeek, 3);
    const SystemTime back = ToSystemTime(d);
    EXPECT_EQ(back.wDay, 27);
    EXPECT_EQ(back.wDayOfWeek, 3);
    EXPECT_EQ(back.wMilliseconds, 0);  // milliseconds are dropped
}

}  // namespace
}  // namespace orv
