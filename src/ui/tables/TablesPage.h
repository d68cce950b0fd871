#pragma once

#include "ui/PluginPage.h"

namespace orv {

class TablesPage : public PluginPage {
    Q_OBJECT
public:
    explicit TablesPage(QWidget* parent = nullptr);
    void ReceivePeriod(const PeriodSyncBlock& block) override;
    const PeriodSyncBlock& lastReceived() const { return received_; }

private:
    PeriodSyncBlock received_;
};

}  // namespace orv
