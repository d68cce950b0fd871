// Report periods and their division into the slots of tables and charts.

#include <gtest/gtest.h>

#include "util/ReportPeriod.h"
#include "util/SlotScheme.h"

#include "host/db/SqliteHostDatabase.h"
#include "support/Dates.h"

namespace orv {
namespace {

using test::MakeDate;
using test::Stamp;

class PeriodTest : public ::testing::Test {
protected:
    int32_t Seconds(const HostDateTime& d) {
        int32_t s = 0;
        db->DateToSeconds(&s, &d);
        return s;
    }
    std::string Range() { return Stamp(period.GetStart()) + " - " + Stamp(period.GetEnd()); }
    // The start of `choice` for a period ending on `end`, as the pages get it.
    HostDateTime StartFor(PeriodChoice choice, const HostDateTime& end) {
        period.SetEnd(end);
        period.SetChoice(choice);
        return period.GetStart();
    }

    std::string error;
    // The host's own time scale: civil time without time zone, seconds read unsigned.
    const std::unique_ptr<hostdb::SqliteHostDatabase> host = hostdb::SqliteHostDatabase::Open(":memory:", &error);
    HostDatabase* const db = host.get();
    ReportPeriod period{db};
};
using ReportPeriodTest = PeriodTest;
using SlotSchemeTest = PeriodTest;

// Whole days whatever time of day was picked, across a leap day and a year
// boundary.
TEST_F(ReportPeriodTest, EveryChoiceCoversExactlyItsDays) {
    const char* starts[] = {"02/24/2008", "02/16/2008", "02/01/2008", "01/02/2008", "11/03/2007"};
    const int32_t days[] = {7, 15, 30, 60, 120};
    const HostDateTime ends[] = {MakeDate(2008, 3, 1, 0, 0, 0), MakeDate(2008, 3, 1, 23, 59, 59),
                                 MakeDate(2008, 3, 1, 9, 30, 0)};
    for (PeriodChoice c = 0; c < 5; ++c) {
        period.SetEnd(ends[c % 3]);
        period.SetChoice(c);
        EXPECT_TRUE(period.HasStart() && period.HasEnd());
        EXPECT_EQ(Range(), std::string(starts[c]) + " 00:00:00 - 03/01/2008 23:59:59") << "choice " << c;
        EXPECT_EQ(Seconds(period.GetEnd()) - Seconds(period.GetStart()), days[c] * 86400 - 1);
    }
    period.SetRange(MakeDate(2008, 2, 2, 17, 4, 5), MakeDate(2008, 2, 3, 1, 2, 3));
    EXPECT_EQ(Range(), "02/02/2008 00:00:00 - 02/03/2008 23:59:59");
}

TEST_F(ReportPeriodTest, NoSelectionKeepsRangeAndReadsAll) {
    period.SetEnd(MakeDate(2008, 3, 1));
    period.SetChoice(kPeriod7Days);
    period.SetEnd(MakeDate(2009, 6, 15));
    period.SetChoice(kNoPeriodChoice);
    EXPECT_EQ(std::pair(period.GetChoice(), period.GetPeriodText()), std::pair(-1, std::string("All")));
    EXPECT_EQ(Range(), "02/24/2008 00:00:00 - 06/15/2009 23:59:59");  // SetEnd itself still applies
    period.SetChoice(5);
    EXPECT_EQ(period.GetPeriodText() + " " + Range(), "All 02/24/2008 00:00:00 - 06/15/2009 23:59:59");
}

TEST_F(ReportPeriodTest, UnconvertibleDatesLeaveTheRangeAlone) {
    // Nothing set yet: the zero end date cannot be converted.
    period.SetChoice(kPeriod7Days);
    EXPECT_FALSE(period.HasStart());

    ReportPeriod detached(nullptr);
    detached.SetEnd(MakeDate(2008, 3, 1));
    detached.SetChoice(kPeriod15Days);
    EXPECT_EQ(std::pair(detached.HasStart(), detached.GetPeriodText()),
              std::pair(false, std::string("15 days to 03/01/2008")));
    detached.SetChoice(kPeriod120Days);
    EXPECT_EQ(detached.GetPeriodText(), "120 days to 03/01/2008");
}

TEST(DateText, TwoDigitFieldsAndPlainYear) {
    EXPECT_EQ(FormatDateText(MakeDate(2008, 3, 7)), "03/07/2008");
    EXPECT_EQ(FormatDateText(MakeDate(987, 1, 2)), "01/02/987");
    EXPECT_EQ(FormatTimeText(MakeDate(2008, 1, 1, 7, 3, 9)), "07:03:09");
}

TEST_F(SlotSchemeTest, SevenDayChartBoundaries) {
    const HostDateTime start = StartFor(kPeriod7Days, MakeDate(2008, 3, 1));
    const SlotScheme s = *SlotScheme::ForCharts(kPeriod7Days);
    EXPECT_EQ(s.SlotIndex(db, start, MakeDate(2008, 2, 24, 0, 0, 0)), 0u);
    EXPECT_EQ(s.SlotIndex(db, start, MakeDate(2008, 2, 24, 1, 59, 59)), 0u);
    EXPECT_EQ(s.SlotIndex(db, start, MakeDate(2008, 2, 24, 2, 0, 0)), 1u);
    EXPECT_EQ(s.SlotIndex(db, start, MakeDate(2008, 3, 1, 23, 59, 59)), 83u);
    EXPECT_TRUE(s.Accepts(83));
    EXPECT_FALSE(s.Accepts(s.SlotIndex(db, start, MakeDate(2008, 3, 2, 0, 0, 0))));
    // The hour of the start does not move the slots.
    HostDateTime noon = start;
    noon.hour = 12;
    EXPECT_EQ(s.SlotIndex(db, noon, MakeDate(2008, 2, 24, 2, 0, 0)), 1u);
    // Times before the start are rejected.
    EXPECT_FALSE(s.Accepts(s.SlotIndex(db, start, MakeDate(2008, 2, 23, 23, 59, 59))));
    EXPECT_FALSE(s.Accepts(s.SlotIndexOfSeconds(1000, 999)));
}

TEST_F(SlotSchemeTest, FifteenDayChartReachesIntoTheDayAfterTheEnd) {
    const HostDateTime start = StartFor(kPeriod15Days, MakeDate(2008, 3, 1));
    const SlotScheme s = *SlotScheme::ForCharts(kPeriod15Days);
    EXPECT_EQ(Stamp(start), "02/16/2008 00:00:00");
    EXPECT_EQ(s.SlotIndex(db, start, MakeDate(2008, 3, 1, 23, 59, 59)), 29u);
    EXPECT_EQ(Stamp(s.SlotStart(db, start, 30)), "03/02/2008 00:00:00");
    EXPECT_EQ(Stamp(s.SlotStart(db, start, 31)), "03/02/2008 12:00:00");
    EXPECT_TRUE(s.Accepts(s.SlotIndex(db, start, MakeDate(2008, 3, 2, 23, 59, 59))));
    EXPECT_FALSE(s.Accepts(s.SlotIndex(db, start, MakeDate(2008, 3, 3, 0, 0, 0))));
}

TEST_F(SlotSchemeTest, TableSlotsAreCalendarDays) {
    const HostDateTime end = MakeDate(2008, 3, 1);
    for (PeriodChoice c = 0; c < 5; ++c) {
        const HostDateTime start = StartFor(c, end);
        const SlotScheme s = *SlotScheme::ForTables(c);
        const uint32_t n = static_cast<uint32_t>(s.count());
        EXPECT_EQ(s.SlotIndex(db, start, MakeDate(2008, 3, 1, 23, 59, 59)), n - 1) << "choice " << c;
        EXPECT_EQ(s.SlotIndex(db, start, MakeDate(2008, 3, 2, 0, 0, 0)), n) << "choice " << c;
        EXPECT_FALSE(s.Accepts(n));
        EXPECT_EQ(Stamp(s.SlotStart(db, start, n - 1)), "03/01/2008 00:00:00");
        EXPECT_EQ(Stamp(s.SlotStart(db, start, 0)), Stamp(start));
    }
}

TEST_F(SlotSchemeTest, PeriodAcrossTheSignedSecondsBoundary) {
    // 2038-01-19 03:14:08 is the first second above INT32_MAX; host seconds
    // are unsigned, so slots continue across it.
    const HostDateTime start = StartFor(kPeriod7Days, MakeDate(2038, 1, 20));
    EXPECT_EQ(Stamp(start), "01/14/2038 00:00:00");
    const SlotScheme s = *SlotScheme::ForTables(kPeriod7Days);
    EXPECT_EQ(s.SlotIndex(db, start, MakeDate(2038, 1, 19, 3, 0, 0)), 5u);
    EXPECT_EQ(s.SlotIndex(db, start, MakeDate(2038, 1, 20, 10, 0, 0)), 6u);
    EXPECT_EQ(Stamp(s.SlotStart(db, start, 6)), "01/20/2038 00:00:00");
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
