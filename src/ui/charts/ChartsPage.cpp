#include "ui/charts/ChartsPage.h"

#include "data/RecordCache.h"

namespace orv {

ChartsPage::ChartsPage(QWidget* parent) : PluginPage(parent) { setObjectName(QStringLiteral("ChartsPage")); }

void ChartsPage::LoadCacheParts() {
    if (!cache_) return;
    cache_->LoadGroupNames(db_);
    cache_->LoadItemNames(db_);
}

void ChartsPage::ReceivePeriod(const PeriodSyncBlock& block) { received_ = block; }

}  // namespace orv
