#include "host/cli/StartupMessage.h"

namespace orv::host {

QString StartupErrorText(const QString& error) { return QStringLiteral("ORV Desktop cannot start.\n\n%1").arg(error); }

bool ShowsStartupErrorBox(const QString& platformName, bool batchMode) {
    if (batchMode) return false;
    return platformName != QLatin1String("offscreen") && platformName != QLatin1String("minimal") &&
           platformName != QLatin1String("vnc") && !platformName.isEmpty();
}

}  // namespace orv::host
