#pragma once
// orv-desktop --report OUT.html|OUT.pdf [--target NAME] [--period DAYS]
// [--details]: the Tables page's report for one target and period, ending
// today, written without a display. Target and period default to the ones
// the Tables page last stored in the database; details are off unless asked.

#include <QString>

#include <optional>

namespace orv {
class HostDatabase;
}

namespace orv::host {

struct ReportRequest {
    QString out;                    // .html or .pdf
    QString target;                 // empty: the stored target, else the first
    std::optional<int> periodDays;  // 7, 15, 30, 60 or 120; none: the stored period
    bool details = false;
};

// Writes the report; false with a reason in `error`.
bool WriteTablesReport(HostDatabase& db, const ReportRequest& request, QString* error);

}  // namespace orv::host
