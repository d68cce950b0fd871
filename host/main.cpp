// orv-desktop: the desktop host of the ORV tracking module.
//
//   orv-desktop [--db FILE] [--module FILE]   open a database (default: the
//                                             user's own) and show the module
//   orv-desktop --demo FILE [--values N]      write a sample database with
//                                             months of values (or N values),
//                                             then open it
//   orv-desktop --backup OUT.sqlite [--db FILE]
//                                             copy the database while it may
//                                             be in use
//   orv-desktop --screenshot DIR [--db FILE]  picture every page and dialog
//                                             into DIR without a display
//   orv-desktop --export-values OUT.xlsx [--db FILE]
//   orv-desktop --export-structure OUT.xlsx [--db FILE]
//                                             write a workbook without a
//                                             display or dialogs
//   orv-desktop --report OUT.html|OUT.pdf [--db FILE] [--target NAME]
//               [--period 7|15|30|60|120] [--details]
//                                             write the Tables page's report
//   orv-desktop --export-csv OUT.csv [--db FILE]
//   orv-desktop --import-csv IN.csv [--dry-run] [--db FILE]
//                                             values as CSV, out and back in

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

#include <cstdio>

#include "host/HostWindow.h"
#include "host/PluginLoader.h"
#include "host/Screenshots.h"
#include "host/WorkbookExport.h"
#include "host/cli/CsvCommands.h"
#include "host/cli/DemoCommand.h"
#include "host/cli/ReportCommand.h"
#include "host/cli/StartupMessage.h"
#include "host/db/DemoData.h"
#include "host/db/SqliteHostDatabase.h"

namespace {

QString DefaultDatabasePath() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/orv");
    QDir().mkpath(dir);
    return dir + QStringLiteral("/orv.sqlite");
}

// Set once the command line is known: whether errors are shown in a box too.
bool gErrorBoxes = false;

int Fail(const QString& message) {
    std::fprintf(stderr, "orv-desktop: %s\n", message.toLocal8Bit().constData());
    if (gErrorBoxes) {
        QMessageBox::critical(nullptr, QStringLiteral("ORV Desktop"), orv::host::StartupErrorText(message));
    }
    return 1;
}

// The picture and export modes need no display: they run on the offscreen
// platform unless the caller chose one.
void UseOffscreenForBatchModes(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg.startsWith("--screenshot") || arg.startsWith("--export-") || arg.startsWith("--import-") ||
            arg.startsWith("--backup") || arg.startsWith("--report")) {
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
    const QCommandLineOption valuesOption(QStringLiteral("values"),
                                          QStringLiteral("With --demo: the number of sample values to write."),
                                          QStringLiteral("N"));
    const QCommandLineOption backupOption(
        QStringLiteral("backup"), QStringLiteral("Copy the database to FILE, then quit."), QStringLiteral("FILE"));
    parser.addOptions({dbOption, moduleOption, demoOption, valuesOption, screenshotOption, exportValuesOption,
                       exportStructureOption, backupOption, exportCsvOption, importCsvOption, dryRunOption});
    const QCommandLineOption reportOption(
        QStringLiteral("report"), QStringLiteral("Write the Tables page's report to FILE (.html or .pdf), then quit."),
        QStringLiteral("FILE"));
    const QCommandLineOption targetOption(QStringLiteral("target"), QStringLiteral("Target of --report."),
                                          QStringLiteral("NAME"));
    const QCommandLineOption periodOption(
        QStringLiteral("period"), QStringLiteral("Days of --report: 7, 15, 30, 60 or 120."), QStringLiteral("DAYS"));
    const QCommandLineOption detailsOption(QStringLiteral("details"), QStringLiteral("--report shows the values."));
    parser.addOptions({reportOption, targetOption, periodOption, detailsOption});
    parser.process(app);
    const bool batchMode = parser.isSet(screenshotOption) || parser.isSet(exportValuesOption) ||
                           parser.isSet(exportStructureOption) || parser.isSet(backupOption) ||
                           parser.isSet(reportOption) || parser.isSet(exportCsvOption) || parser.isSet(importCsvOption);
    gErrorBoxes = orv::host::ShowsStartupErrorBox(QGuiApplication::platformName(), batchMode);

    if (parser.isSet(dryRunOption) && !parser.isSet(importCsvOption)) {
        return Fail(QStringLiteral("--dry-run goes with --import-csv."));
    }
    QString dbPath = parser.isSet(dbOption) ? parser.value(dbOption) : DefaultDatabasePath();
    std::string error;
    if (parser.isSet(demoOption)) {
        dbPath = parser.value(demoOption);
        QString demoError;
        if (!orv::host::WriteDemo(dbPath, parser.value(valuesOption), &demoError)) return Fail(demoError);
    } else if (parser.isSet(valuesOption)) {
        return Fail(QStringLiteral("--values goes with --demo."));
    }
    auto db = orv::hostdb::SqliteHostDatabase::Open(dbPath.toStdString(), &error);
    if (!db) return Fail(QString::fromStdString(error));

    if (parser.isSet(backupOption)) {
        const QString out = parser.value(backupOption);
        if (!db->BackupTo(out.toStdString(), &error)) return Fail(QString::fromStdString(error));
        std::printf("%s written\n", out.toLocal8Bit().constData());
        return 0;
    }

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

    if (parser.isSet(reportOption)) {
        orv::host::ReportRequest request;
        request.out = parser.value(reportOption);
        request.target = parser.value(targetOption);
        if (parser.isSet(periodOption)) request.periodDays = parser.value(periodOption).toInt();
        request.details = parser.isSet(detailsOption);
        QString message;
        if (!orv::host::WriteTablesReport(*db, request, &message)) return Fail(message);
        std::printf("%s written\n", request.out.toLocal8Bit().constData());
        return 0;
    }

    // Pictures are taken on copies of the database and the registry store.
    std::unique_ptr<orv::host::ScreenshotSandbox> sandbox;
    if (parser.isSet(screenshotOption)) {
        QString sandboxError;
        sandbox = orv::host::ScreenshotSandbox::Create(*db, &sandboxError);
        if (sandbox) db = sandbox->OpenCopy(&sandboxError);
        if (!sandbox || !db) return Fail(sandboxError);
    }

    QString loadError;
    const QString modulePath = parser.isSet(moduleOption) ? parser.value(moduleOption) : orv::host::DefaultModulePath();
    const auto plugin = orv::host::PluginLibrary::Load(modulePath, &loadError);
    if (!plugin) return Fail(loadError);

    orv::host::HostWindow window(*plugin, std::move(db), QFileInfo(dbPath).absoluteFilePath());
    window.StartModule();
    if (sandbox) {
        window.SetRemembersScheme(false);
        QString shotError;
        const int written = orv::host::WriteScreenshots(window, parser.value(screenshotOption), &shotError);
        window.StopModule();
        if (!shotError.isEmpty()) return Fail(shotError);
        std::printf("%d pictures written to %s\n", written, parser.value(screenshotOption).toLocal8Bit().constData());
        return 0;
    }
    window.show();
    return app.exec();
}
