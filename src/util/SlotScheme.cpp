#include "util/SlotScheme.h"

namespace orv {

std::optional<SlotScheme> SlotScheme::ForTables(PeriodChoice choice) {
    const PeriodChoiceInfo* info = FindPeriodChoice(choice);
    if (!info) return std::nullopt;
    return SlotScheme(kSecondsPerDay, info->days);
}

std::optional<SlotScheme> SlotScheme::ForCharts(PeriodChoice choice) {
    switch (choice) {
    case kPeriod7Days: return SlotScheme(7200, 84);
    case kPeriod15Days: return SlotScheme(43200, 32);
    case kPeriod30Days: return SlotScheme(43200, 60);
    case kPeriod60Days: return SlotScheme(kSecondsPerDay, 60);
    case kPeriod120Days: return SlotScheme(kSecondsPerDay, 120);
    default: return std::nullopt;
    }
}

uint32_t SlotScheme::SlotIndex(HostDatabase* db, const HostDateTime& start, const HostDateTime& time) const {
    const std::optional<int32_t> origin = DayStartSeconds(db, start);
    if (!origin) return kNoSlot;
    int32_t seconds = 0;
    if (db->DateToSeconds(&seconds, &time) < 0) return kNoSlot;
    return SlotIndexOfSeconds(*origin, seconds);
}

uint32_t SlotScheme::SlotIndexOfSeconds(int32_t dayStart, int32_t time) const {
    if (width_ == 0) return kNoSlot;
    return (static_cast<uint32_t>(time) - static_cast<uint32_t>(dayStart)) / width_;
}

HostDateTime SlotScheme::SlotStart(HostDatabase* db, const HostDateTime& start, uint32_t index) const {
    HostDateTime out = kZeroDateTime;
    const std::optional<int32_t> origin = DayStartSeconds(db, start);
    if (!origin) return out;
    if (db->SecondsToDate(SlotStartSeconds(*origin, index), &out) < 0) return kZeroDateTime;
    return out;
}

int32_t SlotScheme::SlotStartSeconds(int32_t dayStart, uint32_t index) const {
    return static_cast<int32_t>(static_cast<uint32_t>(dayStart) + index * width_);
}

std::optional<int32_t> DayStartSeconds(HostDatabase* db, const HostDateTime& date) {
    if (!db) return std::nullopt;
    HostDateTime midnight = date;
    midnight.hour = 0;
    midnight.minute = 0;
    midnight.second = 0;
    int32_t seconds = 0;
    if (db->DateToSeconds(&seconds, &midnight) < 0) return std::nullopt;
    return seconds;
}

}  // namespace orv
