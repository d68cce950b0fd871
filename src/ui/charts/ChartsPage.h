#pragma once
// The "Charts" page: one target's total per time slot over a period ending
// on a picked date, as bars (sum targets) or a line (average targets), with
// the average of all values as a line and the figure of a double-clicked
// point below the chart. Target, period and date are kept in step with the
// Tables page through the main window.

#include <cstdint>

#include "ui/PeriodControls.h"
#include "ui/PluginPage.h"
#include "ui/charts/ChartData.h"
#include "util/ReportPeriod.h"

class QComboBox;
class QLabel;

namespace orv {

class ChartView;
class DateTimeControl;

class ChartsPage : public PluginPage {
    Q_OBJECT
public:
    static constexpr const char* kChartTitle = "Targets";
    static constexpr const char* kStartMessage = "Double-click on the data point on the chart above...";
    static constexpr int kToolTipLength = 80;

    explicit ChartsPage(QWidget* parent = nullptr);

    void LoadCacheParts() override;
    void CreateContent() override;
    void RestoreState() override;
    void StoreState() override;
    void Activate() override;
    void ReceivePeriod(const PeriodSyncBlock& block) override;
    void Recolor() override {}

    // Applies the chart preferences of the view settings (grid, grid step,
    // average line) and redraws.
    void Redraw();
    // Reads target, period and date from the controls, rebuilds the chart;
    // with `notify` the selection goes to the Tables page as well.
    void Apply(bool notify);
    // What a double-click on a point shows below the chart.
    void ShowPoint(int series, int point);
    // The tooltip of a point: its figure without the time span.
    QString PointToolTip(int series, int point) const;

    // The target chosen in the target box; 0 when none is.
    int32_t SelectedTargetId() const;
    const ReportPeriod& period() const { return period_; }
    const ChartData& data() const { return data_; }

    QComboBox* targetBox() const { return targetBox_; }
    QComboBox* periodBox() const { return periodBox_; }
    DateTimeControl* dateControl() const { return dateControl_; }
    ChartView* chartView() const { return chart_; }
    QLabel* filterLabel() const { return filter_; }
    QLabel* messageLabel() const { return message_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ReloadCache();
    void FillTargetBox();
    PeriodControls controls() const { return {targetBox_, periodBox_, dateControl_}; }
    // Hands the chart data to the chart window.
    void ShowData();
    void LayoutControls();

    ReportPeriod period_;
    ChartData data_;

    QComboBox* targetBox_ = nullptr;
    QComboBox* periodBox_ = nullptr;
    DateTimeControl* dateControl_ = nullptr;
    ChartView* chart_ = nullptr;
    QLabel* filter_ = nullptr;
    QLabel* message_ = nullptr;
};

}  // namespace orv
