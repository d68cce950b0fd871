#pragma once
// The HTML report of the Tables page: the daily totals of one target, the
// values behind each day when details are shown, and the statistics line.
// Plain C++, no Qt: the page hands over what it shows, this builds the text.

#include <string>
#include <vector>

#include "data/HostInterfaces.h"

namespace orv {

// One value counted on a day, with the names the report prints for it.
struct ReportDetail {
    HostDateTime time;
    std::string itemName;
    float value = 0.0f;
    std::string unitName;
    std::string notes;
    float product = 0.0f;
};

struct ReportDay {
    HostDateTime start;  // first second of the day
    float total = 0.0f;
    std::vector<ReportDetail> details;  // in the order counted
};

struct ReportContent {
    std::string heading;          // "30 days, Glucose (in mg/dL)"
    std::vector<ReportDay> days;  // the period's first day first
    bool showDetails = false;
    std::string statistics;  // "Average: 5.20000, Sum: 31.20000"
};

// "<directory>/ORVReport-<year>-<day>-<month>-<hour>-<minute>-<second>.html",
// nothing zero-padded; an empty directory gives a relative name.
std::string BuildReportFileName(const std::string& directory, const HostDateTime& now);

// `text` as HTML text: & < > " and ' become character references.
std::string EscapeHtml(const std::string& text);

// The complete HTML document, declared UTF-8. Every text taken from the
// records (heading, names, notes) is escaped.
std::string BuildReportText(const ReportContent& content, const HostDateTime& today);

// Writes `text` to `path`, replacing the file. 0 on success, 1 when the file
// cannot be opened or written.
int WriteReportFile(const std::string& text, const std::string& path);

}  // namespace orv
