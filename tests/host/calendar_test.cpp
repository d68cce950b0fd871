// The host's time scale: 86400 seconds a day from 1970-01-01, read unsigned.

#include <gtest/gtest.h>

#include <tuple>

#include "host/db/HostCalendar.h"
#include "tests/support/Dates.h"

namespace orv::hostdb {
namespace {

// A date whose weekday is wrong on purpose: it is ignored on the way in.
HostDateTime Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    HostDateTime d = test::MakeDate(year, month, day, hour, minute, second);
    d.dayOfWeek = 99;
    return d;
}

uint32_t Seconds(const HostDateTime& d) {
    int32_t seconds = -1;
    EXPECT_EQ(HostDateToSeconds(&seconds, &d), 0) << d.year << "-" << d.month << "-" << d.day;
    return static_cast<uint32_t>(seconds);
}

HostDateTime FromSeconds(uint32_t seconds) {
    HostDateTime d;
    EXPECT_EQ(HostSecondsToDate(static_cast<int32_t>(seconds), &d), 0);
    return d;
}

// Fixed anchors at both ends and the middle of the range; with the walk over
// every day, every leap day of the range falls in place.
TEST(HostCalendar, KnownMomentsAndEveryDayOfTheRangeRoundTrip) {
    EXPECT_EQ(Seconds(Date(1970, 1, 1)), 0u);
    EXPECT_EQ(Seconds(Date(2038, 1, 19, 3, 14, 8)), 0x80000000u);
    EXPECT_EQ(Seconds(Date(2106, 2, 7, 6, 28, 15)), 0xFFFFFFFFu);
    const HostDateTime first = FromSeconds(0), last = FromSeconds(0xFFFFFFFFu);
    EXPECT_EQ(std::tuple(first.year, first.month, first.day, first.dayOfWeek), std::tuple(1970, 1, 1, 4));  // Thursday
    EXPECT_EQ(std::tuple(last.year, last.month, last.day, last.dayOfWeek, last.second),
              std::tuple(2106, 2, 7, 0, 15));  // Sunday

    // Every day from 1970 to 2106 at a time of day that changes with the
    // day; the weekday advances by one each day.
    const uint32_t lastDay = 0xFFFFFFFFu / 86400;
    int previousWeekday = 3;
    for (uint32_t day = 0; day <= lastDay; ++day) {
        const uint32_t seconds = day * 86400 + (day * 7919u) % 86400;
        const HostDateTime d = FromSeconds(seconds);
        ASSERT_EQ(Seconds(d), seconds) << "day " << day;
        ASSERT_EQ(d.dayOfWeek, (previousWeekday + 1) % 7) << "day " << day;
        previousWeekday = d.dayOfWeek;
    }
}

TEST(HostCalendar, OutOfRangeFieldsAreRefusedWithoutWriting) {
    const HostDateTime bad[] = {Date(2024, 13, 1),          Date(2024, 0, 1),           Date(2024, 1, 0),
                                Date(2024, 4, 31),          Date(2100, 2, 29),          Date(2024, 1, 1, 24),
                                Date(2024, 1, 1, 0, 60),    Date(2024, 1, 1, 0, 0, 60), Date(1969, 12, 31),
                                Date(2106, 2, 7, 6, 28, 16)};
    for (const HostDateTime& d : bad) {
        int32_t seconds = 777;
        EXPECT_NE(HostDateToSeconds(&seconds, &d), 0) << d.year << "-" << d.month << "-" << d.day << " " << d.hour;
        EXPECT_EQ(seconds, 777);
    }
    EXPECT_NE(HostSecondsToDate(0, nullptr), 0);
}

}  // namespace
}  // namespace orv::hostdb
