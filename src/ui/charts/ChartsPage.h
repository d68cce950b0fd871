#pragma once

#include "ui/PluginPage.h"

namespace orv {

class ChartsPage : public PluginPage {
    Q_OBJECT
public:
    explicit ChartsPage(QWidget* parent = nullptr);
    void LoadCacheParts() override;
    void ReceivePeriod(const PeriodSyncBlock& block) override;
    void Recolor() override {}
    // Redraws the chart with the current display settings.
    void Redraw() { update(); }
    const PeriodSyncBlock& lastReceived() const { return received_; }

private:
    PeriodSyncBlock received_;
};

}  // namespace orv
