// The Charts page in the main window on a real SQLite host database: the
// chart window shows the chart data of the chosen target and period, point
// texts, and what the Charts and Tables pages share: the period exchange
// and the state kept in the view settings. The clock stands at 2008-08-27 12:00:00.

#include <QComboBox>
#include <QLabel>
#include <QTest>

#include <vector>

#include "charts/ChartsTestSupport.h"
#include "host/db/StarterData.h"
#include "ui/charts/ChartsPage.h"
#include "ui/controls/ChartView.h"
#include "ui/controls/DateTimeControl.h"
#include "util/DateText.h"

namespace orv {
namespace {

namespace st = hostdb::starter;

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
    ChartView* view = page.chartView();

    ASSERT_TRUE(test::ChooseComboText(page.TargetBox(), "Insulin"));
    EXPECT_EQ(view->kind(), ChartView::Kind::Bars);
    ASSERT_EQ(view->labels().size(), 84);
    EXPECT_DOUBLE_EQ(view->series()[0].points[76].value, 7.0);
    EXPECT_EQ(Counted(view), 2);
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
    ChartView* view = page.chartView();
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
    EXPECT_EQ(sent[1].periodIndex, 3);
    EXPECT_EQ(sent[1].targetIndex, page.TargetBox()->currentIndex());
    EXPECT_EQ(ToHostDateTime(sent[1].date).day, 27);

    page.ReceivePeriod({.periodIndex = 1,
                        .date = ToSystemTime(HostDateTime{0, 0, 10, 1, 3, 2008, 6}),
                        .targetIndex = Cache().TargetNames().PositionOf(st::kInsulinTarget)});
    EXPECT_EQ(sent.size(), 2u);
    EXPECT_EQ(page.SelectedTargetId(), st::kInsulinTarget);
    EXPECT_EQ(page.DateControl()->date(), QDate(2008, 3, 1));
    EXPECT_EQ(page.chartView()->labels().size(), 32);

    // Indexes the page does not have and a date no calendar has: "All", and
    // the chart keeps its date and slots.
    PeriodSyncBlock bad;
    bad.periodIndex = 9;
    bad.targetIndex = 99;
    bad.date.wYear = 2008;
    page.ReceivePeriod(bad);
    EXPECT_EQ(sent.size(), 2u);
    EXPECT_EQ(page.FilterLabel()->text(), "All");
    EXPECT_EQ(page.DateControl()->date(), QDate(2008, 3, 1));
    EXPECT_EQ(page.chartView()->labels().size(), 32);
}

TEST_F(ChartsPageTest, StateComesFromAndGoesToTheViewSettings) {
    Settings().charts = {4, 0, st::kEnergyTarget};
    Settings().Save(&Db());
    ChartsPage& page = Page();
    EXPECT_EQ(page.PeriodBox()->currentIndex(), 4);
    EXPECT_EQ(page.TargetBox()->currentText(), "Energy");
    EXPECT_EQ(page.chartView()->labels().size(), 120);

    ASSERT_TRUE(test::ChooseComboText(page.PeriodBox(), "30 days"));
    ASSERT_TRUE(test::ChooseComboText(page.TargetBox(), "Fat"));
    page.StoreState();
    const PageSelection stored = ReloadedSettings().charts;
    EXPECT_EQ(stored.period, 2);
    EXPECT_EQ(stored.targetId, st::kFatTarget);
    HostDateTime storedDate;
    ASSERT_GE(Db().SecondsToDate(stored.seconds, &storedDate), 0);
    EXPECT_EQ(FormatDateText(storedDate), "08/27/2008");
}

}  // namespace
}  // namespace orv
