#include "ui/tables/TablesReport.h"

#include <utility>

#include "data/RecordCache.h"
#include "util/SlotScheme.h"

namespace orv {

std::string TablesHeading(const RecordCache& cache, const std::string& periodText, const TargetRecord& target) {
    const UnitEntry* unit = cache.FindUnit(target.unitId);
    return periodText + ", " + target.name + " (in " + (unit ? unit->name : std::string()) + ")";
}

ReportContent BuildTablesReport(const RecordCache& cache, HostDatabase* db, const DailyTotals& totals,
                                const HostDateTime& start, const std::string& heading, bool showDetails) {
    ReportContent content;
    content.heading = heading;
    content.showDetails = showDetails;
    content.statistics = totals.StatisticsText();
    const SlotScheme scheme(kSecondsPerDay, totals.Days());
    for (int32_t day = 0; day < totals.Days(); ++day) {
        const auto index = static_cast<std::size_t>(day);
        ReportDay row;
        row.start = scheme.SlotStart(db, start, static_cast<uint32_t>(day));
        row.total = totals.totals[index];
        for (const DailyDetail& entry : totals.details[index]) {
            ReportDetail detail;
            detail.time = entry.date;
            detail.value = entry.value;
            detail.notes = entry.notes;
            detail.product = entry.product;
            if (const ItemRecord* item = cache.FindItem(entry.itemId)) detail.itemName = item->name;
            const GroupRecord* group = cache.FindGroup(entry.groupId);
            if (const UnitEntry* unit = group ? cache.FindUnit(group->unitId) : nullptr) detail.unitName = unit->name;
            row.details.push_back(std::move(detail));
        }
        content.days.push_back(std::move(row));
    }
    return content;
}

std::optional<ReportContent> TablesReportFor(const RecordCache& cache, HostDatabase* db, int32_t targetId,
                                             PeriodChoice choice, const HostDateTime& end, bool showDetails) {
    const TargetRecord* target = cache.FindTarget(targetId);
    const PeriodChoiceInfo* info = FindPeriodChoice(choice);
    const std::optional<SlotScheme> scheme = SlotScheme::ForTables(choice);
    if (!target || !info || !scheme) return std::nullopt;
    ReportPeriod period(db);
    period.SetEnd(end);
    period.SetChoice(choice);
    const DailyTotals totals = ComputeDailyTotals(cache, db, targetId, period.GetStart(), scheme->count());
    return BuildTablesReport(cache, db, totals, period.GetStart(), TablesHeading(cache, info->itemText, *target),
                             showDetails);
}

}  // namespace orv
