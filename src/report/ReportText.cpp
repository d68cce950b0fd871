#include "report/ReportText.h"

#include <cstdio>

#include "util/DateText.h"
#include "util/NumberFormat.h"

namespace orv {
namespace {

// The style sheet is kept byte for byte as the report has always had it,
// tabs included, so printed reports look the same as before.
constexpr const char* kHead =
    "<html><head><meta charset=\"utf-8\">\t\t\t\t\t\t <style>\t\t\t\t\t\t BODY { \t\t\t\t\t\t\tfont-family: Verdana, "
    "Arial, Helvetica, "
    "sans-serif;\t\t\t\t\t\t }\t\t\t\t\t\t H1 {\t\t\t\t\t\t font-size: 18px;\t\t\t\t\t\t margin-bottom: "
    "6px;\t\t\t\t\t\t }\t\t\t\t\t\t TR.Title {\t\t\t\t\t\t background-color: #A0A0FF;\t\t\t\t\t\t text-align: "
    "center;\t\t\t\t\t\t color: #ffffff;\t\t\t\t\t\t }\t\t\t\t\t\t TABLE.ReportTitle {\t\t\t\t\t\t border: 1px "
    "solid #000000;\t\t\t\t\t\t border-collapse:collapse;\t\t\t\t\t\t padding: 30px;\t\t\t\t\t\t width: "
    "100%;\t\t\t\t\t\t\t }\t\t\t\t\t\t TABLE.ReportRecords {\t\t\t\t\t\t\talign:center;\t\t\t\t\t\t  "
    "border-width: 1px;\t\t\t\t\t\t  border-collapse:collapse;\t\t\t\t\t\t  text-align:center;\t\t\t\t\t\t "
    "}\t\t\t\t\t\t TR.ImportantRec {\t\t\t\t\t\t color: #F00;\t\t\t\t\t\t\t }\t\t\t\t\t\t .RecordsHeader "
    "{\t\t\t\t\t\t\tfont-weight:bold;\t\t\t\t\t\t\tbackground-color: #A0A0FF;\t\t\t\t\t\t }\t\t\t\t\t\t TD "
    "{\t\t\t\t\t\t\t\tpadding: 4;\t\t\t\t\t\t\t\tfont-size: 12px;\t\t\t\t\t\t }\t\t\t\t\t\t TR.RTTR{\t\t\t\t\t\t\t"
    "border: 1px solid #000000;\t\t\t\t\t\t\t }\t\t\t\t\t\t TD.RTName{\t\t\t\t\t\t font-weight: bold;\t\t\t\t\t\t "
    "}\t\t\t\t\t\t </style>\t\t</head><body>";

std::string Number(int value) { return std::to_string(value); }

}  // namespace

std::string EscapeHtml(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c; break;
        }
    }
    return out;
}

namespace {

void AppendDetails(std::string& out, const std::vector<ReportDetail>& details) {
    out += "<center><!-- table style=\"border-collapse:collapse\" border=1 -->";
    bool first = true;
    for (const ReportDetail& entry : details) {
        // The first value continues the day's own row; later ones get a row
        // of their own under empty date and total cells.
        if (!first) out += "<tr><td colspan=\"2\"></td><td>";
        first = false;
        const std::string cells[] = {FormatTimeText(entry.time), EscapeHtml(entry.itemName),
                                     FixedText(entry.value, 5),  EscapeHtml(entry.unitName),
                                     EscapeHtml(entry.notes),    FixedText(entry.product, 5)};
        const char* separator = "";
        for (const std::string& cell : cells) {
            out += separator;
            out += cell;
            separator = "</td><td>";
        }
        out += "</td></tr>";
    }
}

}  // namespace

std::string BuildReportFileName(const std::string& directory, const HostDateTime& now) {
    std::string name = directory;
    if (!name.empty() && name.back() != '/') name += '/';
    name += "ORVReport-" + Number(now.year) + "-" + Number(now.day) + "-" + Number(now.month) + "-" + Number(now.hour) +
            "-" + Number(now.minute) + "-" + Number(now.second) + ".html";
    return name;
}

std::string BuildReportText(const ReportContent& content, const HostDateTime& today) {
    std::string out = kHead;
    out += "<H1>ORV. Report " + Number(today.year) + "-" + Number(today.day) + "-" + Number(today.month) + " </h1>";
    out += "<hr>";
    out += "<center><H1>" + EscapeHtml(content.heading) + "</h1></center>";
    out += "<center><table style=\"border:1px solid #000000;border-collapse:collapse\" border=1>";
    out += "<tr class=\"Title\"><td colspan=\"2\">Totals</td><td colspan=\"6\">Details</td></tr>";
    out +=
        "<tr class=\"Title\"><td>Date</td><td>Value</td><td>Time</td><td>Item Name</td><td>Value</td><td>"
        "Unit Name</td><td>Notes</td><td>Target Value</td></tr>";
    for (auto day = content.days.rbegin(); day != content.days.rend(); ++day) {
        out += "<tr><td>" + FormatDateText(day->start) + "</td><td>" + FixedText(day->total, 5);
        if (content.showDetails) {
            out += "</td><td style=\"padding:0;\">";
            AppendDetails(out, day->details);
        } else {
            out += "</td></tr>";
        }
    }
    out += "</table></center><br><center><h1>" + EscapeHtml(content.statistics) + "</h1></center>";
    out += "</body></html>";
    return out;
}

int WriteReportFile(const std::string& text, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return 1;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed ? 0 : 1;
}

}  // namespace orv
