// orv-desktop's batch modes run from the command line without a display:
// --report writes the Tables page's report as HTML or PDF, and --screenshot
// pictures every page and the dialogs and changes nothing of the user's.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "desktop/RunDesktop.h"
#include "support/FileBytes.h"

namespace orv {
namespace {

TEST(ReportCli, WritesTheChosenTargetAndPeriodAsHtmlOrPdfAndRefusesAnUnknownTarget) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto run = [&](const QStringList& arguments) { return test::RunDesktop(dir.path(), arguments); };
    const QString db = dir.filePath("demo.sqlite");
    ASSERT_EQ(run({"--demo", db, "--report", dir.filePath("first.html")}).exitCode, 0);
    // Without options: the stored Tables state, details off.
    EXPECT_TRUE(test::FileBytes(dir.filePath("first.html")).contains("<center><H1>7 days, "));
    EXPECT_FALSE(test::FileBytes(dir.filePath("first.html")).contains("padding:0;"));

    test::DesktopRun done = run(
        {"--db", db, "--report", dir.filePath("week.html"), "--target", "Blood glucose", "--period", "7", "--details"});
    ASSERT_EQ(done.exitCode, 0) << done.output.toStdString();
    const QByteArray html = test::FileBytes(dir.filePath("week.html"));
    EXPECT_TRUE(html.startsWith("<html><head><meta charset=\"utf-8\">"));
    EXPECT_TRUE(html.contains("<center><H1>7 days, Blood glucose (in mmol/L)</h1></center>")) << html.constData();
    EXPECT_EQ(html.count("<tr><td>"), 7);
    EXPECT_TRUE(html.contains("<td style=\"padding:0;\">"));

    done = run({"--db", db, "--report", dir.filePath("month.pdf"), "--period", "30"});
    ASSERT_EQ(done.exitCode, 0) << done.output.toStdString();
    EXPECT_TRUE(test::FileBytes(dir.filePath("month.pdf")).startsWith("%PDF-"));

    done = run({"--db", db, "--report", dir.filePath("refused.pdf"), "--target", "No such target"});
    EXPECT_NE(done.exitCode, 0);
    EXPECT_TRUE(done.output.contains("no target named")) << done.output.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("refused.pdf")));
}

TEST(ScreenshotCli, PicturesChangeNothingOfTheUsers) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto run = [&](const QStringList& arguments) {
        const test::DesktopRun done = test::RunDesktop(dir.path(), arguments);
        EXPECT_EQ(done.exitCode, 0) << done.output.toStdString();
    };
    const QString db = dir.filePath("demo.sqlite");
    run({"--demo", db, "--report", dir.filePath("r.html")});
    // A chart preference of the user's, in the module's registry store.
    const QString store = dir.filePath("config/orv/registry.ini");
    ASSERT_TRUE(QDir().mkpath(dir.filePath("config/orv")));
    {
        QFile file(store);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Software]\nOrvMain\\ORV\\ORVDesktop\\Base\\General\\ORV\\ORVSHOWGRID=0\n");
    }
    const QByteArray database = test::FileBytes(db);
    const QByteArray registry = test::FileBytes(store);
    ASSERT_FALSE(database.isEmpty());

    const QString shots = dir.filePath("shots");
    run({"--db", db, "--screenshot", shots});

    EXPECT_TRUE(test::FileBytes(db) == database) << "the database was changed";
    EXPECT_EQ(test::FileBytes(store), registry);
    EXPECT_FALSE(QFile::exists(db + "-wal") && QFile(db + "-wal").size() > 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("config/OrvMain/orv-desktop.conf")));
    for (const char* page : {"values", "charts", "tables", "groups-items", "targets", "units"}) {
        const QImage picture(QDir(shots).filePath(QStringLiteral("page-%1.png").arg(page)));
        EXPECT_GT(picture.width(), 600) << page;
    }
    for (const char* name : {"dialog-about", "dialog-chart-preferences", "dialog-groups-items-new-group",
                             "dialog-groups-items-new-item", "dialog-targets-edit"})
        EXPECT_FALSE(QImage(QDir(shots).filePath(QStringLiteral("%1.png").arg(name))).isNull()) << name;
}

}  // namespace
}  // namespace orv
