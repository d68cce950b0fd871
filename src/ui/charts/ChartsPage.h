#pragma once
// The "Charts" page: one target's total per time slot over a period ending
// on a picked date, as bars (sum targets) or a line (average targets), with
// the average of all values as a line and the figure of a double-clicked
// point below the chart. Target, period and date are kept in step with the
// Tables page through the main window.

#include "ui/PeriodPage.h"
#include "ui/charts/ChartData.h"

class QLabel;

namespace orv {

class ChartView;

class ChartsPage : public PeriodPage {
    Q_OBJECT
public:
    static constexpr const char* kChartTitle = "Targets";
    static constexpr const char* kStartMessage = "Double-click on the data point on the chart above...";
    static constexpr int kToolTipLength = 80;

    explicit ChartsPage(const PageContext& context, QWidget* parent = nullptr);

    void LoadCacheParts() override;
    void CreateContent() override;
    void Activate() override;
    void Recolor() override {}

    // Applies the chart preferences of the view settings (grid, grid step,
    // average line) and redraws.
    void Redraw();
    // What a double-click on a point shows below the chart.
    void ShowPoint(int series, int point);
    // The tooltip of a point: its figure without the time span.
    QString PointToolTip(int series, int point) const;

    const ChartData& data() const { return data_; }

    ChartView* Chart() const { return chart_; }
    QLabel* FilterLabel() const { return Caption(); }
    QLabel* MessageLabel() const { return message_; }

private:
    // Rebuilds the chart for the chosen target and period.
    void ShowPeriod(PeriodChoice choice) override;
    void LayoutContent(const QRect& client) override;
    // Hands the chart data to the chart window.
    void ShowData();

    ChartData data_;

    ChartView* chart_ = nullptr;
    QLabel* message_ = nullptr;
};

}  // namespace orv
