#pragma once
// The "Tables" page: one target's total per day over a period ending on a
// picked date, the average and sum (or last value) below, and on request the
// single values behind the chosen day. Target, period and date are kept in
// step with the Charts page through the main window.

#include <cstdint>

#include "report/ReportText.h"
#include "ui/PeriodControls.h"
#include "ui/PluginPage.h"
#include "ui/tables/DailyTotals.h"
#include "util/ReportPeriod.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace orv {

class DateTimeControl;
class Grid;

class TablesPage : public PluginPage {
    Q_OBJECT
public:
    // Column titles of the two grids.
    static constexpr const char* kDateColumn = "Date";
    static constexpr const char* kValueColumn = "Value";
    static constexpr const char* kTimeColumn = "Time";
    static constexpr const char* kItemColumn = "Item Name";
    static constexpr const char* kUnitColumn = "Unit Name";
    static constexpr const char* kNotesColumn = "Notes";
    static constexpr const char* kTargetValueColumn = "Target Value";

    explicit TablesPage(QWidget* parent = nullptr);

    void LoadCacheParts() override;
    void CreateContent() override;
    void RestoreState() override;
    void StoreState() override;
    void Activate() override;
    void ReceivePeriod(const PeriodSyncBlock& block) override;

    // Reads target, period and date from the controls, recomputes and
    // refills; with `notify` the selection goes to the Charts page as well.
    void Apply(bool notify);
    // Shows or hides the values behind the chosen day.
    void SetShowDetails(bool on);
    bool showDetails() const { return showDetails_; }

    // What the report prints: the figures as the page shows them.
    ReportContent ReportFigures() const;
    // "Print" and "Send e-mail".
    void PrintReport();
    void SendReport();

    // The target chosen in the target box; 0 when none is.
    int32_t SelectedTargetId() const;
    const ReportPeriod& period() const { return period_; }
    const DailyTotals& totals() const { return totals_; }
    int32_t dayCount() const { return dayCount_; }

    QComboBox* targetBox() const { return targetBox_; }
    QComboBox* periodBox() const { return periodBox_; }
    DateTimeControl* dateControl() const { return dateControl_; }
    Grid* totalsGrid() const { return totalsGrid_; }
    Grid* detailsGrid() const { return detailsGrid_; }
    QLabel* headingLabel() const { return heading_; }
    QLabel* statisticsLabel() const { return statistics_; }
    QCheckBox* showDetailsBox() const { return showDetailsBox_; }
    QPushButton* printButton() const { return printButton_; }
    QPushButton* mailButton() const { return mailButton_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ReloadCache();
    // Refills the target box from the cache, keeping the chosen target.
    void FillTargetBox();
    PeriodControls controls() const { return {targetBox_, periodBox_, dateControl_}; }
    void FillTotals();
    void FillDetails();
    void OnRowChosen(int row);
    void LayoutControls();

    ReportPeriod period_;
    int32_t dayCount_ = 7;
    DailyTotals totals_;
    bool showDetails_ = false;

    QComboBox* targetBox_ = nullptr;
    QComboBox* periodBox_ = nullptr;
    DateTimeControl* dateControl_ = nullptr;
    Grid* totalsGrid_ = nullptr;
    Grid* detailsGrid_ = nullptr;
    QLabel* heading_ = nullptr;
    QLabel* statistics_ = nullptr;
    QCheckBox* showDetailsBox_ = nullptr;
    QPushButton* mailButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
};

}  // namespace orv
