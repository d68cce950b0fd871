#pragma once
// What the Tables page shows for one target over one period: each day's
// total of the target, the values behind each day and the two figures under
// the table.
//
// A value counts towards a target through its item: the item's amount of
// that target (its entry at the target's position in the group's target
// list) times the value. A sum target adds a day's products; an average
// target averages them. Plain data, no widgets.

#include <cstdint>
#include <string>
#include <vector>

#include "data/HostInterfaces.h"

namespace orv {

class RecordCache;

// One value counted on a day, as it was when the totals were computed.
struct DailyDetail {
    HostDateTime date;
    int32_t itemId = 0;
    int32_t groupId = 0;
    float value = 0.0f;
    std::string notes;
    float product = 0.0f;  // item amount x value
};

struct DailyTotals {
    // Day 0 is the period's first day; at most 120 days.
    static constexpr int32_t kMaxDays = 120;

    bool sumTarget = true;
    std::vector<float> totals;                      // per day: sum, or average of the products
    std::vector<int32_t> counts;                    // per day: number of products
    std::vector<std::vector<DailyDetail>> details;  // per day, in the order counted
    float productSum = 0.0f;
    int32_t productCount = 0;
    float average = 0.0f;  // productSum / productCount, 0 without products
    // Sum target: the sum of all products. Average target: the product of
    // the newest value of an item when that value lies in the period.
    float second = 0.0f;

    int32_t Days() const { return static_cast<int32_t>(totals.size()); }
    // "Sum:" or "The last value:".
    const char* SecondLabel() const { return sumTarget ? "Sum:" : "The last value:"; }
    // "Average: 5.20000, Sum: 31.20000".
    std::string StatisticsText() const;
};

// The totals of `targetId` over `days` days (clamped to 0..120) from 00:00:00
// of the day of `start`, read from the cache as it is. An unknown target or
// a start the host cannot convert gives all-zero days.
DailyTotals ComputeDailyTotals(const RecordCache& cache, HostDatabase* db, int32_t targetId, const HostDateTime& start,
                               int32_t days);

}  // namespace orv
