// The chart data on a real SQLite host database, without any window: slot
// labels per period, sums and averages per slot, the average of all values,
// point texts; the value-axis fitting of the chart window; the choice of
// labelled slots under a chart's time axis, a function of the label widths
// and the space.
//
// The Charts page in the main window: the chart window shows the chart data
// of the chosen target and period, point texts, and what the Charts and
// Tables pages share: the period exchange and the state kept in the view
// settings. The clock stands at 2008-08-27 12:00:00.

#include <QComboBox>
#include <QLabel>
#include <QTest>

#include <map>
#include <tuple>
#include <vector>

#include "charts/ChartsTestSupport.h"
#include "host/db/StarterData.h"
#include "ui/charts/ChartData.h"
#include "ui/charts/ChartsPage.h"
#include "ui/controls/AxisLabels.h"
#include "ui/controls/ChartView.h"
#include "ui/controls/DateTimeControl.h"
#include "util/DateText.h"

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

    static const std::vector<ChartPoint>& Points(const ChartData& data) { return data.Series()[0].points; }
};

TEST_F(ChartDataTest, AxisLabelsFollowThePeriod) {
    const ChartData week = Build(kPeriod7Days, 0);
    ASSERT_EQ(week.Labels().size(), 84u);
    EXPECT_EQ(week.LabelInterval(), 12);
    EXPECT_EQ(week.Labels()[0], "08/21/2008");
    EXPECT_EQ(week.Labels()[72], "08/27/2008");

    const ChartData half = Build(kPeriod15Days, 0);
    ASSERT_EQ(half.Labels().size(), 32u);
    // Half-day slots: the hour between, a date on every fourth day.
    EXPECT_EQ(half.Labels()[0], "08/13/2008");
    EXPECT_EQ(half.Labels()[1], "12:00");
    EXPECT_EQ(half.Labels()[2], "");
    EXPECT_EQ(half.Labels()[8], "08/17/2008");
    // The axis runs one day past the end day.
    EXPECT_EQ(half.PointText(&Db(), 0, 31, true), "(08/28/2008.12:00:00-08/29/2008.00:00:00)");
    EXPECT_EQ(half.PointText(&Db(), 0, 32, true), "") << "past the last slot";
    EXPECT_TRUE(half.Average().empty()) << "no target, no average";

    // A choice without slots keeps the data as it was; a start the host
    // cannot convert leaves the labels empty.
    Seed(st::kInsulinGroup, st::kRapidInsulin, 3.0, Date(8, 27, 9, 0));
    ChartData data = Build(kPeriod7Days, st::kInsulinTarget);
    EXPECT_FALSE(data.SetPeriodChoice(kNoPeriodChoice));
    EXPECT_FALSE(data.SetPeriodChoice(5));
    data.Rebuild(Cache(), &Db(), HostDateTime{0, 0, 0, 31, 2, 2008, 0});
    EXPECT_EQ(data.Labels().size(), 84u);
    EXPECT_EQ(data.Labels()[0], "");
    EXPECT_TRUE(data.Average().empty());
}

// Sums and averages per slot of the 7, 60 and 30 days, each with the
// average of all products; values outside the period count nowhere.
TEST_F(ChartDataTest, SumTargetsAddAndAverageTargetsAverageEachSlot) {
    Seed(st::kInsulinGroup, st::kRapidInsulin, 3.0, Date(8, 27, 9, 0));
    Seed(st::kInsulinGroup, st::kRapidInsulin, 4.0, Date(8, 27, 9, 30));
    Seed(st::kInsulinGroup, st::kLongInsulin, 2.0, Date(8, 27, 23, 0));
    Seed(st::kInsulinGroup, st::kRapidInsulin, 9.0, Date(8, 28, 0, 0));        // after the last slot
    Seed(st::kInsulinGroup, st::kRapidInsulin, 9.0, Date(8, 20, 23, 59, 59));  // before the week, in the 60 days
    Seed(st::kBloodGlucoseGroup, st::kFasting, 2.0, Date(8, 26, 7, 0));
    Seed(st::kBloodGlucoseGroup, st::kBeforeMeal, 4.0, Date(8, 26, 7, 45));
    Seed(st::kBloodGlucoseGroup, st::kBedtime, 6.0, Date(8, 26, 22, 0));
    const struct {
        const char* name;
        PeriodChoice choice;
        int32_t target;
        ChartKind kind;
        std::size_t count;
        std::map<std::size_t, double> shown;  // every slot whose value is not 0
        double average;
    } rows[] = {
        {"two-hour sums", kPeriod7Days, st::kInsulinTarget, ChartKind::Bars, 84, {{76, 7.0}, {83, 2.0}}, 3.0},
        {"daily sums", kPeriod60Days, st::kInsulinTarget, ChartKind::Bars, 60, {{52, 9.0}, {59, 9.0}}, 4.5},
        {"half-day averages", kPeriod30Days, st::kBloodGlucoseTarget, ChartKind::Line, 60, {{56, 3.0}, {57, 6.0}}, 4.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const ChartData data = Build(row.choice, row.target);
        EXPECT_EQ(data.Kind(), row.kind);
        ASSERT_EQ(Points(data).size(), row.count);
        std::map<std::size_t, double> shown;
        for (std::size_t slot = 0; slot < row.count; ++slot) {
            if (Points(data)[slot].value != 0.0) shown[slot] = Points(data)[slot].value;
        }
        EXPECT_EQ(shown, row.shown);
        EXPECT_EQ(data.Average(), std::vector<double>{row.average});
    }
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

TEST(AxisLabels, LabelsThatWouldOverlapOrBeCutOrAreEmptyAreSkipped) {
    struct Row {
        const char* name;
        std::vector<double> widths;  // of each slot's label
        int interval;
        double slotWidth;
        double right;  // area from 0 to right; slot 0's tick at 60
        std::vector<int> chosen;
    };
    const Row rows[] = {
        // Room for every interval's label.
        {"wide slots", std::vector<double>(7, 60.0), 1, 80.0, 700.0, {0, 1, 2, 3, 4, 5, 6}},
        // 120 days in 525 pixels: every interval would run together, so the
        // step grows in whole intervals (7 -> 14 -> 21).
        {"120 days", std::vector<double>(120, 62.0), 7, 4.375, 600.0, {0, 21, 42, 63, 84, 105}},
        // The last label would end past the area: left out, not cut.
        {"cut at the end", std::vector<double>(4, 60.0), 1, 150.0, 530.0, {0, 1, 2}},
        // No step keeps two labels apart: only the first remains.
        {"one label", std::vector<double>(3, 100.0), 1, 50.0, 1000.0, {0}},
        {"no labels", {}, 1, 50.0, 600.0, {}},
        // An empty label neither shows nor blocks: 0 and 2 only need to keep
        // clear of each other.
        {"an empty label", {60.0, 0.0, 60.0}, 1, 40.0, 400.0, {0, 2}},
    };
    for (const Row& row : rows) {
        AxisLabelSpace space;
        space.firstTick = 60.0;
        space.slotWidth = row.slotWidth;
        space.right = row.right;
        EXPECT_EQ(ChooseAxisLabels(row.widths, row.interval, space), row.chosen) << row.name;
    }
}

class ChartsPageTest : public test::ChartsFixture {
protected:
    ChartsPage& Page() { return ShowPage<ChartsPage>(Tab::Charts); }

    static int Counted(const ChartView* view) {
        int counted = 0;
        for (const ChartView::Series& s : view->series())
            for (const ChartView::Point& p : s.points) counted += p.count;
        return counted;
    }
};

TEST_F(ChartsPageTest, ChosenTargetAndPeriodAreDrawn) {
    Seed(st::kInsulinGroup, st::kRapidInsulin, 3.0, Date(8, 27, 9, 0));
    Seed(st::kInsulinGroup, st::kRapidInsulin, 4.0, Date(8, 27, 9, 30));
    Seed(st::kBloodGlucoseGroup, st::kFasting, 6.0, Date(8, 27, 7, 0));
    ChartsPage& page = Page();
    ChartView* view = page.Chart();

    ASSERT_TRUE(test::ChooseComboText(page.TargetBox(), "Insulin"));
    EXPECT_EQ(view->kind(), ChartView::Kind::Bars);
    // One slot and the average: the sums themselves are the chart data's.
    EXPECT_DOUBLE_EQ(view->series()[0].points[76].value, 7.0);
    EXPECT_EQ(view->average(), std::vector<double>{3.5});

    ASSERT_TRUE(test::ChooseComboText(page.TargetBox(), "Blood glucose"));
    EXPECT_EQ(view->kind(), ChartView::Kind::Line);
    EXPECT_EQ(Counted(view), 1);

    ASSERT_TRUE(test::ChooseComboText(page.PeriodBox(), "120 days"));
    // The date labels under the axis neither run together nor leave the area.
    const auto labels = view->LabelRects();
    ASSERT_GT(labels.size(), 1u);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(labels[i].first % view->labelInterval(), 0);
        EXPECT_TRUE(view->canvas()->rect().contains(labels[i].second)) << i;
        if (i > 0) {
            EXPECT_LT(labels[i - 1].second.right(), labels[i].second.left()) << i;
        }
    }

    // A value stored elsewhere shows when the tab comes to the front again.
    Seed(st::kBloodGlucoseGroup, st::kFasting, 8.0, Date(8, 20, 7, 0));
    OpenMainWindow().SelectTab(Tab::Values);
    OpenMainWindow().SelectTab(Tab::Charts);
    EXPECT_EQ(Counted(view), 2);
}

TEST_F(ChartsPageTest, DoubleClickAndTooltipGiveThePointTexts) {
    Seed(st::kInsulinGroup, st::kRapidInsulin, 5.5, Date(8, 27, 2, 30));
    ChartsPage& page = Page();
    ASSERT_TRUE(test::ChooseComboText(page.TargetBox(), "Insulin"));
    ChartView* view = page.Chart();
    view->resize(800, 400);
    EXPECT_EQ(page.PointToolTip(0, 73), "Insulin was      5.5");

    const QPoint at = view->PointPosition(0, 73);
    ASSERT_TRUE(view->HitTest(at).has_value());
    EXPECT_FALSE(view->HitTest(view->PointPosition(0, 10)).has_value()) << "an empty slot is no point";

    QTest::mouseDClick(view->canvas(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(page.MessageLabel()->text(), "(08/27/2008.02:00:00-08/27/2008.04:00:00)   Insulin was      5.5");
}

TEST_F(ChartsPageTest, UserChoicesAreSentOnceAndReceivedOnesAreNotAnswered) {
    ChartsPage& page = Page();
    std::vector<PeriodSyncBlock> sent;
    QObject::connect(&page, &PluginPage::periodSelected, &page,
                     [&sent](const PeriodSyncBlock& block) { sent.push_back(block); });

    ASSERT_TRUE(test::ChooseComboText(page.PeriodBox(), "60 days"));
    ASSERT_TRUE(test::ChooseComboText(page.TargetBox(), "Fat"));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(std::tuple(sent[1].periodIndex, sent[1].targetIndex, ToHostDateTime(sent[1].date).day),
              std::tuple(3, page.TargetBox()->currentIndex(), 27));

    page.ReceivePeriod({.periodIndex = 1,
                        .date = ToSystemTime(HostDateTime{0, 0, 10, 1, 3, 2008, 6}),
                        .targetIndex = Cache().TargetNames().PositionOf(st::kInsulinTarget)});
    EXPECT_EQ(sent.size(), 2u);
    EXPECT_EQ(std::tuple(page.SelectedTargetId(), page.DateControl()->date(), page.Chart()->labels().size()),
              std::tuple(st::kInsulinTarget, QDate(2008, 3, 1), 32));

    // Indexes the page does not have and a date no calendar has: "All", and
    // the chart keeps its date and slots.
    page.ReceivePeriod({.periodIndex = 9, .date = {.wYear = 2008}, .targetIndex = 99});
    EXPECT_EQ(sent.size(), 2u);
    EXPECT_EQ(page.FilterLabel()->text(), "All");
    EXPECT_EQ(std::tuple(page.DateControl()->date(), page.Chart()->labels().size()), std::tuple(QDate(2008, 3, 1), 32));
}

TEST_F(ChartsPageTest, StateComesFromAndGoesToTheViewSettings) {
    Settings().charts = {4, 0, st::kEnergyTarget};
    Settings().Save(&Db());
    ChartsPage& page = Page();
    EXPECT_EQ(page.PeriodBox()->currentIndex(), 4);
    EXPECT_EQ(page.TargetBox()->currentText(), "Energy");
    EXPECT_EQ(page.Chart()->labels().size(), 120);

    ASSERT_TRUE(test::ChooseComboText(page.PeriodBox(), "30 days"));
    ASSERT_TRUE(test::ChooseComboText(page.TargetBox(), "Fat"));
    page.StoreState();
    const PageSelection stored = ReloadedSettings().charts;
    EXPECT_EQ(std::pair(stored.period, stored.targetId), std::pair(2, st::kFatTarget));
    HostDateTime storedDate;
    ASSERT_GE(Db().SecondsToDate(stored.seconds, &storedDate), 0);
    EXPECT_EQ(FormatDateText(storedDate), "08/27/2008");
}

}  // namespace
}  // namespace orv
