#include "util/ReportPeriod.h"

#include <gtest/gtest.h>

#include "support/Dates.h"
#include "util/FakeHostDatabase.h"

namespace orv {
namespace {

using test::MakeDate;
using test::Stamp;

class ReportPeriodTest : public ::testing::Test {
protected:
    int32_t Seconds(const HostDateTime& d) {
        int32_t s = 0;
        db.DateToSeconds(&s, &d);
        return s;
    }

    test::FakeHostDatabase db;
    ReportPeriod period{&db};
};

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
        EXPECT_EQ(Stamp(period.GetStart()), std::string(starts[c]) + " 00:00:00") << "choice " << c;
        EXPECT_EQ(Stamp(period.GetEnd()), "03/01/2008 23:59:59");
        EXPECT_EQ(Seconds(period.GetEnd()) - Seconds(period.GetStart()), days[c] * 86400 - 1);
    }
    period.SetRange(MakeDate(2008, 2, 2, 17, 4, 5), MakeDate(2008, 2, 3, 1, 2, 3));
    EXPECT_EQ(Stamp(period.GetStart()), "02/02/2008 00:00:00");
    EXPECT_EQ(Stamp(period.GetEnd()), "02/03/2008 23:59:59");
}

TEST_F(ReportPeriodTest, NoSelectionKeepsRangeAndReadsAll) {
    period.SetEnd(MakeDate(2008, 3, 1));
    period.SetChoice(kPeriod7Days);
    period.SetEnd(MakeDate(2009, 6, 15));
    period.SetChoice(kNoPeriodChoice);
    EXPECT_EQ(period.GetChoice(), -1);
    EXPECT_EQ(period.GetPeriodText(), "All");
    EXPECT_EQ(Stamp(period.GetStart()), "02/24/2008 00:00:00");
    EXPECT_EQ(Stamp(period.GetEnd()), "06/15/2009 23:59:59");  // SetEnd itself still applies
    period.SetChoice(5);
    EXPECT_EQ(period.GetPeriodText(), "All");
    EXPECT_EQ(Stamp(period.GetStart()), "02/24/2008 00:00:00");
}

TEST_F(ReportPeriodTest, UnconvertibleDatesLeaveTheRangeAlone) {
    // Nothing set yet: the zero end date cannot be converted.
    period.SetChoice(kPeriod7Days);
    EXPECT_FALSE(period.HasStart());

    ReportPeriod detached(nullptr);
    detached.SetEnd(MakeDate(2008, 3, 1));
    detached.SetChoice(kPeriod15Days);
    EXPECT_FALSE(detached.HasStart());
    EXPECT_EQ(detached.GetPeriodText(), "15 days to 03/01/2008");
    detached.SetChoice(kPeriod120Days);
    EXPECT_EQ(detached.GetPeriodText(), "120 days to 03/01/2008");
}

TEST(DateText, TwoDigitFieldsAndPlainYear) {
    EXPECT_EQ(FormatDateText(MakeDate(2008, 3, 7)), "03/07/2008");
    EXPECT_EQ(FormatDateText(MakeDate(987, 1, 2)), "01/02/987");
    EXPECT_EQ(FormatTimeText(MakeDate(2008, 1, 1, 7, 3, 9)), "07:03:09");
}

}  // namespace
}  // namespace orv
