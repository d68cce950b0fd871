#pragma once
// orv-desktop --screenshot DIR: renders the host window once per module page
// and every module dialog reachable from the menus into PNG files, without a
// display (the offscreen platform), for the README and for reviews.

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace orv::hostdb {
class SqliteHostDatabase;
}

namespace orv::host {

class HostWindow;

// A screenshot run changes nothing of the user's: it works on a copy of the
// database, and the registry store of this process (the module's view
// settings, the host's own choices) is pointed at a copy of the user's in a
// scratch folder. Create it before the module is loaded; the scratch folder
// goes when the sandbox does.
class ScreenshotSandbox {
public:
    // Copies `db` and the user's registry store; null with `error` set when
    // that fails.
    static std::unique_ptr<ScreenshotSandbox> Create(const hostdb::SqliteHostDatabase& db, QString* error);
    ~ScreenshotSandbox();
    ScreenshotSandbox(const ScreenshotSandbox&) = delete;
    ScreenshotSandbox& operator=(const ScreenshotSandbox&) = delete;

    // The copy of the database, to run the module on.
    std::unique_ptr<hostdb::SqliteHostDatabase> OpenCopy(QString* error) const;

private:
    ScreenshotSandbox() = default;
    QTemporaryDir dir_;
    QString databaseCopy_;
    QString previousStorePath_;
};

// Writes the pictures into `dir` (created when missing). Returns the number
// of files written; *error says what failed when that is fewer than planned.
int WriteScreenshots(HostWindow& window, const QString& dir, QString* error);

}  // namespace orv::host
