// orv-desktop --screenshot leaves the user's database and registry store as
// they were, and pictures every page and the dialogs.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace orv {
namespace {

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(ScreenshotCli, PicturesChangeNothingOfTheUsers) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto run = [&](const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("XDG_DATA_HOME", dir.filePath("data"));
        env.insert("XDG_CACHE_HOME", dir.filePath("cache"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(ORV_DESKTOP_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(180000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAll().constData();
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
    const QByteArray database = Contents(db);
    const QByteArray registry = Contents(store);
    ASSERT_FALSE(database.isEmpty());

    const QString shots = dir.filePath("shots");
    run({"--db", db, "--screenshot", shots});

    EXPECT_TRUE(Contents(db) == database) << "the database was changed";
    EXPECT_EQ(Contents(store), registry);
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
