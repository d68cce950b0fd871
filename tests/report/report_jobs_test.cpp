// Printing and mailing a report with scripted message boxes: the print
// helper and the mail client are small scripts in a temporary folder that
// record how they were called, so no printer or mail client is started.
// The clock stands at 2008-08-27 12:00:00.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSystemSemaphore>

#include "report/ReportJobs.h"
#include "support/ModuleFixture.h"
#include "ui/PluginMainWindow.h"
#include "ui/tables/TablesPage.h"

namespace orv {
namespace {

class ReportJobsTest : public test::ModuleFixture {
protected:
    void SetUp() override {
        ModuleFixture::SetUp();
        saved_ = reportTools();
        reportTools().reportDirectory = dir_.path();
        reportTools().semaphoreKey = QStringLiteral("OrvReportTest-%1").arg(QCoreApplication::applicationPid());
        reportTools().printProgram = Script("print", 0);
        reportTools().mailProgram = Script("mail", 0);
    }
    void TearDown() override {
        reportTools() = saved_;
        ModuleFixture::TearDown();
    }

    // A program that records its arguments and, while it runs, the user's
    // page setup file, then exits with `code`.
    QString Script(const QString& name, int code) {
        const QString path = TempPath(name + QStringLiteral(".sh"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1.args'\ncp '%2' '%1.setup' 2>/dev/null\nexit %3\n")
                .arg(TempPath(name), store_->userFile())
                .arg(code)
                .toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    QString Recorded(const QString& name) {
        QFile file(TempPath(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    std::string PageSetup(const QString& file, const char* name) {
        QSettings ini(file, QSettings::IniFormat);
        return ini.value(QStringLiteral("Software/Microsoft/Internet Explorer/PageSetup/%1").arg(QLatin1String(name)))
            .toString()
            .toStdString();
    }
    QString ReportPath() const { return dir_.filePath(QStringLiteral("ORVReport-2008-27-8-12-0-0.html")); }

    ReportContent Content() {
        ReportContent content;
        content.heading = "7 days, Carbs (in g)";
        content.days.resize(7);
        return content;
    }

    ReportTools saved_;
};

TEST_F(ReportJobsTest, PrintingBlanksThePageSetupWhileTheHelperRunsAndRestoresTheDefaults) {
    services_.prompter.answerNo();
    EXPECT_EQ(PrintReport(nullptr, Content(), store_.get()), PrintOutcome::Printed);

    EXPECT_EQ(Recorded(QStringLiteral("print.args")), ReportPath() + QLatin1Char('\n'));
    EXPECT_EQ(PageSetup(TempPath(QStringLiteral("print.setup")), "header"), " ");
    EXPECT_EQ(PageSetup(store_->userFile(), "header"), "&w&bPage &p of &P");
    EXPECT_EQ(PageSetup(store_->userFile(), "footer"), "&u&b&d");

    ASSERT_EQ(services_.prompter.count(), 1u);
    EXPECT_EQ(services_.prompter.last().text(),
              QStringLiteral("Do you want to delete the report file?\n \"%1\"").arg(ReportPath()));
    EXPECT_TRUE(QFile::exists(ReportPath()));
}

TEST_F(ReportJobsTest, PrintingKeepsTheUsersOwnHeaderAndDeletesTheFileOnYes) {
    store_->WriteText(pagesetup::kPath, pagesetup::kSection, pagesetup::kHeader, "&d");
    services_.prompter.answerYes();
    PrintReport(nullptr, Content(), store_.get());
    EXPECT_EQ(PageSetup(store_->userFile(), "header"), "&d");
    EXPECT_FALSE(QFile::exists(ReportPath()));
}

TEST_F(ReportJobsTest, AReportThatCannotBeWrittenIsNotPrintedNorOfferedForDeletion) {
    reportTools().reportDirectory = TempPath(QStringLiteral("missing"));
    EXPECT_EQ(PrintReport(nullptr, Content(), store_.get()), PrintOutcome::WriteFailed);
    ASSERT_EQ(services_.prompter.count(), 1u);
    EXPECT_EQ(services_.prompter.last().text(), QStringLiteral("Cannot create report file."));
    EXPECT_FALSE(QFile::exists(TempPath(QStringLiteral("print.args"))));
}

TEST_F(ReportJobsTest, ASecondPrintJobWhileOneRunsIsTurnedAwayAtOnce) {
    reportTools().semaphoreKey += QStringLiteral("-busy");
    QSystemSemaphore held(reportTools().semaphoreKey, 1, QSystemSemaphore::Open);
    ASSERT_TRUE(held.acquire());
    services_.prompter.answerNo();
    const PrintOutcome outcome = PrintReport(nullptr, Content(), store_.get());
    held.release();

    EXPECT_EQ(outcome, PrintOutcome::Busy);
    ASSERT_EQ(services_.prompter.count(), 2u);
    EXPECT_EQ(services_.prompter.messages()[0].caption(), QStringLiteral("Printer busy"));
    EXPECT_EQ(services_.prompter.messages()[0].text(),
              QStringLiteral("Please wait until current print job has finished."));
    EXPECT_FALSE(QFile::exists(TempPath(QStringLiteral("print.args"))));
}

TEST_F(ReportJobsTest, MailAttachesTheReportAndAsksAboutDeletion) {
    services_.prompter.answerNo();
    EXPECT_EQ(MailReport(nullptr, Content()), MailOutcome::Sent);
    EXPECT_EQ(Recorded(QStringLiteral("mail.args")),
              QStringLiteral("--attach\n%1\n--body\nORV Report\n").arg(ReportPath()));
    EXPECT_EQ(services_.prompter.count(), 1u);
}

TEST_F(ReportJobsTest, AFailingMailClientIsReportedBeforeTheDeletionQuestion) {
    reportTools().mailProgram = Script(QStringLiteral("mail"), 4);
    services_.prompter.answerYes();
    EXPECT_EQ(MailReport(nullptr, Content()), MailOutcome::Failed);
    ASSERT_EQ(services_.prompter.count(), 2u);
    EXPECT_EQ(services_.prompter.messages()[0].text(), QStringLiteral("Send Mail failed to send message."));
    EXPECT_FALSE(QFile::exists(ReportPath()));
}

TEST_F(ReportJobsTest, WithoutAMailProgramMailSupportCannotBeLoaded) {
    reportTools().mailProgram = TempPath(QStringLiteral("no-xdg-email"));
    EXPECT_EQ(MailReport(nullptr, Content()), MailOutcome::NoMailSupport);
    ASSERT_EQ(services_.prompter.count(), 1u);
    EXPECT_EQ(services_.prompter.last().text(), QStringLiteral("Unable to load mail system support."));
    EXPECT_FALSE(QFile::exists(ReportPath()));
}

TEST_F(ReportJobsTest, ThePrintButtonPrintsTheFiguresTheTablesPageShows) {
    PluginMainWindow& window = OpenMainWindow();
    window.SelectTab(Tab::Tables);
    TablesPage& page = *window.Tables();
    services_.prompter.answerNo();
    page.printButton()->click();

    QFile file(ReportPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("<center><H1>%1</h1></center>").arg(page.headingLabel()->text())));
    EXPECT_TRUE(html.contains(QStringLiteral("<h1>%1</h1>").arg(page.statisticsLabel()->text())));
    EXPECT_EQ(html.count(QStringLiteral("<tr><td>")), page.dayCount());
}

}  // namespace
}  // namespace orv
