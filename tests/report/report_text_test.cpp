// The report's file name, its HTML text and the print helper's header and
// footer lines: plain text, no display.

#include <gtest/gtest.h>

#include "report/PageBand.h"
#include "report/ReportText.h"
#include "support/Dates.h"

namespace orv {
namespace {

HostDateTime At(int day, int hour, int minute) { return test::MakeDate(2008, 8, day, hour, minute); }

// Two days; the newer holds two values, the older none.
ReportContent TwoDays(bool details) {
    const ReportDay older{.start = At(26, 0, 0), .total = 0.0f, .details = {}};
    const ReportDay newer{.start = At(27, 0, 0),
                          .total = 8.0f,
                          .details = {{At(27, 8, 0), "Bread", 1.5f, "g", "<b>toast</b>", 3.0f},
                                      {At(27, 20, 0), "Rice", 2.5f, "g", "", 5.0f}}};
    return {.heading = "7 days, Carbs (in g)",
            .days = {older, newer},
            .showDetails = details,
            .statistics = "Average: 4.00000, Sum: 8.00000"};
}

const HostDateTime kNow = test::MakeDate(2008, 8, 27, 17, 5, 9);

TEST(ReportText, DetailsContinueTheDayRowAndLaterValuesGetTheirOwnRowWhenShown) {
    const std::string html = BuildReportText(TwoDays(true), kNow);
    const std::string newer =
        "<tr><td>08/27/2008</td><td>8.00000</td><td style=\"padding:0;\">"
        "<center><!-- table style=\"border-collapse:collapse\" border=1 -->"
        "08:00:00</td><td>Bread</td><td>1.50000</td><td>g</td><td>&lt;b&gt;toast&lt;/b&gt;</td><td>3.00000</td></tr>"
        "<tr><td "
        "colspan=\"2\"></td><td>20:00:00</td><td>Rice</td><td>2.50000</td><td>g</td><td></td><td>5.00000</td></tr>";
    // The older day follows the newer one and stops after the opening piece.
    const std::string older =
        "<tr><td>08/26/2008</td><td>0.00000</td><td style=\"padding:0;\">"
        "<center><!-- table style=\"border-collapse:collapse\" border=1 -->"
        "</table></center><br><center><h1>Average: 4.00000, Sum: 8.00000</h1></center></body></html>";
    EXPECT_NE(html.find(newer + older), std::string::npos) << html;

    // Without details every day row has two cells under the full header.
    const std::string plain = BuildReportText(TwoDays(false), kNow);
    EXPECT_NE(plain.find("<tr><td>08/27/2008</td><td>8.00000</td></tr><tr><td>08/26/2008</td><td>0.00000</td></tr>"
                         "</table>"),
              std::string::npos);
    EXPECT_EQ(plain.find("padding:0;"), std::string::npos);
}

TEST(ReportText, RecordTextIsEscapedAndTheDocumentDeclaresUtf8) {
    ReportContent content = TwoDays(true);
    content.heading = "7 days, Carbs <net> & \"fibre\" (in g)";
    content.days[1].details[1].itemName = "Wei\xc3\x9f";
    content.days[1].details[1].notes = "</table><h1>x</h1>'";
    const std::string html = BuildReportText(content, kNow);
    EXPECT_EQ(html.rfind("<html><head><meta charset=\"utf-8\">", 0), 0u);
    for (const char* part : {"<center><H1>7 days, Carbs &lt;net&gt; &amp; &quot;fibre&quot; (in g)</h1></center>",
                             "<td>Wei\xc3\x9f</td>", "<td>&lt;/table&gt;&lt;h1&gt;x&lt;/h1&gt;&#39;</td>"})
        EXPECT_NE(html.find(part), std::string::npos) << part;
    EXPECT_EQ(html.find("<h1>x"), std::string::npos);
}

TEST(PageBand, CodesExpandAndSplitIntoLeftCentreAndRight) {
    const print::BandValues values{
        .title = "Report", .url = "file:///r.html", .date = "8/27/08", .time = "", .page = 2, .pages = 5};
    const auto parts = [&](const char* codes) {
        const print::BandText band = print::ExpandBand(codes, values);
        return std::vector<std::string>{band.left, band.center, band.right};
    };
    EXPECT_EQ(parts("&w&bPage &p of &P"), (std::vector<std::string>{"Report", "", "Page 2 of 5"}));
    EXPECT_EQ(parts("&u&bA && B&b&d&x"), (std::vector<std::string>{"file:///r.html", "A & B", "8/27/08"}));
}

}  // namespace
}  // namespace orv
