#include "report/ReportJobs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/KeyValueStore.h"
#include "platform/ModulePath.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "report/PrintGuard.h"

namespace orv {

HostDateTime ToHostDateTime(const QDateTime& time) {
    const QDate date = time.date();
    const QTime clock = time.time();
    HostDateTime out;
    out.year = static_cast<uint16_t>(date.year());
    out.month = static_cast<uint16_t>(date.month());
    out.day = static_cast<uint16_t>(date.day());
    out.dayOfWeek = static_cast<uint16_t>(date.dayOfWeek() % 7);
    out.hour = static_cast<uint16_t>(clock.hour());
    out.minute = static_cast<uint16_t>(clock.minute());
    out.second = static_cast<uint16_t>(clock.second());
    return out;
}

namespace {

constexpr const char* kMailNote = "ORV Report";
constexpr qint64 kReportKeepDays = 7;

HostDateTime ClockNow() { return ToHostDateTime(Services::Clock().Now()); }

// The environment's entry, or the default when it is empty (only then
// worked out: finding it may touch the file system).
template <typename Default>
QString Or(const QString& entry, Default fallback) {
    return entry.isEmpty() ? fallback() : entry;
}

QString LockPath() { return Or(Services::Environment().lockPath, PrintGuard::DefaultLockPath); }

QString PrintProgram() {
    return Or(Services::Environment().printProgram,
              [] { return QString::fromStdString(ModuleDirectory()) + QStringLiteral("/orv-print"); });
}

// Empty: no mail support installed.
QString MailProgram() {
    return Or(Services::Environment().mailProgram,
              [] { return QStandardPaths::findExecutable(QStringLiteral("xdg-email")); });
}

QString ReportDirectoryPath() {
    return Or(Services::Environment().reportDirectory, [] {
        return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/reports");
    });
}

bool WriteReport(const ReportContent& content, const QString& path) {
    return WriteReportFile(BuildReportText(content, ClockNow()), path.toStdString()) == 0;
}

void OfferDeletion(QWidget* page, const QString& path) {
    const QString question = QStringLiteral("Do you want to delete the report file?\n \"%1\"").arg(path);
    if (Services::Prompter().AskYesNo(page, QStringLiteral("ORV Desktop"), question)) QFile::remove(path);
}

void WarnPrinting(const char* text) {
    Services::Prompter().Show(nullptr, Message{QStringLiteral("Printing failed"), QString::fromLatin1(text),
                                               MessageIcon::Warning, MessageButtons::Ok});
}

// Runs the print helper on `path` and waits until the user closes it.
// False when the helper could not be started at all.
bool RunPrintHelper(const QString& path) {
    QProcess helper;
    helper.setProcessChannelMode(QProcess::ForwardedChannels);
    helper.start(PrintProgram(), {path});
    if (!helper.waitForStarted()) return false;
    helper.waitForFinished(-1);
    return true;
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
    const bool started = RunPrintHelper(path);
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
    if (!started) {
        Services::Prompter().Show(
            nullptr, Message{QStringLiteral("Printing failed"),
                             QStringLiteral("The print helper \"%1\" could not be started.").arg(PrintProgram()),
                             MessageIcon::Warning, MessageButtons::Ok});
        return PrintOutcome::HelperMissing;
    }
    return PrintOutcome::Printed;
}

}  // namespace

QString ReportDirectory() {
    const QString directory = ReportDirectoryPath();
    // A folder that cannot be made shows up as a report that cannot be written.
    QDir().mkpath(directory);
    return directory;
}

QString ReportFilePath() {
    return QString::fromStdString(BuildReportFileName(ReportDirectory().toStdString(), ClockNow()));
}

int PruneOldReports(const QString& directory, const QDateTime& now) {
    const QDateTime limit = now.addDays(-kReportKeepDays);
    int removed = 0;
    const QFileInfoList reports =
        QDir(directory).entryInfoList({QStringLiteral("ORVReport-*.html")}, QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo& report : reports) {
        if (report.lastModified() < limit && QFile::remove(report.absoluteFilePath())) ++removed;
    }
    return removed;
}

int PruneOldReports() { return PruneOldReports(ReportDirectoryPath(), Services::Clock().Now()); }

PrintOutcome PrintReport(QWidget* page, const ReportContent& content, KeyValueStore* store) {
    const QString path = ReportFilePath();
    if (!WriteReport(content, path)) {
        Services::Prompter().Show(page, Message{QString(), QStringLiteral("Cannot create report file."),
                                                MessageIcon::Information, MessageButtons::Ok});
        return PrintOutcome::WriteFailed;
    }
    PrintOutcome outcome = PrintOutcome::Busy;
    PrintGuard guard(LockPath());
    switch (guard.TryAcquire()) {
    case PrintGuard::Result::Acquired:
        outcome = PrintHeld(path, store);
        guard.Release();
        break;
    case PrintGuard::Result::Busy:
        Services::Prompter().Show(nullptr, Message{QStringLiteral("Printer busy"),
                                                   QStringLiteral("Please wait until current print job has finished."),
                                                   MessageIcon::Information, MessageButtons::Ok});
        break;
    case PrintGuard::Result::Failed:
        Services::Prompter().Show(nullptr,
                                  Message{QStringLiteral("Printing failed"),
                                          QStringLiteral("Cannot create the print lock \"%1\".").arg(guard.Path()),
                                          MessageIcon::Warning, MessageButtons::Ok});
        outcome = PrintOutcome::GuardFailed;
        break;
    }
    // Without a helper nothing was shown: the file is of no use, and a
    // question about it would only bury the failure.
    if (outcome == PrintOutcome::HelperMissing)
        QFile::remove(path);
    else
        OfferDeletion(page, path);
    return outcome;
}

MailOutcome MailReport(QWidget* page, const ReportContent& content) {
    const QString program = MailProgram();
    const QFileInfo info(program);
    if (program.isEmpty() || !info.exists()) {
        Services::Prompter().Information(page, QStringLiteral("Error"),
                                         QStringLiteral("Unable to load mail system support."));
        return MailOutcome::NoMailSupport;
    }
    if (!info.isFile() || !info.isExecutable()) {
        Services::Prompter().Information(page, QStringLiteral("Error"), QStringLiteral("Mail system DLL is invalid."));
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
        Services::Prompter().Show(page,
                                  Message{QStringLiteral("Error"), QStringLiteral("Send Mail failed to send message."),
                                          MessageIcon::None, MessageButtons::Ok});
    }
    // No deletion question: xdg-email returns as soon as the compose window
    // opens, and the mail still needs its attachment.
    return sent ? MailOutcome::Sent : MailOutcome::Failed;
}

}  // namespace orv
