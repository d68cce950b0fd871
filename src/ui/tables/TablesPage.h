#pragma once
// The "Tables" page: one target's total per day over a period ending on a
// picked date, the average and sum (or last value) below, and on request the
// single values behind the chosen day. Target, period and date are kept in
// step with the Charts page through the main window.

#include <cstdint>

#include "report/ReportText.h"
#include "ui/PeriodPage.h"
#include "ui/ValueColumns.h"
#include "ui/tables/DailyTotals.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace orv {

class Grid;

// The totals grid shows the date and value columns; the details grid the
// ValueColumns, then the target value.
class TablesPage : public PeriodPage, public ValueColumns {
    Q_OBJECT
public:
    static constexpr const char* kTargetValueColumn = "Target Value";

    explicit TablesPage(const PageContext& context, QWidget* parent = nullptr);

    void LoadCacheParts() override;
    void CreateContent() override;

    // Shows or hides the values behind the chosen day.
    void SetShowDetails(bool on);
    bool ShowDetails() const { return showDetails_; }

    // What the report prints: the figures as the page shows them.
    ReportContent ReportFigures() const;
    // "Print" and "Send e-mail".
    void PrintReport();
    void SendReport();

    const DailyTotals& Totals() const { return totals_; }
    int32_t DayCount() const { return dayCount_; }

    Grid* TotalsGrid() const { return totalsGrid_; }
    Grid* DetailsGrid() const { return detailsGrid_; }
    QLabel* HeadingLabel() const { return Caption(); }
    QLabel* StatisticsLabel() const { return statistics_; }
    QCheckBox* ShowDetailsBox() const { return showDetailsBox_; }
    QPushButton* PrintButton() const { return printButton_; }
    QPushButton* MailButton() const { return mailButton_; }

private:
    void FillTotals();
    void FillDetails();
    void OnRowChosen(int row);
    // Recomputes the daily totals for the chosen target and period and
    // refills the grids.
    void ShowPeriod(PeriodChoice choice) override;
    void LayoutContent(const QRect& client) override;

    int32_t dayCount_ = 7;
    DailyTotals totals_;
    bool showDetails_ = false;

    Grid* totalsGrid_ = nullptr;
    Grid* detailsGrid_ = nullptr;
    QLabel* statistics_ = nullptr;
    QCheckBox* showDetailsBox_ = nullptr;
    QPushButton* mailButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
};

}  // namespace orv
