#pragma once
// The host's time scale: seconds counted from 1970-01-01 00:00:00 of civil
// time with no time zone or daylight saving, so every day has exactly 86400
// seconds. Seconds travel as int32 but are read unsigned, which covers
// 1970-01-01 00:00:00 up to 2106-02-07 06:28:15.

#include <cstdint>

#include "data/HostInterfaces.h"

namespace orv::hostdb {

// Days since 1970-01-01 of a proleptic Gregorian date (month 1..12).
int64_t DaysFromCivil(int64_t year, int32_t month, int32_t day);
// The date of a day count since 1970-01-01.
void CivilFromDays(int64_t days, int64_t* year, int32_t* month, int32_t* day);
int32_t DaysInMonth(int64_t year, int32_t month);

// Fills `out` (day of week included, 0 = Sunday) from host seconds, read
// unsigned. 0 on success, -1 without `out`.
int32_t HostSecondsToDate(int32_t seconds, HostDateTime* out);
// Fills `seconds` from a date and time; the day of week is ignored. -1 when a
// field is out of range or the moment lies outside the host's range; nothing
// is written then.
int32_t HostDateToSeconds(int32_t* seconds, const HostDateTime* in);

}  // namespace orv::hostdb
