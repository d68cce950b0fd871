// orv-desktop: the desktop host of the ORV tracking module.
//
//   orv-desktop [--db FILE] [--module FILE]   open a database (default: the
//                                             user's own) and show the module
//   orv-desktop --demo FILE                   write a sample database with
//                                             months of values, then open it

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>

#include "host/HostWindow.h"
#include "host/PluginLoader.h"
#include "host/db/DemoData.h"
#include "host/db/SqliteHostDatabase.h"

namespace {

QString DefaultDatabasePath() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/orv");
    QDir().mkpath(dir);
    return dir + QStringLiteral("/orv.sqlite");
}

int Fail(const QString& message) {
    std::fprintf(stderr, "orv-desktop: %s\n", message.toLocal8Bit().constData());
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orv-desktop"));
    QApplication::setOrganizationName(QStringLiteral("OrvMain"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ORV Desktop: personal tracking of measured values."));
    parser.addHelpOption();
    const QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("Database file to open."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption moduleOption(QStringLiteral("module"), QStringLiteral("Module file to load."),
                                          QStringLiteral("FILE"));
    const QCommandLineOption demoOption(QStringLiteral("demo"),
                                        QStringLiteral("Write a sample database to FILE and open it."),
                                        QStringLiteral("FILE"));
    parser.addOptions({dbOption, moduleOption, demoOption});
    parser.process(app);

    QString dbPath = parser.isSet(dbOption) ? parser.value(dbOption) : DefaultDatabasePath();
    std::string error;
    if (parser.isSet(demoOption)) {
        dbPath = parser.value(demoOption);
        if (!orv::hostdb::WriteDemoDatabase(dbPath.toStdString(), &error)) return Fail(QString::fromStdString(error));
    }
    auto db = orv::hostdb::SqliteHostDatabase::Open(dbPath.toStdString(), &error);
    if (!db) return Fail(QString::fromStdString(error));

    QString loadError;
    const QString modulePath = parser.isSet(moduleOption) ? parser.value(moduleOption) : orv::host::DefaultModulePath();
    const auto plugin = orv::host::PluginLibrary::Load(modulePath, &loadError);
    if (!plugin) return Fail(loadError);

    orv::host::HostWindow window(*plugin, std::move(db), QFileInfo(dbPath).absoluteFilePath());
    window.startModule();
    window.show();
    return app.exec();
}
