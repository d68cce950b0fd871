#include "platform/Shell.h"

#include <QDesktopServices>

namespace orv {

bool DesktopShell::OpenUrl(const QUrl& url) { return url.isValid() && QDesktopServices::openUrl(url); }

}  // namespace orv
