#include "ui/values/ValuesPage.h"

namespace orv {

ValuesPage::ValuesPage(QWidget* parent) : PluginPage(parent) { setObjectName(QStringLiteral("ValuesPage")); }

}  // namespace orv
