// orv-desktop: the desktop host of the ORV tracking module.
//
//   orv-desktop [--db FILE] [--module FILE]   open a database (default: the
//                                             user's own) and show the module
//   orv-desktop --demo FILE                   write a sample database with
//                                             months of values, then open it
//   orv-desktop --screenshot DIR [--db FILE]  picture every page and dialog
//                                             into DIR without a display
//   orv-desktop --export-values OUT.xlsx [--db FILE]
//   orv-desktop --export-structure OUT.xlsx [--db FILE]
//                                             write a workbook without a
//                                             display or dialogs
//   orv-desktop --export-csv OUT.csv [--db FILE]
//   orv-desktop --import-csv IN.csv [--dry-run] [--db FILE]
//                                             values as CSV, out and back in

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>

#include "host/HostWindow.h"
#include "host/PluginLoader.h"
#include "host/Screenshots.h"
#include "host/WorkbookExport.h"
#include "host/cli/CsvCommands.h"
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

// The picture and export modes need no display: they run on the offscreen
// platform unless the caller chose one.
void UseOffscreenForBatchModes(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg.startsWith("--screenshot") || arg.startsWith("--export-") || arg.startsWith("--import-")) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
            return;
        }
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    UseOffscreenForBatchModes(argc, argv);
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
    const QCommandLineOption demoOption(
        QStringLiteral("demo"), QStringLiteral("Write a sample database to FILE and open it."), QStringLiteral("FILE"));
    const QCommandLineOption screenshotOption(QStringLiteral("screenshot"),
                                              QStringLiteral("Write one PNG per page and dialog into DIR, then quit."),
                                              QStringLiteral("DIR"));
    const QCommandLineOption exportValuesOption(QStringLiteral("export-values"),
                                                QStringLiteral("Export the values into the workbook FILE, then quit."),
                                                QStringLiteral("FILE"));
    const QCommandLineOption exportStructureOption(
        QStringLiteral("export-structure"), QStringLiteral("Export the structure into the workbook FILE, then quit."),
        QStringLiteral("FILE"));
    const QCommandLineOption exportCsvOption(QStringLiteral("export-csv"),
                                             QStringLiteral("Write every value to the CSV file FILE, then quit."),
                                             QStringLiteral("FILE"));
    const QCommandLineOption importCsvOption(
        QStringLiteral("import-csv"),
        QStringLiteral("Import the values of the CSV file FILE, skipping those already stored, then quit. Refused "
                       "rows are listed and the others imported; the exit code is 2 when any row was refused, 1 "
                       "when nothing could be imported."),
        QStringLiteral("FILE"));
    const QCommandLineOption dryRunOption(QStringLiteral("dry-run"),
                                          QStringLiteral("With --import-csv: show what would be imported, write "
                                                         "nothing."));
    parser.addOptions({dbOption, moduleOption, demoOption, screenshotOption, exportValuesOption, exportStructureOption,
                       exportCsvOption, importCsvOption, dryRunOption});
    parser.process(app);

    if (parser.isSet(dryRunOption) && !parser.isSet(importCsvOption)) {
        return Fail(QStringLiteral("--dry-run goes with --import-csv."));
    }
    QString dbPath = parser.isSet(dbOption) ? parser.value(dbOption) : DefaultDatabasePath();
    std::string error;
    if (parser.isSet(demoOption)) {
        dbPath = parser.value(demoOption);
        if (!orv::hostdb::WriteDemoDatabase(dbPath.toStdString(), &error)) return Fail(QString::fromStdString(error));
    }
    auto db = orv::hostdb::SqliteHostDatabase::Open(dbPath.toStdString(), &error);
    if (!db) return Fail(QString::fromStdString(error));

    if (parser.isSet(exportCsvOption)) {
        return orv::host::RunCsvExport(*db, parser.value(exportCsvOption).toStdString(), stdout, stderr);
    }
    if (parser.isSet(importCsvOption)) {
        return orv::host::RunCsvImport(*db, parser.value(importCsvOption).toStdString(), parser.isSet(dryRunOption),
                                       stdout, stderr);
    }
    if (parser.isSet(exportValuesOption) || parser.isSet(exportStructureOption)) {
        const bool values = parser.isSet(exportValuesOption);
        const QString out = parser.value(values ? exportValuesOption : exportStructureOption);
        const QString modulePath =
            parser.isSet(moduleOption) ? parser.value(moduleOption) : orv::host::DefaultModulePath();
        QString message;
        if (!orv::host::ExportWorkbook(*db, values, out, modulePath, &message)) return Fail(message);
        std::printf("%s written\n", out.toLocal8Bit().constData());
        return 0;
    }

    QString loadError;
    const QString modulePath = parser.isSet(moduleOption) ? parser.value(moduleOption) : orv::host::DefaultModulePath();
    const auto plugin = orv::host::PluginLibrary::Load(modulePath, &loadError);
    if (!plugin) return Fail(loadError);

    orv::host::HostWindow window(*plugin, std::move(db), QFileInfo(dbPath).absoluteFilePath());
    window.startModule();
    if (parser.isSet(screenshotOption)) {
        QString shotError;
        const int written = orv::host::WriteScreenshots(window, parser.value(screenshotOption), &shotError);
        window.stopModule();
        if (!shotError.isEmpty()) return Fail(shotError);
        std::printf("%d pictures written to %s\n", written, parser.value(screenshotOption).toLocal8Bit().constData());
        return 0;
    }
    window.show();
    return app.exec();
}
