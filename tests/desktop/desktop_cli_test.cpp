// orv-desktop run as a user runs it, from the command line, without a display.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

#include "data/RecordCache.h"
#include "host/db/SqliteHostDatabase.h"

namespace orv {
namespace {

struct ProcessResult {
    int exitCode = -1;
    QString output;
};

class DesktopCli : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    ProcessResult Start(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", dir_.filePath("config"));
        env.insert("XDG_DATA_HOME", dir_.filePath("data"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(ORV_DESKTOP_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(120000)) << "orv-desktop did not finish";
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAll())};
    }

    QTemporaryDir dir_;
};

TEST_F(DesktopCli, AForeignFileIsRefusedAndLeftUntouched) {
    const QString path = dir_.filePath("notes.txt");
    QByteArray content("These are my notes, not a database.\n");
    content.append(QByteArray(5000, 'x'));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const ProcessResult run = Start({"--db", path, "--screenshot", dir_.filePath("shots")});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_FALSE(run.output.trimmed().isEmpty()) << "a refusal says why";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), content);
    EXPECT_FALSE(QFile::exists(path + "-wal"));
    EXPECT_FALSE(QDir(dir_.filePath("shots")).exists()) << "nothing was shown";
}

TEST_F(DesktopCli, DemoDatabaseAndScreenshots) {
    const QString db = dir_.filePath("demo.sqlite");
    const QString shots = dir_.filePath("shots");
    const ProcessResult run = Start({"--demo", db, "--screenshot", shots});
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();

    for (const char* page : {"values", "charts", "tables", "groups-items", "targets", "units"}) {
        const QImage picture(QDir(shots).filePath(QStringLiteral("page-%1.png").arg(page)));
        EXPECT_FALSE(picture.isNull()) << page;
        EXPECT_GT(picture.width(), 600) << page;
    }
    EXPECT_FALSE(QImage(QDir(shots).filePath("dialog-about.png")).isNull());
    EXPECT_FALSE(QImage(QDir(shots).filePath("dialog-chart-preferences.png")).isNull());

    // The sample holds months of values: readings and meals.
    std::string error;
    auto host = hostdb::SqliteHostDatabase::Open(db.toStdString(), &error);
    ASSERT_TRUE(host) << error;
    RecordCache cache;
    cache.LoadAll(host.get());
    ASSERT_GT(cache.Values().size(), 500u);
    const auto& inTime = cache.ValuesInTime();
    const uint32_t first = static_cast<uint32_t>(inTime.begin()->first);
    const uint32_t last = static_cast<uint32_t>(inTime.rbegin()->first);
    EXPECT_GE((last - first) / 86400u, 120u) << "at least four months";
    EXPECT_GE(cache.Groups().size(), 2u);
}

}  // namespace
}  // namespace orv
