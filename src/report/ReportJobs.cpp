#include "report/ReportJobs.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/KeyValueStore.h"
#include "platform/ModulePath.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "report/PrintGuard.h"

namespace orv {
namespace {

// The semaphore is held by another job when it cannot be had almost at once.
constexpr std::chrono::milliseconds kGuardWait{100};
constexpr const char* kMailNote = "ORV Report";

ReportClock ClockNow() {
    const QDateTime now = Services::clock().now();
    const QDate date = now.date();
    const QTime time = now.time();
    return ReportClock{date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

PrintGuard& Guard() {
    // One guard per key for the life of the process.
    static std::optional<PrintGuard> guard;
    static QString key;
    const QString wanted = reportTools().semaphoreKey.isEmpty() ? QString::fromLatin1(PrintGuard::kDefaultKey)
                                                                : reportTools().semaphoreKey;
    if (!guard || key != wanted) {
        guard.reset();
        guard.emplace(wanted);
        key = wanted;
    }
    return *guard;
}

QString PrintProgram() {
    if (!reportTools().printProgram.isEmpty()) return reportTools().printProgram;
    return QString::fromStdString(ModuleDirectory()) + QStringLiteral("/orv-print");
}

QString MailProgram() {
    if (!reportTools().mailProgram.isEmpty()) return reportTools().mailProgram;
    const QString found = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    return found;  // empty: no mail support installed
}

bool WriteReport(const ReportContent& content, const QString& path) {
    return WriteReportFile(BuildReportText(content, ClockNow()), path.toStdString()) == 0;
}

void OfferDeletion(QWidget* page, const QString& path) {
    const QString question = QStringLiteral("Do you want to delete the report file?\n \"%1\"").arg(path);
    if (Services::prompter().askYesNo(page, QStringLiteral("ORV Desktop"), question)) QFile::remove(path);
}

void WarnPrinting(const char* text) {
    Services::prompter().show(nullptr, Message{QStringLiteral("Printing failed"), QString::fromLatin1(text),
                                               MessageIcon::Warning, MessageButtons::Ok});
}

// Runs the print helper on `path` and waits until the user closes it.
void RunPrintHelper(const QString& path) {
    QProcess helper;
    helper.setProcessChannelMode(QProcess::ForwardedChannels);
    helper.start(PrintProgram(), {path});
    if (!helper.waitForStarted()) return;
    helper.waitForFinished(-1);
}

// The print job proper, while the guard is held.
PrintOutcome PrintHeld(const QString& path, KeyValueStore* store) {
    std::string header = pagesetup::kDefaultHeader;
    std::string footer = pagesetup::kDefaultFooter;
    if (store) {
        for (const KeyScope scope : {KeyScope::User, KeyScope::System}) {
            const auto storedHeader = store->ReadText(scope, pagesetup::kPath, pagesetup::kSection, pagesetup::kHeader);
            const auto storedFooter = store->ReadText(scope, pagesetup::kPath, pagesetup::kSection, pagesetup::kFooter);
            if (!storedHeader && !storedFooter) continue;
            if (storedHeader) header = *storedHeader;
            if (storedFooter) footer = *storedFooter;
            break;
        }
        if (!store->WriteText(pagesetup::kPath, pagesetup::kSection, pagesetup::kHeader, " ")) {
            WarnPrinting("RegSetValueEx() failed for header.");
            return PrintOutcome::SetupFailed;
        }
        if (!store->WriteText(pagesetup::kPath, pagesetup::kSection, pagesetup::kFooter, " ")) {
            WarnPrinting("RegSetValueEx() failed for footer.");
            return PrintOutcome::SetupFailed;
        }
    }
    RunPrintHelper(path);
    if (store) {
        if (!store->WriteText(pagesetup::kPath, pagesetup::kSection, pagesetup::kHeader, header)) {
            WarnPrinting("RegSetValueEx() failed for header.");
            return PrintOutcome::SetupFailed;
        }
        if (!store->WriteText(pagesetup::kPath, pagesetup::kSection, pagesetup::kFooter, footer)) {
            WarnPrinting("RegSetValueEx() failed for footer.");
            return PrintOutcome::SetupFailed;
        }
    }
    return PrintOutcome::Printed;
}

}  // namespace

ReportTools& reportTools() {
    static ReportTools tools;
    return tools;
}

QString ReportFilePath() {
    const std::string directory =
        reportTools().reportDirectory.isEmpty() ? ModuleDirectory() : reportTools().reportDirectory.toStdString();
    return QString::fromStdString(BuildReportFileName(directory, ClockNow()));
}

PrintOutcome PrintReport(QWidget* page, const ReportContent& content, KeyValueStore* store) {
    const QString path = ReportFilePath();
    if (!WriteReport(content, path)) {
        Services::prompter().show(page, Message{QString(), QStringLiteral("Cannot create report file."),
                                                MessageIcon::Information, MessageButtons::Ok});
        return PrintOutcome::WriteFailed;
    }
    PrintOutcome outcome = PrintOutcome::Busy;
    PrintGuard& guard = Guard();
    if (guard.TryAcquire(kGuardWait)) {
        outcome = PrintHeld(path, store);
        guard.Release();
    } else {
        Services::prompter().show(nullptr, Message{QStringLiteral("Printer busy"),
                                                   QStringLiteral("Please wait until current print job has finished."),
                                                   MessageIcon::Information, MessageButtons::Ok});
    }
    OfferDeletion(page, path);
    return outcome;
}

MailOutcome MailReport(QWidget* page, const ReportContent& content) {
    const QString program = MailProgram();
    const QFileInfo info(program);
    if (program.isEmpty() || !info.exists()) {
        Services::prompter().information(page, QStringLiteral("Error"),
                                         QStringLiteral("Unable to load mail system support."));
        return MailOutcome::NoMailSupport;
    }
    if (!info.isFile() || !info.isExecutable()) {
        Services::prompter().information(page, QStringLiteral("Error"), QStringLiteral("Mail system DLL is invalid."));
        return MailOutcome::InvalidMailSupport;
    }

    // A report that cannot be written is still offered to the mail client.
    const QString path = ReportFilePath();
    WriteReport(content, path);

    QProcess mailer;
    mailer.setProcessChannelMode(QProcess::ForwardedChannels);
    mailer.start(program, {QStringLiteral("--attach"), path, QStringLiteral("--body"), QString::fromLatin1(kMailNote)});
    const bool finished = mailer.waitForStarted() && mailer.waitForFinished(-1);
    // xdg-email ends with 0 once the compose window is open; the user
    // closing that window is not a failure.
    const bool sent = finished && mailer.exitStatus() == QProcess::NormalExit && mailer.exitCode() == 0;
    if (!sent) {
        Services::prompter().show(page,
                                  Message{QStringLiteral("Error"), QStringLiteral("Send Mail failed to send message."),
                                          MessageIcon::None, MessageButtons::Ok});
    }
    OfferDeletion(page, path);
    return sent ? MailOutcome::Sent : MailOutcome::Failed;
}

}  // namespace orv
