#pragma once
// Division of a period into equal time slots.
//
// A slot index counts whole slot widths from 00:00:00 of the period's start
// day. The difference is divided as unsigned 32-bit numbers, so a time before
// the start gives a huge index that no slot count accepts: callers only need
// to check `index < count()`.

#include <cstdint>
#include <optional>

#include "data/HostInterfaces.h"
#include "util/ReportPeriod.h"

namespace orv {

class SlotScheme {
public:
    // The index given when a time cannot be placed (the host could not
    // convert a date); never accepted.
    static constexpr uint32_t kNoSlot = 0xFFFFFFFFu;

    constexpr SlotScheme(uint32_t width, int32_t count) : width_(width), count_(count) {}

    // Tables: one slot per calendar day, N slots for the choice's N days.
    static std::optional<SlotScheme> ForTables(PeriodChoice choice);
    // Charts: 7 days in 84 two-hour slots; 15 days in 32 twelve-hour slots
    // (the last two on the day after the end day); 30 days in 60 twelve-hour
    // slots; 60 and 120 days in one-day slots.
    static std::optional<SlotScheme> ForCharts(PeriodChoice choice);

    uint32_t width() const { return width_; }
    int32_t count() const { return count_; }
    bool Accepts(uint32_t index) const { return count_ > 0 && index < static_cast<uint32_t>(count_); }

    // The slot of `time` in a period starting on the day of `start` (its
    // hour, minute and second are ignored).
    uint32_t SlotIndex(HostDatabase* db, const HostDateTime& start, const HostDateTime& time) const;
    // The same with host seconds: `dayStart` is 00:00:00 of the start day.
    uint32_t SlotIndexOfSeconds(int32_t dayStart, int32_t time) const;

    // The first second of slot `index`, as a date; all zeros when the host
    // cannot convert.
    HostDateTime SlotStart(HostDatabase* db, const HostDateTime& start, uint32_t index) const;
    int32_t SlotStartSeconds(int32_t dayStart, uint32_t index) const;

private:
    uint32_t width_;
    int32_t count_;
};

// Host seconds of 00:00:00 on the day of `date`; nullopt without a database
// or when the host cannot convert the date.
std::optional<int32_t> DayStartSeconds(HostDatabase* db, const HostDateTime& date);

}  // namespace orv
