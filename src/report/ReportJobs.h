#pragma once
// What the Tables page's "Print" and "Send e-mail" buttons do with a report:
// write it to the user's reports folder, hand it to the print helper (then
// offer to delete the file) or to the mail client (which still needs the
// file after xdg-email returns, so it stays; old reports are pruned when the
// module starts). Messages go through the Prompter; the programs and folders
// come from the Environment service.

#include <QDateTime>
#include <QString>

#include "report/ReportText.h"

class QWidget;

namespace orv {

class KeyValueStore;

// The page setup the print helper honours, per user.
namespace pagesetup {
inline constexpr const char* kPath = "Software\\Microsoft\\Internet Explorer";
inline constexpr const char* kSection = "PageSetup";
inline constexpr const char* kHeader = "header";
inline constexpr const char* kFooter = "footer";
inline constexpr const char* kDefaultHeader = "&w&bPage &p of &P";
inline constexpr const char* kDefaultFooter = "&u&b&d";
}  // namespace pagesetup

// Local civil time as the report's name and heading use it.
HostDateTime ToHostDateTime(const QDateTime& time);

enum class PrintOutcome { Printed, WriteFailed, Busy, GuardFailed, SetupFailed, HelperMissing };

// The folder reports are written to, created when missing.
QString ReportDirectory();

// The report's file name for "now" from the clock service.
QString ReportFilePath();

// Removes the report files in `directory` last changed more than seven days
// before `now`; other files are left alone. Returns how many were removed.
int PruneOldReports(const QString& directory, const QDateTime& now);
// The same for the reports folder and the clock's "now".
int PruneOldReports();

// "Print": writes the report, blanks the page header and footer in `store`
// while the print helper runs (waiting for it to exit), restores them and
// asks whether to delete the file. `store` may be null (page setup is then
// left alone).
PrintOutcome PrintReport(QWidget* page, const ReportContent& content, KeyValueStore* store);

enum class MailOutcome { Sent, NoMailSupport, InvalidMailSupport, Failed };

// "Send e-mail": writes the report and opens the mail client's compose
// window with the file attached.
MailOutcome MailReport(QWidget* page, const ReportContent& content);

}  // namespace orv
