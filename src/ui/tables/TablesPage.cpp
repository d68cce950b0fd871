#include "ui/tables/TablesPage.h"

namespace orv {

TablesPage::TablesPage(QWidget* parent) : PluginPage(parent) { setObjectName(QStringLiteral("TablesPage")); }

void TablesPage::ReceivePeriod(const PeriodSyncBlock& block) { received_ = block; }

}  // namespace orv
