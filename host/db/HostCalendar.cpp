#include "host/db/HostCalendar.h"

namespace orv::hostdb {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kMaxHostSeconds = 0xFFFFFFFFll;

bool IsLeapYear(int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

// The days-from-civil algorithm over 400-year eras: with March as the first
// month of the year, February's leap day falls at the end of the year and the
// day of the year follows from the month by one linear formula.
int64_t DaysFromCivil(int64_t year, int32_t month, int32_t day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;                                          // 0..399
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;  // 0..365
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(int64_t days, int64_t* year, int32_t* month, int32_t* day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;                                                         // 0..146096
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;  // 0..399
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);             // 0..365
    const int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;                                             // 0..11
    *day = static_cast<int32_t>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    *month = static_cast<int32_t>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    *year = yearOfEra + era * 400 + (*month <= 2 ? 1 : 0);
}

int32_t DaysInMonth(int64_t year, int32_t month) {
    static constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int32_t HostSecondsToDate(int32_t seconds, HostDateTime* out) {
    if (!out) return -1;
    const int64_t total = static_cast<uint32_t>(seconds);
    const int64_t days = total / kSecondsPerDay;
    const int64_t inDay = total % kSecondsPerDay;
    int64_t year = 0;
    int32_t month = 0;
    int32_t day = 0;
    CivilFromDays(days, &year, &month, &day);
    out->year = static_cast<uint16_t>(year);
    out->month = static_cast<uint16_t>(month);
    out->day = static_cast<uint16_t>(day);
    out->hour = static_cast<uint16_t>(inDay / 3600);
    out->minute = static_cast<uint16_t>(inDay / 60 % 60);
    out->second = static_cast<uint16_t>(inDay % 60);
    out->dayOfWeek = static_cast<uint16_t>((days + 4) % 7);  // 1970-01-01 was a Thursday
    return 0;
}

int32_t HostDateToSeconds(int32_t* seconds, const HostDateTime* in) {
    if (!seconds || !in) return -1;
    if (in->month < 1 || in->month > 12) return -1;
    if (in->day < 1 || in->day > DaysInMonth(in->year, in->month)) return -1;
    if (in->hour > 23 || in->minute > 59 || in->second > 59) return -1;
    const int64_t days = DaysFromCivil(in->year, in->month, in->day);
    const int64_t total = days * kSecondsPerDay + in->hour * 3600 + in->minute * 60 + in->second;
    if (total < 0 || total > kMaxHostSeconds) return -1;
    *seconds = static_cast<int32_t>(static_cast<uint32_t>(total));
    return 0;
}

}  // namespace orv::hostdb
