// orv-desktop --report: the Tables page's report of a demo database written
// as HTML and as PDF from the command line, without a display.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace orv {
namespace {

class ReportCli : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_EQ(Run({"--demo", Path("demo.sqlite"), "--report", Path("first.html")}), 0);
    }

    int Run(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", Path("config"));
        env.insert("XDG_DATA_HOME", Path("data"));
        env.insert("XDG_CACHE_HOME", Path("cache"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(ORV_DESKTOP_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(120000)) << "orv-desktop did not finish";
        output_ = QString::fromLocal8Bit(process.readAll());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    QByteArray Read(const char* name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
    QString output_;
};

TEST_F(ReportCli, WritesTheChosenTargetAndPeriodAsHtml) {
    ASSERT_EQ(Run({"--db", Path("demo.sqlite"), "--report", Path("week.html"), "--target", "Blood glucose", "--period",
                   "7", "--details"}),
              0)
        << output_.toStdString();
    const QByteArray html = Read("week.html");
    EXPECT_TRUE(html.startsWith("<html><head><meta charset=\"utf-8\">"));
    EXPECT_TRUE(html.contains("<center><H1>7 days, Blood glucose (in mmol/L)</h1></center>")) << html.constData();
    EXPECT_EQ(html.count("<tr><td>"), 7);
    EXPECT_TRUE(html.contains("<td style=\"padding:0;\">"));
    // Without options: the stored Tables state, details off.
    EXPECT_TRUE(Read("first.html").contains("<center><H1>7 days, "));
    EXPECT_FALSE(Read("first.html").contains("padding:0;"));
}

TEST_F(ReportCli, WritesAPdfAndRefusesAnUnknownTarget) {
    ASSERT_EQ(Run({"--db", Path("demo.sqlite"), "--report", Path("month.pdf"), "--period", "30"}), 0)
        << output_.toStdString();
    EXPECT_TRUE(Read("month.pdf").startsWith("%PDF-"));

    EXPECT_NE(Run({"--db", Path("demo.sqlite"), "--report", Path("refused.pdf"), "--target", "No such target"}), 0);
    EXPECT_TRUE(output_.contains("no target named")) << output_.toStdString();
    EXPECT_FALSE(QFile::exists(Path("refused.pdf")));
}

}  // namespace
}  // namespace orv
