// Printing and mailing a report with scripted message boxes: the print
// helper and the mail client are small scripts in a temporary folder that
// record how they were called, so no printer or mail client is started.
// The clock stands at 2008-08-27 12:00:00.

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLockFile>
#include <QPushButton>
#include <QSettings>

#include <functional>
#include <tuple>

#include "report/ReportJobs.h"
#include "support/FileBytes.h"
#include "support/ModuleFixture.h"
#include "ui/PluginMainWindow.h"
#include "ui/tables/TablesPage.h"

namespace orv {
namespace {

class ReportJobsTest : public test::ModuleFixture {
protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        Reset();
    }
    void Reset() {
        services_.prompter.clear();
        services_.environment.reportDirectory = dir_.path();
        services_.environment.lockPath = TempPath(QStringLiteral("print.lock"));
        services_.environment.printProgram = Script("print", 0);
        services_.environment.mailProgram = Script("mail", 0);
    }

    // A program that records its arguments and, while it runs, the user's
    // page setup file, then exits with `code`.
    QString Script(const QString& name, int code) {
        const QString path = TempPath(name + QStringLiteral(".sh"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1.args'\ncp '%2' '%1.setup' 2>/dev/null\nexit %3\n")
                .arg(TempPath(name), store_->UserFile())
                .arg(code)
                .toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    QString Recorded(const QString& name) { return QString::fromUtf8(test::FileBytes(TempPath(name))); }
    std::string PageSetup(const QString& file, const char* name) {
        QSettings ini(file, QSettings::IniFormat);
        return ini.value(QStringLiteral("Software/Microsoft/Internet Explorer/PageSetup/%1").arg(QLatin1String(name)))
            .toString()
            .toStdString();
    }
    QString ReportPath() const { return dir_.filePath(QStringLiteral("ORVReport-2008-27-8-12-0-0.html")); }

    ReportContent Content() {
        return {.heading = "7 days, Carbs (in g)",
                .days = std::vector<ReportDay>(7),
                .showDetails = false,
                .statistics = ""};
    }
};

// Print jobs that fail before the helper runs: the outcome and a message
// (then the deletion question when the report was written); the helper is
// never started and the page setup is never left blank.
TEST_F(ReportJobsTest, FailedPrintJobsSayWhyAndStartNoHelper) {
    QLockFile held(TempPath(QStringLiteral("held.lock")));
    ASSERT_TRUE(held.tryLock(0));
    // Case, preparation, outcome, messages (with the deletion question once the
    // report was written).
    const std::tuple<const char*, std::function<void()>, PrintOutcome, std::size_t> cases[] = {
        {"a report folder under a file",
         [&] {
             ASSERT_TRUE(QFile(TempPath(QStringLiteral("blocker"))).open(QIODevice::WriteOnly));
             services_.environment.reportDirectory = TempPath(QStringLiteral("blocker/reports"));
         },
         PrintOutcome::WriteFailed, 1},
        {"another job holds the lock", [&] { services_.environment.lockPath = TempPath(QStringLiteral("held.lock")); },
         PrintOutcome::Busy, 2},
        {"the lock cannot be created",
         [&] { services_.environment.lockPath = TempPath(QStringLiteral("missing/print.lock")); },
         PrintOutcome::GuardFailed, 2},
        {"no print helper", [&] { services_.environment.printProgram = TempPath(QStringLiteral("no-orv-print")); },
         PrintOutcome::HelperMissing, 1},
    };
    for (const auto& [name, prepare, outcome, messages] : cases) {
        SCOPED_TRACE(name);
        Reset();
        prepare();
        if (messages > 1) services_.prompter.AnswerNo();
        EXPECT_EQ(PrintReport(nullptr, Content(), store_.get()), outcome);
        EXPECT_EQ(services_.prompter.count(), messages);
        EXPECT_FALSE(QFile::exists(TempPath(QStringLiteral("print.args"))));
        EXPECT_NE(PageSetup(store_->UserFile(), "header"), " ") << "the page setup is never left blank";
    }
    EXPECT_EQ(PageSetup(store_->UserFile(), "header"), "&w&bPage &p of &P") << "restored after the missing helper";
    // Once the other job ends, the next one prints.
    held.unlock();
    Reset();
    services_.environment.lockPath = TempPath(QStringLiteral("held.lock"));
    services_.prompter.AnswerNo();
    EXPECT_EQ(PrintReport(nullptr, Content(), store_.get()), PrintOutcome::Printed);
}

TEST_F(ReportJobsTest, MailAttachesTheReportAndKeepsItWithoutAskingOrSaysWhyNot) {
    EXPECT_EQ(MailReport(nullptr, Content()), MailOutcome::Sent);
    EXPECT_EQ(Recorded(QStringLiteral("mail.args")),
              QStringLiteral("--attach\n%1\n--body\nORV Report\n").arg(ReportPath()));
    EXPECT_EQ(services_.prompter.count(), 0u);
    EXPECT_TRUE(QFile::exists(ReportPath()));

    // A failing or missing mail client is reported.
    services_.environment.mailProgram = Script(QStringLiteral("mail"), 4);
    EXPECT_EQ(MailReport(nullptr, Content()), MailOutcome::Failed);
    EXPECT_EQ(services_.prompter.count(), 1u);
    services_.environment.mailProgram = TempPath(QStringLiteral("no-xdg-email"));
    QFile::remove(ReportPath());
    EXPECT_EQ(MailReport(nullptr, Content()), MailOutcome::NoMailSupport);
    EXPECT_EQ(services_.prompter.count(), 2u);
    EXPECT_FALSE(QFile::exists(ReportPath())) << "no report without a mail program";
}

// The Tables page's print button prints the figures the page shows. The
// helper runs with the page setup blanked, which is restored after; the
// report file is kept or goes as the user says.
TEST_F(ReportJobsTest, ThePrintButtonPrintsTheTablesPageWithThePageSetupBlankedMeanwhile) {
    PluginMainWindow& window = OpenMainWindow();
    window.SelectTab(Tab::Tables);
    TablesPage& page = *window.Tables();
    services_.prompter.AnswerNo();
    page.PrintButton()->click();

    const QString html = QString::fromUtf8(test::FileBytes(ReportPath()));
    EXPECT_TRUE(html.contains(QStringLiteral("<center><H1>%1</h1></center>").arg(page.HeadingLabel()->text())));
    EXPECT_TRUE(html.contains(QStringLiteral("<h1>%1</h1>").arg(page.StatisticsLabel()->text())));
    EXPECT_EQ(html.count(QStringLiteral("<tr><td>")), page.DayCount());
    EXPECT_EQ(Recorded(QStringLiteral("print.args")), ReportPath() + QLatin1Char('\n'));
    EXPECT_EQ(PageSetup(TempPath(QStringLiteral("print.setup")), "header"), " ");
    EXPECT_EQ(PageSetup(store_->UserFile(), "header"), "&w&bPage &p of &P");
    EXPECT_EQ(PageSetup(store_->UserFile(), "footer"), "&u&b&d");
    ASSERT_EQ(services_.prompter.count(), 1u);
    EXPECT_EQ(services_.prompter.last().text(),
              QStringLiteral("Do you want to delete the report file?\n \"%1\"").arg(ReportPath()));

    // The user's own header is kept; the file goes when the user says so.
    store_->WriteText(pagesetup::kPath, pagesetup::kSection, pagesetup::kHeader, "&d");
    services_.prompter.AnswerYes();
    page.PrintButton()->click();
    EXPECT_EQ(PageSetup(store_->UserFile(), "header"), "&d");
    EXPECT_FALSE(QFile::exists(ReportPath()));
}

}  // namespace
}  // namespace orv
