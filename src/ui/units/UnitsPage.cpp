#include "ui/units/UnitsPage.h"

#include "data/RecordCache.h"

namespace orv {

UnitsPage::UnitsPage(QWidget* parent) : PluginPage(parent) { setObjectName(QStringLiteral("UnitsPage")); }

void UnitsPage::LoadCacheParts() {
    if (!cache_) return;
    cache_->LoadUnitCategories(db_);
    cache_->LoadUnitNames(db_);
}

}  // namespace orv
