#pragma once
// A page that shows one target's figures over a period ending on a picked
// date: the Charts and Tables pages. It owns their common top row (period
// box, caption, date control, target box), keeps the choice in step with the
// other period page through the main window, and restores and stores the
// choice in its part of the view settings. A page adds its own controls below
// the row and shows its figures for the chosen period.

#include <cstdint>

#include "ui/PeriodControls.h"
#include "ui/PluginPage.h"
#include "util/ReportPeriod.h"

class QComboBox;
class QLabel;
class QRect;

namespace orv {

class DateTimeControl;

class PeriodPage : public PluginPage {
    Q_OBJECT
public:
    void RestoreState() override;
    void StoreState() override;
    void Activate() override;
    void ReceivePeriod(const PeriodSyncBlock& block) override;

    // Reads target, period and date from the controls; with `notify` the
    // selection goes to the other period page; then the page shows its
    // figures for it.
    void Apply(bool notify);

    // The target chosen in the target box; 0 when none is.
    int32_t SelectedTargetId() const;
    const ReportPeriod& Period() const { return period_; }

    QComboBox* TargetBox() const { return targetBox_; }
    QComboBox* PeriodBox() const { return periodBox_; }
    DateTimeControl* DateControl() const { return dateControl_; }

protected:
    static constexpr int kControlHeight = 26;

    // `stored` is the page's selection in the view settings.
    PeriodPage(const PageContext& context, PageSelection ViewSettings::*stored, QWidget* parent);

    // Builds the top row; the page builds its own controls after it.
    void CreatePeriodRow();
    // Whether CreateContent has built the page.
    bool HasContent() const { return targetBox_ != nullptr; }
    // Refills the target box from the cache, keeping the chosen target.
    void FillTargetBox();
    // Places the top row, then the page's own controls.
    void LayoutControls();
    // The centred text between period box and date control.
    QLabel* Caption() const { return caption_; }

    void resizeEvent(QResizeEvent* event) override;

private:
    // The page's figures for `choice` over Period(); called by Apply.
    virtual void ShowPeriod(PeriodChoice choice) = 0;
    // Places the page's own controls within `client`, below the top row.
    virtual void LayoutContent(const QRect& client) = 0;

    PeriodControls Controls() const { return {targetBox_, periodBox_, dateControl_}; }

    PageSelection ViewSettings::*stored_;
    ReportPeriod period_;

    QComboBox* targetBox_ = nullptr;
    QComboBox* periodBox_ = nullptr;
    DateTimeControl* dateControl_ = nullptr;
    QLabel* caption_ = nullptr;
};

}  // namespace orv
