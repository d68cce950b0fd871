#pragma once
// orv-desktop's main window: a menu bar around the module's window.

#include <QMainWindow>

#include <memory>

#include "host/ColorSchemes.h"
#include "host/PluginLoader.h"

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
    void startModule();
    // The container the module's window lives in.
    QWidget* moduleParent() const { return container_; }
    HostColors& colors() { return colors_; }
    const PluginLibrary& plugin() const { return plugin_; }
    // Saves when the module reports changes, then closes the module.
    void stopModule();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void openDatabase();
    void saveModule();
    void backUpDatabase();
    void setScheme(std::size_t index);

    const PluginLibrary& plugin_;
    std::unique_ptr<hostdb::SqliteHostDatabase> db_;
    QString dbPath_;
    HostColors colors_;
    QWidget* container_;
    QMenu* moduleMenu_ = nullptr;
    bool running_ = false;
};

}  // namespace orv::host
