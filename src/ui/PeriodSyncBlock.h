#pragma once
// What the Charts and Tables pages send each other to keep target, period
// and date in step: six 32-bit words, the date in the shape of a Win32
// SYSTEMTIME as the date-time control gives it.

#include <cstddef>
#include <cstdint>

#include "data/HostInterfaces.h"

namespace orv {

// The date-time control's date and time, field for field a Win32 SYSTEMTIME.
struct SystemTime {
    uint16_t wYear = 0;
    uint16_t wMonth = 0;
    uint16_t wDayOfWeek = 0;
    uint16_t wDay = 0;
    uint16_t wHour = 0;
    uint16_t wMinute = 0;
    uint16_t wSecond = 0;
    uint16_t wMilliseconds = 0;
};
static_assert(sizeof(SystemTime) == 16);

struct PeriodSyncBlock {
    int32_t periodIndex = -1;  // word 0: the period combo box's selection
    SystemTime date;           // words 1 to 4: the picked date
    int32_t targetIndex = -1;  // word 5: the target combo box's selection
};
static_assert(sizeof(PeriodSyncBlock) == 6 * sizeof(int32_t));
static_assert(offsetof(PeriodSyncBlock, date) == 4);
static_assert(offsetof(PeriodSyncBlock, targetIndex) == 20);

// The fields a SystemTime and a HostDateTime share; milliseconds have no
// counterpart.
struct SharedTimeField {
    uint16_t SystemTime::*system;
    uint16_t HostDateTime::*host;
};
inline constexpr SharedTimeField kSharedTimeFields[] = {
    {&SystemTime::wYear, &HostDateTime::year},           {&SystemTime::wMonth, &HostDateTime::month},
    {&SystemTime::wDayOfWeek, &HostDateTime::dayOfWeek}, {&SystemTime::wDay, &HostDateTime::day},
    {&SystemTime::wHour, &HostDateTime::hour},           {&SystemTime::wMinute, &HostDateTime::minute},
    {&SystemTime::wSecond, &HostDateTime::second},
};

// Field by field; milliseconds are dropped.
inline HostDateTime ToHostDateTime(const SystemTime& t) {
    HostDateTime d;
    for (const SharedTimeField& field : kSharedTimeFields) d.*field.host = t.*field.system;
    return d;
}

// Field by field; milliseconds are 0.
inline SystemTime ToSystemTime(const HostDateTime& d) {
    SystemTime t;
    for (const SharedTimeField& field : kSharedTimeFields) t.*field.system = d.*field.host;
    return t;
}

}  // namespace orv
