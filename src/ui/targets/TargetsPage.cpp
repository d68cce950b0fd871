#include "ui/targets/TargetsPage.h"

namespace orv {

TargetsPage::TargetsPage(QWidget* parent) : PluginPage(parent) { setObjectName(QStringLiteral("TargetsPage")); }

}  // namespace orv
