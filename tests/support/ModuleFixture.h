#pragma once
// A test fixture with the module's window running headless on a real SQLite
// host database in a temporary folder: the key-value store, view settings and
// record cache beside it, scripted message boxes and dialogs, and a host
// window for the module to live in. Page tests derive from it, open the main
// window, pick a tab and drive the page with the WidgetDriver helpers.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/RecordCache.h"
#include "host/db/SqliteHostDatabase.h"
#include "platform/QtKeyValueStore.h"
#include "settings/ViewSettings.h"
#include "support/ScriptedServices.h"
#include "support/WidgetDriver.h"
#include "ui/PluginMainWindow.h"
#include "ui/controls/Grid.h"

namespace orv::test {

// Answers one fixed colour per colour number; -1 everywhere by default.
class FixedColors : public HostColorProvider {
public:
    int32_t GetColor(int32_t number) override { return number == 3 ? first : number == 4 ? second : background; }
    int32_t first = -1;
    int32_t second = -1;
    int32_t background = -1;
};

class ModuleFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the main window inside Host() (once) and returns it.
    PluginMainWindow& OpenMainWindow();
    // The view settings a later session would load from the same database.
    ViewSettings ReloadedSettings();
    // Brings the page of `tab` to the front and returns it.
    template <class Page>
    Page& ShowPage(Tab tab) {
        OpenMainWindow().SelectTab(tab);
        return *static_cast<Page*>(window_->PageAt(tab));
    }
    // Every record the database holds now, as a later session loads them.
    RecordCache Stored();
    // The host's seconds for a date.
    int32_t Seconds(const HostDateTime& date);
    // Stores a value straight into the host, as another session would, and
    // returns its id; the modified flag stays clear.
    int32_t SeedValue(int32_t group, int32_t item, double amount, int32_t seconds, const std::string& notes = {},
                      int32_t itemIndex = 1);
    // Names the category slots of `kind` on the host, slot i getting names[i]
    // and the rest none, as an earlier session would have.
    void NameCategories(RecordKind kind, const std::vector<std::string>& names);
    // The first row of `grid` whose cell in `column` reads `text`; -1 if none.
    static int RowOf(const Grid& grid, const QString& column, const QString& text);
    // Selects that row; fails the running test when there is none.
    static void SelectRowOf(Grid& grid, const QString& column, const QString& text) {
        ASSERT_TRUE(grid.selectRow(RowOf(grid, column, text))) << text.toStdString();
    }
    // The cells of `column`, top to bottom.
    static QStringList Column(const Grid& grid, const QString& column);
    // The record of `records` (a map by id) named `name`, if there is one.
    template <class Records>
    static std::optional<typename Records::mapped_type> Named(const Records& records, const std::string& name) {
        for (const auto& [id, record] : records) {
            if (record.name == name) return record;
        }
        return std::nullopt;
    }
    // Queues a dialog of class Dialog that `fill` fills in before OK is
    // clicked; when OK leaves it open (a refusal), it is then cancelled.
    template <class Dialog, class Fill>
    void Confirm(Fill fill) {
        services_.dialogs.Expect<Dialog>([fill](Dialog& dialog) mutable {
            fill(dialog);
            ClickButton(&dialog, QStringLiteral("OK"));
            if (dialog.isVisible()) dialog.reject();
        });
    }

    hostdb::SqliteHostDatabase& Db() { return *db_; }
    RecordCache& Cache() { return cache_; }
    ViewSettings& Settings() { return *settings_; }
    QWidget& Host() { return *host_; }
    QString TempPath(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
    std::unique_ptr<hostdb::SqliteHostDatabase> db_;
    std::unique_ptr<QtKeyValueStore> store_;
    std::unique_ptr<ViewSettings> settings_;
    RecordCache cache_;
    FixedColors colors_;
    std::unique_ptr<QWidget> host_;
    std::unique_ptr<PluginMainWindow> window_;
    ScriptedServices services_;
};

}  // namespace orv::test
