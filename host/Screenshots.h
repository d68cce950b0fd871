#pragma once
// orv-desktop --screenshot DIR: renders the host window once per module page
// and every module dialog reachable from the menus into PNG files, without a
// display (the offscreen platform), for the README and for reviews.

#include <QString>

namespace orv::host {

class HostWindow;

// Writes the pictures into `dir` (created when missing). Returns the number
// of files written; *error says what failed when that is fewer than planned.
int WriteScreenshots(HostWindow& window, const QString& dir, QString* error);

}  // namespace orv::host
