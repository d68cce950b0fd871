// The printed layout of a report: PDF pages from the print helper whose word
// boxes, read back with pdftotext (-bbox), show table text at a readable size,
// the page header, and the chosen page range. Also the page range logic.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fstream>
#include <tuple>

#include "report/PrintLayout.h"
#include "report/ReportText.h"
#include "support/Dates.h"

namespace orv {
namespace {

// Runs a poppler tool; empty when it is missing or fails.
QString RunTool(const QString& tool, const QStringList& args) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) return {};
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Each word of a PDF and its height in points.
std::vector<std::pair<QString, double>> Words(const QString& pdf) {
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="[\d.]+" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<std::pair<QString, double>> words;
    const QString xml = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    for (const auto& match : word.globalMatch(xml))
        words.push_back({match.captured(3), match.captured(2).toDouble() - match.captured(1).toDouble()});
    return words;
}

// 120 days, each with two values: several pages.
std::string LongReport() {
    ReportContent content{.heading = "120 days, Carbs (in g)",
                          .days = {},
                          .showDetails = true,
                          .statistics = "Average: 4.00000, Sum: 960.00000"};
    for (int i = 0; i < 120; ++i) {
        const auto at = [&](int hour) { return test::MakeDate(2008, 1 + i / 28, 1 + i % 28, hour); };
        content.days.push_back(
            {.start = at(0),
             .total = 8.0f,
             .details = {{at(8), "Bread", 1.5f, "g", "toast", 3.0f}, {at(20), "Rice", 2.5f, "g", "", 5.0f}}});
    }
    return BuildReportText(content, test::MakeDate(2008, 8, 27, 17, 5, 9));
}

class PrintLayoutTest : public testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "poppler-utils (pdftotext) not installed";
    }
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir_;
};

// The print helper writes every page, table text at a readable size under
// the header, or only the chosen pages, or nothing for pages that are none.
TEST_F(PrintLayoutTest, TheHelperPrintsTableTextAtScreenSizeUnderTheHeaderOnTheChosenPages) {
    const QString html = Path("report.html");
    std::ofstream(html.toStdString()) << LongReport();
    const auto print = [&](const char* pdf, const QStringList& pages) {
        QProcess helper;
        helper.start(QStringLiteral(ORV_PRINT_PROGRAM),
                     QStringList{QStringLiteral("--pdf"), Path(pdf)} + pages << html);
        EXPECT_TRUE(helper.waitForFinished(60000));
        return helper.exitCode();
    };
    ASSERT_EQ(print("all.pdf", {}), 0);
    // The text of each page ends with a form feed.
    const QString text = RunTool(QStringLiteral("pdftotext"), {Path("all.pdf"), QStringLiteral("-")});
    const int pages = static_cast<int>(text.count(QLatin1Char('\f')));
    ASSERT_GT(pages, 1);
    int cells = 0;
    for (const auto& [word, height] : Words(Path("all.pdf"))) {
        if (word != QStringLiteral("Bread") && word != QStringLiteral("3.00000")) continue;
        ++cells;
        // 12px at 96 per inch is 9 pt; a layout in printer dots gives < 1 pt.
        EXPECT_GE(height, 7.0) << word.toStdString();
        EXPECT_LE(height, 14.0) << word.toStdString();
    }
    EXPECT_EQ(cells, 240);
    EXPECT_EQ(text.count(QRegularExpression(QStringLiteral(R"(Page \d+ of %1)").arg(pages))), pages);

    ASSERT_EQ(print("two.pdf", {QStringLiteral("--pages"), QStringLiteral("2-2")}), 0);
    const QString two = RunTool(QStringLiteral("pdftotext"), {Path("two.pdf"), QStringLiteral("-")});
    EXPECT_EQ(two.count(QLatin1Char('\f')), 1);
    EXPECT_TRUE(two.contains(QRegularExpression(QStringLiteral(R"(Page 2 of \d+)")))) << two.toStdString();
    // A range past the last page writes nothing and says so.
    EXPECT_EQ(print("none.pdf", {QStringLiteral("--pages"), QStringLiteral("90")}), 1);
    EXPECT_FALSE(QFile::exists(Path("none.pdf")));
}

TEST(PageRanges, ChosenPagesOfADocument) {
    using Ranges = std::vector<print::PageRange>;
    // Text, page count, pages printed (none with an invalid text).
    const std::tuple<const char*, int, std::vector<int>> rows[] = {
        {"2-2", 5, {2}},    {"1-3,5", 5, {1, 2, 3, 5}},
        {"4-9", 5, {4, 5}}, {"3,1-2,2", 3, {1, 2, 3}},
        {"0-2", 5, {}},     {"3-2", 5, {}},
        {"", 5, {}},        {"1,,x", 5, {}},
    };
    for (const auto& [text, count, expected] : rows) {
        const auto ranges = print::ParsePageRanges(text);
        EXPECT_EQ(ranges ? print::PagesToPrint(*ranges, count) : std::vector<int>{}, expected) << text;
    }
    EXPECT_EQ(print::PagesToPrint(Ranges{}, 3), (std::vector<int>{1, 2, 3}));
}

}  // namespace
}  // namespace orv
