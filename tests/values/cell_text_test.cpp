// The Values grid's texts written without strings are the shared formatting's
// texts, character for character.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "ui/values/CellText.h"
#include "util/DateText.h"
#include "util/NumberFormat.h"

namespace orv {
namespace {

TEST(CellText, AmountsMatchFixedTextWithFiveDecimals) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double amounts[] = {0.0,
                              -0.0,
                              5.5,
                              0.000005,    // a tie in decimal, not in binary
                              0.0000049,   // rounds to zero
                              -0.0000049,  // keeps its sign: -0.00000
                              2.675,
                              static_cast<float>(0.1),
                              123456789.123456,
                              -98765.43210987,
                              1e20,
                              static_cast<double>(std::numeric_limits<float>::max()),
                              std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::denorm_min(),
                              nan,
                              -nan,
                              inf,
                              -inf};
    for (const double amount : amounts) {
        char buffer[kCellTextCapacity];
        const std::string fast(buffer, WriteAmountText(amount, buffer));
        EXPECT_EQ(fast, FixedText(amount, 5)) << "amount " << amount << (std::signbit(amount) ? " (negative)" : "");
    }
}

TEST(CellText, DatesAndTimesMatchTheSharedTexts) {
    struct Row {
        uint16_t year, month, day, hour, minute, second;
    };
    const Row rows[] = {
        {2008, 3, 7, 9, 5, 0},       {1970, 1, 1, 0, 0, 0},
        {2038, 12, 31, 23, 59, 59},  {999, 10, 10, 10, 10, 10},
        {65535, 99, 99, 99, 99, 99},  // out of range fields as they come
        {0, 0, 0, 0, 0, 0},          {2024, 100, 250, 120, 300, 65535},
    };
    for (const Row& row : rows) {
        HostDateTime date;
        date.year = row.year;
        date.month = row.month;
        date.day = row.day;
        date.hour = row.hour;
        date.minute = row.minute;
        date.second = row.second;
        char buffer[kCellTextCapacity];
        const std::string day(buffer, WriteDateText(date, buffer));
        EXPECT_EQ(day, FormatDateText(date)) << "year " << row.year << " month " << row.month << " day " << row.day;
        const std::string time(buffer, WriteTimeText(date, buffer));
        EXPECT_EQ(time, FormatTimeText(date)) << "hour " << row.hour << " minute " << row.minute;
    }
}

}  // namespace
}  // namespace orv
