#include "ui/tables/DailyTotals.h"

#include <algorithm>

#include "data/RecordCache.h"
#include "data/TargetAmounts.h"
#include "util/NumberFormat.h"
#include "util/SlotScheme.h"

namespace orv {

std::string DailyTotals::StatisticsText() const {
    return std::string("Average: ") + FixedText(average, 5) + ", " + SecondLabel() + " " + FixedText(second, 5);
}

DailyTotals ComputeDailyTotals(const RecordCache& cache, HostDatabase* db, int32_t targetId, const HostDateTime& start,
                               int32_t days) {
    DailyTotals out;
    const auto count = static_cast<std::size_t>(std::clamp(days, 0, DailyTotals::kMaxDays));
    out.totals.assign(count, 0.0f);
    out.counts.assign(count, 0);
    out.details.assign(count, {});

    const TargetRecord* target = cache.FindTarget(targetId);
    if (!target) return out;
    out.sumTarget = target->IsSum();
    const std::optional<int32_t> dayStart = DayStartSeconds(db, start);
    if (!dayStart) return out;
    const SlotScheme scheme(kSecondsPerDay, static_cast<int32_t>(count));

    for (const TargetAmount& entry : TargetAmounts(cache, targetId)) {
        const ItemRecord* item = entry.item;
        const float amount = entry.amount;

        // Oldest to newest; the last entry of the item's range is its newest value.
        const ValuesByItem& perItem = cache.ValuesPerItem();
        auto it = perItem.lower_bound({item->id, 0});
        while (it != perItem.end() && it->first.first == item->id) {
            const ValueRecord* value = it->second;
            ++it;
            if (!value) continue;
            const uint32_t day = scheme.SlotIndexOfSeconds(*dayStart, value->seconds);
            if (!scheme.Accepts(day)) continue;
            const float product = amount * value->value;
            out.totals[day] += product;
            out.counts[day] += 1;
            out.details[day].push_back(
                {value->date, value->itemId, value->matterId, value->value, value->notes, product});
            const bool newest = it == perItem.end() || it->first.first != item->id;
            if (out.sumTarget) {
                out.second += product;
            } else if (newest) {
                out.second = product;
            }
            out.productSum += product;
            out.productCount += 1;
        }
    }
    if (!out.sumTarget) {
        for (std::size_t day = 0; day < count; ++day) {
            if (out.counts[day] > 0) out.totals[day] /= static_cast<float>(out.counts[day]);
        }
    }
    out.average = out.productCount > 0 ? out.productSum / static_cast<float>(out.productCount) : 0.0f;
    return out;
}

}  // namespace orv
