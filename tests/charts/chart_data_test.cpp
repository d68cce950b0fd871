// The chart data on a real SQLite host database, without any window: slot
// labels per period, sums and averages per slot, the average of all values,
// point texts; and the value-axis fitting of the chart window.
//
// The choice of labelled slots under a chart's time axis: a function of the
// label widths and the space, no display.

#include <vector>

#include "charts/ChartsTestSupport.h"
#include "host/db/StarterData.h"
#include "ui/charts/ChartData.h"
#include "ui/controls/AxisLabels.h"
#include "ui/controls/ChartView.h"

namespace orv {
namespace {

namespace st = hostdb::starter;

class ChartDataTest : public test::ChartsFixture {
protected:
    // The data for a period of `choice` ending on 2008-08-27.
    ChartData Build(PeriodChoice choice, int32_t target) {
        Cache().LoadAll(&Db());
        ReportPeriod period(&Db());
        period.SetEnd(Date(8, 27, 15, 30));
        period.SetChoice(choice);
        ChartData data;
        EXPECT_TRUE(data.SetPeriodChoice(choice));
        data.SetTarget(target);
        data.Rebuild(Cache(), &Db(), period.GetStart());
        return data;
    }

    static const std::vector<ChartPoint>& Points(const ChartData& data) { return data.series()[0].points; }
};

TEST_F(ChartDataTest, AxisLabelsFollowThePeriod) {
    const ChartData week = Build(kPeriod7Days, 0);
    ASSERT_EQ(week.labels().size(), 84u);
    EXPECT_EQ(week.labelInterval(), 12);
    EXPECT_EQ(week.labels()[0], "08/21/2008");
    EXPECT_EQ(week.labels()[72], "08/27/2008");

    const ChartData half = Build(kPeriod15Days, 0);
    ASSERT_EQ(half.labels().size(), 32u);
    // Half-day slots: the hour between, a date on every fourth day.
    EXPECT_EQ(half.labels()[0], "08/13/2008");
    EXPECT_EQ(half.labels()[1], "12:00");
    EXPECT_EQ(half.labels()[2], "");
    EXPECT_EQ(half.labels()[8], "08/17/2008");
    // The axis runs one day past the end day.
    EXPECT_EQ(half.PointText(&Db(), 0, 31, true), "(08/28/2008.12:00:00-08/29/2008.00:00:00)");
    EXPECT_EQ(half.PointText(&Db(), 0, 32, true), "") << "past the last slot";
    EXPECT_TRUE(half.average().empty()) << "no target, no average";
}

TEST_F(ChartDataTest, SumTargetAddsEachSlotAndAveragesAllProducts) {
    Seed(st::kInsulinGroup, st::kRapidInsulin, 3.0, Date(8, 27, 9, 0));
    Seed(st::kInsulinGroup, st::kRapidInsulin, 4.0, Date(8, 27, 9, 30));
    Seed(st::kInsulinGroup, st::kLongInsulin, 2.0, Date(8, 27, 23, 0));
    Seed(st::kInsulinGroup, st::kRapidInsulin, 9.0, Date(8, 28, 0, 0));        // after the last slot
    Seed(st::kInsulinGroup, st::kRapidInsulin, 9.0, Date(8, 20, 23, 59, 59));  // before the first
    Seed(st::kInsulinGroup, st::kRapidInsulin, 1.0, Date(8, 21, 1, 59, 59));
    Seed(st::kInsulinGroup, st::kRapidInsulin, 5.0, Date(8, 21, 2, 0));

    const ChartData data = Build(kPeriod7Days, st::kInsulinTarget);
    EXPECT_EQ(data.kind(), ChartKind::Bars);
    const std::vector<ChartPoint>& points = Points(data);
    ASSERT_EQ(points.size(), 84u);
    EXPECT_DOUBLE_EQ(points[76].value, 7.0);  // 08:00 to 10:00 of the end day
    EXPECT_DOUBLE_EQ(points[0].value, 1.0);
    EXPECT_DOUBLE_EQ(points[1].value, 5.0);
    ASSERT_EQ(data.average().size(), 1u);
    EXPECT_DOUBLE_EQ(data.average()[0], 3.0);

    // The same values in one-day slots.
    const ChartData longer = Build(kPeriod60Days, st::kInsulinTarget);
    EXPECT_DOUBLE_EQ(Points(longer)[59].value, 9.0);
    EXPECT_DOUBLE_EQ(Points(longer)[53].value, 6.0);
    EXPECT_DOUBLE_EQ(Points(longer)[52].value, 9.0) << "the day before the week is in the 60 days";
}

TEST_F(ChartDataTest, AverageTargetAveragesEachSlot) {
    Seed(st::kBloodGlucoseGroup, st::kFasting, 2.0, Date(8, 26, 7, 0));
    Seed(st::kBloodGlucoseGroup, st::kBeforeMeal, 4.0, Date(8, 26, 7, 45));
    Seed(st::kBloodGlucoseGroup, st::kBedtime, 6.0, Date(8, 26, 22, 0));
    const ChartData data = Build(kPeriod30Days, st::kBloodGlucoseTarget);
    EXPECT_EQ(data.kind(), ChartKind::Line);
    const std::vector<ChartPoint>& points = Points(data);
    ASSERT_EQ(points.size(), 60u);
    EXPECT_DOUBLE_EQ(points[56].value, 3.0);
    EXPECT_DOUBLE_EQ(points[57].value, 6.0);
    EXPECT_DOUBLE_EQ(points[55].value, 0.0) << "a slot without values is no division by zero";
    ASSERT_EQ(data.average().size(), 1u);
    EXPECT_DOUBLE_EQ(data.average()[0], 4.0);
}

TEST_F(ChartDataTest, UnknownTargetOrPeriodKeepsTheChartEmptyOrAsItWas) {
    Seed(st::kInsulinGroup, st::kRapidInsulin, 3.0, Date(8, 27, 9, 0));
    ChartData data = Build(kPeriod7Days, 4711);
    for (const ChartPoint& p : Points(data)) EXPECT_EQ(p.count, 0);
    EXPECT_TRUE(data.average().empty());

    EXPECT_FALSE(data.SetPeriodChoice(kNoPeriodChoice));
    EXPECT_FALSE(data.SetPeriodChoice(5));

    // A start the host cannot convert: empty labels, nothing counted.
    data.SetTarget(st::kInsulinTarget);
    data.Rebuild(Cache(), &Db(), HostDateTime{0, 0, 0, 31, 2, 2008, 0});
    EXPECT_EQ(data.labels().size(), 84u);
    EXPECT_EQ(data.labels()[0], "");
    EXPECT_TRUE(data.average().empty());
}

TEST(ChartViewAxis, FitsTheCountedPoints) {
    using V = ChartView;
    // Nothing counted: a top below the bottom and the step 1.
    const V::Axis empty = V::ScaleAxis(V::Kind::Bars, {{50.0, 0}});
    EXPECT_DOUBLE_EQ(empty.top, -0.21);
    EXPECT_DOUBLE_EQ(empty.step, 1.0);

    const V::Axis bars = V::ScaleAxis(V::Kind::Bars, {{40.0, 1}, {1000.0, 0}, {100.0, 2}});
    EXPECT_DOUBLE_EQ(bars.top, 105.0);
    EXPECT_DOUBLE_EQ(bars.step, 20.0);

    const V::Axis line = V::ScaleAxis(V::Kind::Line, {{4.0, 1}, {8.0, 1}});
    EXPECT_DOUBLE_EQ(line.bottom, 3.8);
    EXPECT_DOUBLE_EQ(line.top, 8.4);
    EXPECT_DOUBLE_EQ(line.step, 0.5);

    // A flat line at zero is opened up to a minimal range.
    const V::Axis flat = V::ScaleAxis(V::Kind::Line, {{0.0, 3}});
    EXPECT_DOUBLE_EQ(flat.top - flat.bottom, 0.00002);
    EXPECT_DOUBLE_EQ(flat.step, 1.0);
}

TEST(AxisLabels, LabelsThatWouldOverlapOrBeCutAreSkipped) {
    struct Row {
        const char* name;
        int slotCount;
        double width;  // every label
        int interval;
        double slotWidth;
        double right;  // area from 0 to right; slot 0's tick at 60
        std::vector<int> chosen;
    };
    const Row rows[] = {
        // Room for every interval's label.
        {"wide slots", 7, 60.0, 1, 80.0, 700.0, {0, 1, 2, 3, 4, 5, 6}},
        // 120 days in 525 pixels: every interval would run together, so the
        // step grows in whole intervals (7 -> 14 -> 21).
        {"120 days", 120, 62.0, 7, 4.375, 600.0, {0, 21, 42, 63, 84, 105}},
        // The last label would end past the area: left out, not cut.
        {"cut at the end", 4, 60.0, 1, 150.0, 530.0, {0, 1, 2}},
        // No step keeps two labels apart: only the first remains.
        {"one label", 3, 100.0, 1, 50.0, 1000.0, {0}},
        {"no labels", 0, 60.0, 1, 50.0, 600.0, {}},
    };
    for (const Row& row : rows) {
        const std::vector<double> widths(static_cast<std::size_t>(row.slotCount), row.width);
        AxisLabelSpace space;
        space.firstTick = 60.0;
        space.slotWidth = row.slotWidth;
        space.right = row.right;
        EXPECT_EQ(ChooseAxisLabels(widths, row.interval, space), row.chosen) << row.name;
    }
}

TEST(AxisLabels, EmptyLabelsNeitherShowNorBlockOthers) {
    AxisLabelSpace space;
    space.firstTick = 40.0;
    space.slotWidth = 40.0;
    space.right = 400.0;
    // Slot 1 is empty, so 0 and 2 only need to keep clear of each other.
    EXPECT_EQ(ChooseAxisLabels({60.0, 0.0, 60.0}, 1, space), (std::vector<int>{0, 2}));
}

}  // namespace
}  // namespace orv
