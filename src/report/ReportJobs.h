#pragma once
// What the Tables page's "Print" and "Send e-mail" buttons do with a report:
// write it next to the module, hand it to the print helper or the mail
// client, then offer to delete the file. Messages go through the Prompter.

#include <QString>

#include "report/ReportText.h"

class QWidget;

namespace orv {

class KeyValueStore;

// Where the jobs find their programs and put their files. Empty entries
// mean the defaults; tests point them at scripts, missing paths or a
// temporary folder.
struct ReportTools {
    QString printProgram;     // default: orv-print next to the module
    QString mailProgram;      // default: xdg-email from PATH
    QString reportDirectory;  // default: the module's directory
    QString semaphoreKey;     // default: "PrintHtmlSema"
};
ReportTools& reportTools();

// The page setup the print helper honours, per user.
namespace pagesetup {
inline constexpr const char* kPath = "Software\\Microsoft\\Internet Explorer";
inline constexpr const char* kSection = "PageSetup";
inline constexpr const char* kHeader = "header";
inline constexpr const char* kFooter = "footer";
inline constexpr const char* kDefaultHeader = "&w&bPage &p of &P";
inline constexpr const char* kDefaultFooter = "&u&b&d";
}  // namespace pagesetup

enum class PrintOutcome { Printed, WriteFailed, Busy, SetupFailed };

// The report's file name for "now" from the clock service.
QString ReportFilePath();

// "Print": writes the report, blanks the page header and footer in `store`
// while the print helper runs (waiting for it to exit), restores them and
// asks whether to delete the file. `store` may be null (page setup is then
// left alone).
PrintOutcome PrintReport(QWidget* page, const ReportContent& content, KeyValueStore* store);

enum class MailOutcome { Sent, NoMailSupport, InvalidMailSupport, Failed };

// "Send e-mail": writes the report and opens the mail client's compose
// window with the file attached, then asks whether to delete the file.
MailOutcome MailReport(QWidget* page, const ReportContent& content);

}  // namespace orv
