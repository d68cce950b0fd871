// The module's entry points called in-process, with scripted services, as
// the host's calls would arrive. Their lifecycle of Run, Close and the window
// is exercised through dlopen in tests/desktop/host_window_test.cpp.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

#include "data/ModifiedFlag.h"
#include "host/db/SqliteHostDatabase.h"
#include "platform/QtKeyValueStore.h"
#include "plugin/PluginApi.h"
#include "settings/ChartPreferencesDialog.h"
#include "settings/ViewSettings.h"
#include "support/ScriptedServices.h"
#include "support/WidgetDriver.h"

namespace orv {
namespace {

class PluginExports : public ::testing::Test {
protected:
    void SetUp() override { ::Init(nullptr, nullptr, parent_.get(), 0, 0); }
    void TearDown() override { ::Close(); }

    // Hands the module an empty in-memory host database, kept to the end of the test.
    hostdb::SqliteHostDatabase& InitWithDatabase() {
        std::string error;
        db_ = hostdb::SqliteHostDatabase::Open(":memory:", &error);
        EXPECT_TRUE(db_) << error;
        ::Init(db_.get(), nullptr, parent_.get(), 0, 0);
        return *db_;
    }

    std::unique_ptr<hostdb::SqliteHostDatabase> db_;
    std::unique_ptr<QWidget> parent_ = std::make_unique<QWidget>();
    test::ScriptedServices services_;
};

TEST_F(PluginExports, ModifiedFlagOnlyClearedByInit) {
    EXPECT_EQ(::IsModified(), 0);
    SetModifiedFlag();  // what every page change does
    ASSERT_EQ(::Run(), 0);
    EXPECT_EQ(::Save(), 0);
    EXPECT_EQ(::IsModified(), 1) << "Save does not clear the flag";
    EXPECT_EQ(::Close(), 1);
    EXPECT_EQ(::IsModified(), 1) << "nor does Close";
    ::Init(nullptr, nullptr, parent_.get(), 0, 0);
    EXPECT_EQ(::IsModified(), 0);
}

TEST_F(PluginExports, AboutDialogOpensThroughTheDialogService) {
    services_.dialogs.ExpectDialog([](QDialog& dialog) { dialog.accept(); });
    EXPECT_EQ(::AboutDialog(), 0);
    EXPECT_EQ(services_.dialogs.Opened(), 1u);
}

TEST_F(PluginExports, ChartPreferencesBeforeRunStillSaves) {
    hostdb::SqliteHostDatabase& db = InitWithDatabase();
    services_.dialogs.Expect<ChartPreferencesDialog>([](ChartPreferencesDialog& dialog) {
        test::ChooseComboText(dialog.GridStepList(), "20");
        dialog.accept();
    });
    EXPECT_EQ(::GetOnCommandID(0, 82), 0);
    EXPECT_EQ(::GetWnd(), nullptr) << "nothing was created or redrawn";

    QtKeyValueStore store;  // the same per-user store the module writes
    ViewSettings stored(&store);
    stored.Load(&db);
    EXPECT_EQ(stored.display.gridStep, 20);
    EXPECT_NE(db.SettingsStore()->Find("ORVORV"), nullptr) << "the settings record was written";

    // Cancel leaves everything as it was.
    services_.dialogs.Expect<ChartPreferencesDialog>([](ChartPreferencesDialog& dialog) {
        test::ChooseComboText(dialog.GridStepList(), "5");
        dialog.reject();
    });
    EXPECT_EQ(::GetOnCommandID(0, 82), 0);
    stored.Load(&db);
    EXPECT_EQ(stored.display.gridStep, 20);
}

TEST_F(PluginExports, MenuCommandsRunTheExports) {
    InitWithDatabase();
    QTemporaryDir dir;
    // The templates lie beside the program that holds the module's code.
    services_.dialogs.AnswerSaveFile(dir.filePath("structure.xlsx"));
    EXPECT_EQ(::GetOnCommandID(0, 84), 0);
    services_.dialogs.AnswerSaveFile(dir.filePath("values.xlsx"));
    EXPECT_EQ(::GetOnCommandID(0, 83), 0);
    EXPECT_TRUE(QFile::exists(dir.filePath("structure.xlsx")));
    EXPECT_TRUE(QFile::exists(dir.filePath("values.xlsx")));
    ASSERT_EQ(services_.shell.Opened().size(), 2u) << "each workbook is opened when done";
    EXPECT_EQ(services_.shell.Opened()[1].toLocalFile(), dir.filePath("values.xlsx"));
    EXPECT_TRUE(services_.prompter.Messages().empty());
}

}  // namespace
}  // namespace orv
