#pragma once
// How orv-desktop reports a start-up error (a file it refuses, a missing
// module): always on stderr, and in a message box as well when the program
// was started with a display, e.g. from a desktop launcher, where nobody
// reads stderr.

#include <QString>

namespace orv::host {

// The text of the message box for a start-up error.
QString StartupErrorText(const QString& error);

// Whether a start-up error is also shown in a message box: not in the
// command-line modes (pictures, exports, backups) and not on platforms
// without a screen.
bool ShowsStartupErrorBox(const QString& platformName, bool batchMode);

}  // namespace orv::host
