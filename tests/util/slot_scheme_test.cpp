#include "util/SlotScheme.h"

#include <gtest/gtest.h>

#include "support/Dates.h"
#include "util/FakeHostDatabase.h"

namespace orv {
namespace {

using test::MakeDate;
using test::Stamp;

class SlotSchemeTest : public ::testing::Test {
protected:
    // The start of `choice` for a period ending on `end`, as the pages get it.
    HostDateTime StartFor(PeriodChoice choice, const HostDateTime& end) {
        ReportPeriod period(&db);
        period.SetEnd(end);
        period.SetChoice(choice);
        return period.GetStart();
    }

    test::FakeHostDatabase db;
};

TEST_F(SlotSchemeTest, SevenDayChartBoundaries) {
    const HostDateTime start = StartFor(kPeriod7Days, MakeDate(2008, 3, 1));
    const SlotScheme s = *SlotScheme::ForCharts(kPeriod7Days);
    EXPECT_EQ(s.SlotIndex(&db, start, MakeDate(2008, 2, 24, 0, 0, 0)), 0u);
    EXPECT_EQ(s.SlotIndex(&db, start, MakeDate(2008, 2, 24, 1, 59, 59)), 0u);
    EXPECT_EQ(s.SlotIndex(&db, start, MakeDate(2008, 2, 24, 2, 0, 0)), 1u);
    EXPECT_EQ(s.SlotIndex(&db, start, MakeDate(2008, 3, 1, 23, 59, 59)), 83u);
    EXPECT_TRUE(s.Accepts(83));
    EXPECT_FALSE(s.Accepts(s.SlotIndex(&db, start, MakeDate(2008, 3, 2, 0, 0, 0))));
    // The hour of the start does not move the slots.
    HostDateTime noon = start;
    noon.hour = 12;
    EXPECT_EQ(s.SlotIndex(&db, noon, MakeDate(2008, 2, 24, 2, 0, 0)), 1u);
    // Times before the start are rejected.
    EXPECT_FALSE(s.Accepts(s.SlotIndex(&db, start, MakeDate(2008, 2, 23, 23, 59, 59))));
    EXPECT_FALSE(s.Accepts(s.SlotIndexOfSeconds(1000, 999)));
}

TEST_F(SlotSchemeTest, FifteenDayChartReachesIntoTheDayAfterTheEnd) {
    const HostDateTime start = StartFor(kPeriod15Days, MakeDate(2008, 3, 1));
    const SlotScheme s = *SlotScheme::ForCharts(kPeriod15Days);
    EXPECT_EQ(Stamp(start), "02/16/2008 00:00:00");
    EXPECT_EQ(s.SlotIndex(&db, start, MakeDate(2008, 3, 1, 23, 59, 59)), 29u);
    EXPECT_EQ(Stamp(s.SlotStart(&db, start, 30)), "03/02/2008 00:00:00");
    EXPECT_EQ(Stamp(s.SlotStart(&db, start, 31)), "03/02/2008 12:00:00");
    EXPECT_TRUE(s.Accepts(s.SlotIndex(&db, start, MakeDate(2008, 3, 2, 23, 59, 59))));
    EXPECT_FALSE(s.Accepts(s.SlotIndex(&db, start, MakeDate(2008, 3, 3, 0, 0, 0))));
}

TEST_F(SlotSchemeTest, TableSlotsAreCalendarDays) {
    const HostDateTime end = MakeDate(2008, 3, 1);
    for (PeriodChoice c = 0; c < 5; ++c) {
        const HostDateTime start = StartFor(c, end);
        const SlotScheme s = *SlotScheme::ForTables(c);
        const uint32_t n = static_cast<uint32_t>(s.count());
        EXPECT_EQ(s.SlotIndex(&db, start, MakeDate(2008, 3, 1, 23, 59, 59)), n - 1) << "choice " << c;
        EXPECT_EQ(s.SlotIndex(&db, start, MakeDate(2008, 3, 2, 0, 0, 0)), n) << "choice " << c;
        EXPECT_FALSE(s.Accepts(n));
        EXPECT_EQ(Stamp(s.SlotStart(&db, start, n - 1)), "03/01/2008 00:00:00");
        EXPECT_EQ(Stamp(s.SlotStart(&db, start, 0)), Stamp(start));
    }
}

TEST_F(SlotSchemeTest, PeriodAcrossTheSignedSecondsBoundary) {
    // 2038-01-19 03:14:08 is the first second above INT32_MAX; host seconds
    // are unsigned, so slots continue across it.
    const HostDateTime start = StartFor(kPeriod7Days, MakeDate(2038, 1, 20));
    EXPECT_EQ(Stamp(start), "01/14/2038 00:00:00");
    const SlotScheme s = *SlotScheme::ForTables(kPeriod7Days);
    EXPECT_EQ(s.SlotIndex(&db, start, MakeDate(2038, 1, 19, 3, 0, 0)), 5u);
    EXPECT_EQ(s.SlotIndex(&db, start, MakeDate(2038, 1, 20, 10, 0, 0)), 6u);
    EXPECT_EQ(Stamp(s.SlotStart(&db, start, 6)), "01/20/2038 00:00:00");
}

TEST_F(SlotSchemeTest, WithoutADatabaseNothingIsPlaced) {
    const SlotScheme s = *SlotScheme::ForTables(kPeriod7Days);
    const HostDateTime start = MakeDate(2008, 3, 1);
    EXPECT_FALSE(s.Accepts(s.SlotIndex(nullptr, start, start)));
    EXPECT_EQ(s.SlotStart(nullptr, start, 0).year, 0);
    EXPECT_FALSE(SlotScheme(0, 5).Accepts(SlotScheme(0, 5).SlotIndexOfSeconds(0, 10)));
    // Choices outside the five periods have no scheme.
    EXPECT_FALSE(SlotScheme::ForCharts(-1));
    EXPECT_FALSE(SlotScheme::ForCharts(5));
    EXPECT_FALSE(SlotScheme::ForTables(5));
}

}  // namespace
}  // namespace orv
