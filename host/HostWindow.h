#pragma once
// orv-desktop's main window: a menu bar around the module's window.

#include <QMainWindow>

#include <memory>

#include "host/ColorSchemes.h"
#include "host/PluginLoader.h"

class QActionGroup;

namespace orv::hostdb {
class SqliteHostDatabase;
}

namespace orv::host {

class HostWindow : public QMainWindow {
    Q_OBJECT
public:
    HostWindow(const PluginLibrary& plugin, std::unique_ptr<hostdb::SqliteHostDatabase> db, QString dbPath);
    ~HostWindow() override;

    // Hands the database to the module and lets it create its window.
    void StartModule();
    // The container the module's window lives in.
    QWidget* ModuleParent() const { return container_; }
    HostColors& Colors() { return colors_; }
    const PluginLibrary& Plugin() const { return plugin_; }
    // Saves when the module reports changes, then closes the module.
    void StopModule();
    // File -> Open database without the file dialog: opens `path`, restarts
    // the module on it and names it in the title. False (with the reason in
    // `error`) leaves the current database open.
    bool OpenDatabaseFile(const QString& path, QString* error);
    // Chooses a colour scheme, tells the module and remembers the choice.
    void SetScheme(std::size_t index);
    // Whether the colour scheme choice is remembered (not while picturing).
    void SetRemembersScheme(bool on) { remembersScheme_ = on; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void OpenDatabase();
    void SaveModule();
    void BackUpDatabase();
    void UpdateTitle();

    const PluginLibrary& plugin_;
    std::unique_ptr<hostdb::SqliteHostDatabase> db_;
    QString dbPath_;
    HostColors colors_;
    QWidget* container_;
    QMenu* moduleMenu_ = nullptr;
    QActionGroup* schemeActions_ = nullptr;
    bool running_ = false;
    bool remembersScheme_ = true;
};

}  // namespace orv::host
