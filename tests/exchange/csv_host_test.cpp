// orv-desktop's CSV routes: the command line as a user runs it, and the File
// menu entries with the preview dialog.

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

#include "data/RecordCache.h"
#include "exchange/ValueExport.h"
#include "host/CsvMenu.h"
#include "support/FileBytes.h"
#include "support/ScriptedServices.h"
#include "tests/desktop/DesktopProcess.h"
#include "tests/host/TestFiles.h"

namespace orv::host {
namespace {

const QByteArray kHeader = "date,group,item,amount,unit,notes\r\n";
const QByteArray kGoodRow = "2024-03-01 08:00:00,Food,Apple,150,g,\r\n";
const QByteArray kRefusedRow = "2024-03-01 08:00:00,Drinks,Tea,1,g,\r\n";

class CsvRoutes : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString File(const QString& name) const { return dir_.filePath(name); }

    test::DesktopRun Desktop(const QStringList& arguments) { return test::RunDesktop(dir_.path(), arguments); }

    void Write(const QString& name, const QByteArray& content) {
        hostdb::testing::WriteBytes(File(name).toStdString(), content.toStdString());
    }

    QByteArray Read(const QString& name) { return test::FileBytes(File(name)); }

    QTemporaryDir dir_;
};

TEST_F(CsvRoutes, DemoDatabaseComesBackByteIdenticalIntoACopyWithoutValues) {
    ASSERT_EQ(Desktop({"--demo", File("demo.sqlite"), "--export-csv", File("first.csv")}).exitCode, 0);
    ASSERT_GT(Read("first.csv").count('\n'), 1000);
    ASSERT_TRUE(QFile::copy(File("demo.sqlite"), File("copy.sqlite")));
    hostdb::testing::RawSql(File("copy.sqlite").toStdString(), "DELETE FROM tracked_values");
    const test::DesktopRun import = Desktop({"--db", File("copy.sqlite"), "--import-csv", File("first.csv")});
    ASSERT_EQ(import.exitCode, 0) << import.output.toStdString();
    ASSERT_EQ(Desktop({"--db", File("copy.sqlite"), "--export-csv", File("second.csv")}).exitCode, 0);
    EXPECT_EQ(Read("second.csv"), Read("first.csv"));
}

TEST_F(CsvRoutes, EveryRefusalExitsNonZeroWithAMessage) {
    Write("foreign.csv", "when,what\r\n1,2\r\n");
    Write("latin1.csv", kHeader + "2024-03-01 08:00:00,Food,Apple,1,g,Caf\xE9\r\n");
    Write("mixed.csv", kHeader + kGoodRow + kRefusedRow);
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.csv"));
    struct Case {
        const char* name;
        QStringList arguments;
        int exitCode;
        const char* says;
    };
    const Case cases[] = {
        {"missing file", {"--import-csv", File("none.csv")}, 1, "Cannot open"},
        {"a folder", {"--import-csv", File("folder.csv")}, 1, "folder"},
        {"another header", {"--import-csv", File("foreign.csv")}, 1, "first line must be"},
        {"not UTF-8", {"--import-csv", File("latin1.csv")}, 1, "not UTF-8 text (line 2)"},
        {"refused rows, dry run",
         {"--import-csv", File("mixed.csv"), "--dry-run"},
         2,
         "Line 3: unknown group (Drinks)"},
        {"refused rows", {"--import-csv", File("mixed.csv")}, 2, "1 row was refused; the other rows were imported"},
        {"export over the database", {"--export-csv", File("orv.sqlite")}, 1, "is the open database"},
        {"export into a missing folder", {"--export-csv", File("none/values.csv")}, 1, "Cannot create"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test::DesktopRun run = Desktop(QStringList{"--db", File("orv.sqlite")} + c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.output.toStdString();
        EXPECT_TRUE(run.output.contains(c.says)) << run.output.toStdString();
    }
    // Only the run without --dry-run wrote, and only the good row.
    const test::DesktopRun check =
        Desktop({"--db", File("orv.sqlite"), "--import-csv", File("mixed.csv"), "--dry-run"});
    EXPECT_TRUE(check.output.contains("2 rows: 0 new, 1 already stored (skipped), 1 refused."))
        << check.output.toStdString();
}

class CsvMenuTest : public CsvRoutes {
protected:
    void SetUp() override {
        CsvRoutes::SetUp();
        std::string error;
        db_ = hostdb::SqliteHostDatabase::Open(File("orv.sqlite").toStdString(), &error);
        ASSERT_TRUE(db_) << error;
        menu_ = std::make_unique<CsvMenu>(
            &window_, [this] { return db_.get(); }, [this] { ++reloads_; });
        menu_->chooseImportFile = [this](QWidget*) { return File("in.csv"); };
    }

    std::string Values() {
        RecordCache cache;
        cache.LoadAll(db_.get());
        return exchange::ValuesCsv(cache);
    }

    QWidget window_;
    std::unique_ptr<hostdb::SqliteHostDatabase> db_;
    std::unique_ptr<CsvMenu> menu_;
    test::ScriptedServices services_;
    int reloads_ = 0;
};

TEST_F(CsvMenuTest, ImportShowsThePreviewAndWritesOnImportThenExportWritesTheChosenFile) {
    Write("in.csv", kHeader + kGoodRow + kRefusedRow);
    // Escape in the preview writes nothing.
    services_.dialogs.Expect<CsvPreviewDialog>(
        [](CsvPreviewDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    menu_->ImportAction()->trigger();
    EXPECT_EQ(Values(), kHeader.toStdString());
    EXPECT_EQ(services_.prompter.count(), 0u);

    services_.dialogs.Expect<CsvPreviewDialog>([](CsvPreviewDialog& dialog) {
        EXPECT_TRUE(dialog.PreviewText().contains("2 rows: 1 new, 0 already stored (skipped), 1 refused."));
        QTest::mouseClick(dialog.ImportButton(), Qt::LeftButton);
    });
    menu_->ImportAction()->trigger();
    EXPECT_EQ(Values(), (kHeader + kGoodRow).toStdString());
    EXPECT_EQ(reloads_, 1) << "the module reads the new values";

    services_.dialogs.AnswerSaveFile(File("out.csv"));
    menu_->ExportAction()->trigger();
    EXPECT_EQ(Read("out.csv"), kHeader + kGoodRow);
    EXPECT_TRUE(services_.prompter.last().text().contains(File("out.csv")));

    // The same file again: nothing new, so there is nothing to import.
    services_.dialogs.Expect<CsvPreviewDialog>([](CsvPreviewDialog& dialog) {
        EXPECT_FALSE(dialog.ImportButton()->isEnabled());
        dialog.reject();
    });
    menu_->ImportAction()->trigger();
    EXPECT_EQ(reloads_, 1);
}

}  // namespace
}  // namespace orv::host
