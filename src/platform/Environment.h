#pragma once
// Where the module finds its own file and helper programs, where reports go,
// and who hears the diagnostic texts of failed spreadsheet operations. An
// empty entry means the default named beside it. The host's command line
// points the module file at another module's templates; tests point the
// programs at scripts and the folders at a temporary directory.

#include <QString>

#include <functional>
#include <string>

namespace orv {

struct Environment {
    QString moduleFile;       // default: this module's file; templates lie beside it
    QString printProgram;     // default: orv-print next to the module
    QString mailProgram;      // default: xdg-email from PATH
    QString reportDirectory;  // default: the cache folder's "reports"
    QString lockPath;         // default: orv-print.lock in the runtime folder
    // Receives each diagnostic text; empty: they are dropped.
    std::function<void(const std::string&)> diagnostics;
};

}  // namespace orv
