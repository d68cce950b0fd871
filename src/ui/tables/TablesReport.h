#pragma once
// The Tables page's figures as a report: what "Print" and "Send e-mail"
// write, and what the host's report command writes without a window.
// Plain C++, no Qt.

#include <optional>
#include <string>

#include "data/HostInterfaces.h"
#include "report/ReportText.h"
#include "ui/tables/DailyTotals.h"
#include "util/ReportPeriod.h"

namespace orv {

class RecordCache;
struct TargetRecord;

// "<period item text>, <target name> (in <unit name>)", as the page's
// heading reads.
std::string TablesHeading(const RecordCache& cache, const std::string& periodText, const TargetRecord& target);

// The report of `totals` counted from the day of `start`.
ReportContent BuildTablesReport(const RecordCache& cache, HostDatabase* db, const DailyTotals& totals,
                                const HostDateTime& start, const std::string& heading, bool showDetails);

// Everything the page does for one selection, from a cache with units,
// targets, target names, groups, items and values loaded: the period of
// `choice` ending on the day of `end`, the totals and the report. Nothing
// for an unknown target or a choice outside 0 to 4.
std::optional<ReportContent> TablesReportFor(const RecordCache& cache, HostDatabase* db, int32_t targetId,
                                             PeriodChoice choice, const HostDateTime& end, bool showDetails);

}  // namespace orv
