// orv-desktop run as a user runs it, from the command line, without a display
// and with its per-user folders in a temporary folder. Its batch modes:
// --report writes the Tables page's report as HTML or PDF, and --screenshot
// pictures every page and the dialogs and changes nothing of the user's.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

#include "support/FileBytes.h"
#include "tests/desktop/DesktopProcess.h"
#include "tests/host/TestFiles.h"

namespace orv {
namespace {

using test::DesktopRun;

class DesktopCli : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    DesktopRun Start(const QStringList& arguments, const QStringList& wrapper = {}) {
        return test::RunDesktop(dir_.path(), arguments, wrapper);
    }

    // A sample database of a few hundred values, closed.
    QString Sample(const QString& name) {
        return QString::fromStdString(hostdb::testing::WriteSample(dir_.filePath(name).toStdString(), 300));
    }

    QTemporaryDir dir_;
};

std::string ValueCount(const QString& path) {
    return hostdb::testing::RawText(path.toStdString(), "SELECT count(*) FROM tracked_values");
}

void ExpectNoCompanions(const QString& path) {
    EXPECT_FALSE(QFile::exists(path + "-wal")) << path.toStdString();
    EXPECT_FALSE(QFile::exists(path + "-shm")) << path.toStdString();
}

// Refused runs say why and leave every file byte for byte as it was: a write
// over the open database under any spelling of its name, a damaged database,
// and a file that is not one (and then nothing is written).
TEST_F(DesktopCli, RefusedRunsSayWhyAndLeaveTheFilesUntouched) {
    const QString db = Sample("orv.sqlite");
    ASSERT_TRUE(QFile::link(db, dir_.filePath("link.sqlite")));
    ASSERT_TRUE(QDir(dir_.path()).mkdir("sub"));
    QByteArray damaged = test::FileBytes(Sample("damaged.sqlite"));
    ASSERT_GT(damaged.size(), 40000);
    damaged.replace(damaged.size() / 2, 8192, QByteArray(8192, 'Z'));
    hostdb::testing::WriteBytes(dir_.filePath("damaged.sqlite").toStdString(), damaged.toStdString());
    hostdb::testing::WriteBytes(dir_.filePath("notes.txt").toStdString(),
                                "These are my notes, not a database.\n" + std::string(5000, 'x'));
    const struct {
        const char* file;
        const char* option;
        const char* target;  // "out" is a new file that must not appear
        const char* says;
    } rows[] = {
        {"orv.sqlite", "--export-values", "orv.sqlite", "is the open database"},
        {"orv.sqlite", "--export-structure", "link.sqlite", "is the open database"},
        {"orv.sqlite", "--export-values", "sub/../orv.sqlite", "is the open database"},
        {"orv.sqlite", "--backup", "link.sqlite", "is the open database"},
        {"damaged.sqlite", "--export-values", "out", "damaged"},
        {"notes.txt", "--screenshot", "out", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.file) + " " + row.option + " " + row.target);
        const QString path = dir_.filePath(row.file);
        const QByteArray before = test::FileBytes(path);
        const DesktopRun run = Start({"--db", path, row.option, dir_.filePath(row.target)});
        EXPECT_NE(run.exitCode, 0);
        EXPECT_FALSE(run.output.trimmed().isEmpty()) << "a refusal says why";
        EXPECT_TRUE(run.output.contains(row.says)) << run.output.toStdString();
        if (QString(row.target) == "out") {
            EXPECT_FALSE(QFileInfo::exists(dir_.filePath("out")));
        }
        EXPECT_TRUE(test::FileBytes(path) == before) << "the file was changed";
        ExpectNoCompanions(path);
    }
}

TEST_F(DesktopCli, AReadOnlyDatabaseExportsForAnUnprivilegedUser) {
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    const bool asNobody = geteuid() == 0 && !setpriv.isEmpty() && getpwnam("nobody");
    if (geteuid() == 0 && !asNobody) GTEST_SKIP() << "needs setpriv and the user nobody to drop root";
    // nobody reads the database and writes the workbook and its own settings
    // in a folder of its own.
    const QString shared = dir_.filePath("shared");
    ASSERT_TRUE(QDir(dir_.path()).mkdir("shared"));
    const auto all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::WriteGroup |
                     QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(dir_.path(), all & ~(QFile::WriteGroup | QFile::WriteOther)));
    ASSERT_TRUE(QFile::setPermissions(shared, all));
    const QString db = Sample("orv.sqlite");
    ASSERT_TRUE(QFile::setPermissions(db, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QByteArray before = test::FileBytes(db);
    const QString out = shared + "/values.xlsx";
    const DesktopRun run = Start(
        {"--db", db, "--export-values", out},
        !asNobody ? QStringList{}
                  : QStringList{setpriv, "--reuid=nobody", "--regid=" + QString::number(getpwnam("nobody")->pw_gid),
                                "--clear-groups", "env", "HOME=" + shared, "XDG_CONFIG_HOME=" + shared,
                                "XDG_DATA_HOME=" + shared, "XDG_CACHE_HOME=" + shared, "XDG_RUNTIME_DIR=" + shared});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_GT(QFileInfo(out).size(), 0);
    EXPECT_TRUE(test::FileBytes(db) == before);
    ExpectNoCompanions(db);
}

TEST_F(DesktopCli, DemoWithAValueCountAndItsBackup) {
    const QString db = dir_.filePath("demo.sqlite");
    const QString backup = dir_.filePath("copy.sqlite");
    const DesktopRun run = Start({"--demo", db, "--values", "250", "--backup", backup});
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_EQ(ValueCount(db), "250");
    EXPECT_EQ(ValueCount(backup), "250");
    std::string error;
    EXPECT_TRUE(hostdb::SqliteHostDatabase::Open(backup.toStdString(), &error)) << error;

    const DesktopRun bad = Start({"--demo", dir_.filePath("other.sqlite"), "--values", "many"});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_FALSE(QFile::exists(dir_.filePath("other.sqlite")));

    // A demo is never written over an existing database.
    const QByteArray before = test::FileBytes(db);
    EXPECT_NE(Start({"--demo", db, "--values", "10"}).exitCode, 0);
    EXPECT_TRUE(test::FileBytes(db) == before);
}

TEST_F(DesktopCli, ReportWritesTheChosenTargetAndPeriodAsHtmlOrPdfAndRefusesAnUnknownTarget) {
    const QString db = dir_.filePath("demo.sqlite");
    ASSERT_EQ(Start({"--demo", db, "--report", dir_.filePath("first.html")}).exitCode, 0);
    // Without options: the stored Tables state, details off.
    EXPECT_TRUE(test::FileBytes(dir_.filePath("first.html")).contains("<center><H1>7 days, "));
    EXPECT_FALSE(test::FileBytes(dir_.filePath("first.html")).contains("padding:0;"));

    DesktopRun done = Start({"--db", db, "--report", dir_.filePath("week.html"), "--target", "Blood glucose",
                             "--period", "7", "--details"});
    ASSERT_EQ(done.exitCode, 0) << done.output.toStdString();
    const QByteArray html = test::FileBytes(dir_.filePath("week.html"));
    EXPECT_TRUE(html.contains("<center><H1>7 days, Blood glucose (in mmol/L)</h1></center>")) << html.constData();
    EXPECT_EQ(html.count("<tr><td>"), 7);
    EXPECT_TRUE(html.contains("<td style=\"padding:0;\">"));

    done = Start({"--db", db, "--report", dir_.filePath("month.pdf"), "--period", "30"});
    ASSERT_EQ(done.exitCode, 0) << done.output.toStdString();
    EXPECT_TRUE(test::FileBytes(dir_.filePath("month.pdf")).startsWith("%PDF-"));

    done = Start({"--db", db, "--report", dir_.filePath("refused.pdf"), "--target", "No such target"});
    EXPECT_NE(done.exitCode, 0);
    EXPECT_TRUE(done.output.contains("no target named")) << done.output.toStdString();
    EXPECT_FALSE(QFile::exists(dir_.filePath("refused.pdf")));
}

TEST_F(DesktopCli, ScreenshotsChangeNothingOfTheUsers) {
    const auto run = [&](const QStringList& arguments) {
        const DesktopRun done = Start(arguments);
        EXPECT_EQ(done.exitCode, 0) << done.output.toStdString();
    };
    const QString db = dir_.filePath("demo.sqlite");
    run({"--demo", db, "--report", dir_.filePath("r.html")});
    // A chart preference of the user's, in the module's registry store.
    const QString store = dir_.filePath("config/orv/registry.ini");
    ASSERT_TRUE(QDir().mkpath(dir_.filePath("config/orv")));
    hostdb::testing::WriteBytes(store.toStdString(),
                                "[Software]\nOrvMain\\ORV\\ORVDesktop\\Base\\General\\ORV\\ORVSHOWGRID=0\n");
    const QByteArray database = test::FileBytes(db);
    const QByteArray registry = test::FileBytes(store);
    ASSERT_FALSE(database.isEmpty() || registry.isEmpty());

    const QString shots = dir_.filePath("shots");
    run({"--db", db, "--screenshot", shots});

    EXPECT_TRUE(test::FileBytes(db) == database) << "the database was changed";
    EXPECT_EQ(test::FileBytes(store), registry);
    EXPECT_FALSE(QFile::exists(db + "-wal") && QFile(db + "-wal").size() > 0);
    EXPECT_FALSE(QFile::exists(dir_.filePath("config/OrvMain/orv-desktop.conf")));
    EXPECT_GT(QImage(QDir(shots).filePath("page-values.png")).width(), 600);
}

}  // namespace
}  // namespace orv
