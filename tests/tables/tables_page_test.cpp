// The Tables page in the main window on a real SQLite host database: daily
// totals of sum and average targets, the values behind a day, and the table
// for a period received from the Charts page. The exchange itself and the
// state kept in the view settings belong to the shared period page, tested
// with Charts.
// The clock stands at 2008-08-27 12:00:00, so the date control starts there.

#include <QCheckBox>
#include <QLabel>

#include "charts/ChartsTestSupport.h"
#include "host/db/StarterData.h"
#include "ui/controls/Grid.h"
#include "ui/tables/TablesPage.h"

namespace orv {
namespace {

namespace st = hostdb::starter;

// Starter foods: carbohydrates are the Food group's first target, fat its
// second.
constexpr int32_t kPotatoes = st::kFirstFood + 4;  // 0.20 g carbohydrates per g
constexpr int32_t kChicken = st::kFirstFood + 10;  // no carbohydrates
constexpr int32_t kButter = st::kFirstFood + 17;   // 0.81 g fat per g

class TablesPageTest : public test::ChartsFixture {
protected:
    TablesPage& Page(const QString& target) {
        TablesPage& page = ShowPage<TablesPage>(Tab::Tables);
        EXPECT_TRUE(test::ChooseComboText(page.TargetBox(), target));
        return page;
    }
};

TEST_F(TablesPageTest, SumTargetAddsTheProductsOfEachDayOfTheWeek) {
    Seed(st::kFoodGroup, kPotatoes, 15.0, Date(8, 27, 8, 0, 0), "breakfast");
    Seed(st::kFoodGroup, kPotatoes, 25.0, Date(8, 27, 20, 0, 0), "dinner");
    Seed(st::kFoodGroup, kPotatoes, 10.0, Date(8, 21, 0, 0, 0), "first day");
    Seed(st::kFoodGroup, kPotatoes, 45.0, Date(8, 28, 0, 0, 0), "day after");
    Seed(st::kFoodGroup, kPotatoes, 45.0, Date(8, 20, 23, 59, 59), "day before");
    Seed(st::kFoodGroup, kChicken, 100.0, Date(8, 27, 9, 0, 0), "no carbs");
    TablesPage& page = Page("Carbohydrates");

    EXPECT_EQ(Column(*page.TotalsGrid(), TablesPage::kDateColumn),
              (QStringList{"08/27/2008", "08/26/2008", "08/25/2008", "08/24/2008", "08/23/2008", "08/22/2008",
                           "08/21/2008"}));
    // 0.2 x (15 + 25) on the end day, 0.2 x 10 on the first day.
    EXPECT_EQ(Column(*page.TotalsGrid(), TablesPage::kValueColumn),
              (QStringList{"8.00000", "0.00000", "0.00000", "0.00000", "0.00000", "0.00000", "2.00000"}));
    // Products 3, 5 and 2: the item without carbohydrates adds nothing, not even a count.
    EXPECT_EQ(page.StatisticsLabel()->text(), "Average: 3.33333, Sum: 10.00000");
    EXPECT_EQ(page.HeadingLabel()->text(), "7 days, Carbohydrates (in g)");

    // A value stored elsewhere shows when the tab comes to the front again.
    Seed(st::kFoodGroup, kPotatoes, 5.0, Date(8, 26, 9, 0, 0));
    OpenMainWindow().SelectTab(Tab::Values);
    OpenMainWindow().SelectTab(Tab::Tables);
    EXPECT_EQ(page.TotalsGrid()->cell(1, TablesPage::kValueColumn), "1.00000");
}

TEST_F(TablesPageTest, AverageTargetAveragesEachDayAndTakesAnItemsNewestValue) {
    Seed(st::kBloodGlucoseGroup, st::kFasting, 5.0, Date(8, 27, 7, 0, 0));
    Seed(st::kBloodGlucoseGroup, st::kFasting, 7.0, Date(8, 27, 8, 0, 0));
    Seed(st::kBloodGlucoseGroup, st::kBeforeMeal, 3.0, Date(8, 26, 12, 0, 0));
    Seed(st::kBloodGlucoseGroup, st::kBedtime, 4.0, Date(8, 25, 22, 0, 0));
    Seed(st::kBloodGlucoseGroup, st::kBedtime, 9.0, Date(8, 30, 22, 0, 0));  // newest, but after the end
    TablesPage& page = Page("Blood glucose");

    EXPECT_EQ(Column(*page.TotalsGrid(), TablesPage::kValueColumn).mid(0, 4),
              (QStringList{"6.00000", "3.00000", "4.00000", "0.00000"}));
    // (5 + 7 + 3 + 4) / 4; the last item whose newest value lies in the period is "Before meal".
    EXPECT_EQ(page.StatisticsLabel()->text(), "Average: 4.75000, The last value: 3.00000");
}

TEST_F(TablesPageTest, ChoosingADayListsTheValuesBehindIt) {
    Seed(st::kFoodGroup, kButter, 5.0, Date(8, 27, 8, 0, 0), "breakfast");
    Seed(st::kFoodGroup, kButter, 10.0, Date(8, 27, 20, 0, 5), "dinner");
    Seed(st::kFoodGroup, kButter, 1.0, Date(8, 25, 9, 3, 0), "snack");
    TablesPage& page = Page("Fat");
    EXPECT_FALSE(page.ShowDetails());

    // Choosing a row while details are off turns them on.
    page.TotalsGrid()->selectRow(0);
    EXPECT_TRUE(page.ShowDetails());
    const Grid* details = page.DetailsGrid();
    ASSERT_EQ(details->rowCount(), 2);
    QStringList second;
    for (int column = 0; column < details->columnCount(); ++column) second << details->cell(1, column);
    EXPECT_EQ(second, (QStringList{"08/27/2008", "20:00:05", "Butter", "10.00000", "g", "dinner", "8.10000"}));

    page.TotalsGrid()->selectRow(2);
    EXPECT_EQ(Column(*details, TablesPage::kNotesColumn), QStringList{"snack"});
    page.TotalsGrid()->selectRow(1);
    EXPECT_EQ(details->rowCount(), 0);

    page.ShowDetailsBox()->click();
    EXPECT_FALSE(page.ShowDetails());
}

TEST_F(TablesPageTest, AReceivedPeriodFillsTheTableOfItsTargetPeriodAndDate) {
    Seed(st::kInsulinGroup, st::kRapidInsulin, 4.0, Date(3, 1, 12, 0, 0));
    Seed(st::kInsulinGroup, st::kRapidInsulin, 6.0, Date(2, 16, 0, 0, 0));
    Seed(st::kInsulinGroup, st::kRapidInsulin, 8.0, Date(2, 15, 23, 59, 59));
    TablesPage& page = ShowPage<TablesPage>(Tab::Tables);
    page.ReceivePeriod({.periodIndex = 1,  // 15 days
                        .date = ToSystemTime(HostDateTime{30, 15, 10, 1, 3, 2008, 6}),
                        .targetIndex = Cache().TargetNames().PositionOf(st::kInsulinTarget)});

    EXPECT_EQ(page.TotalsGrid()->rowCount(), 15);
    EXPECT_EQ(page.TotalsGrid()->cell(14, "Date"), "02/16/2008");
    EXPECT_EQ(page.StatisticsLabel()->text(), "Average: 5.00000, Sum: 10.00000");
}

}  // namespace
}  // namespace orv
