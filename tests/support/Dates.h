#pragma once
// A HostDateTime from its calendar fields, and one as the pages show it,
// for tests that build or compare dates.

#include <cstdint>
#include <string>

#include "data/HostInterfaces.h"
#include "util/DateText.h"

namespace orv::test {

inline HostDateTime MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    HostDateTime d;
    d.year = static_cast<uint16_t>(year);
    d.month = static_cast<uint16_t>(month);
    d.day = static_cast<uint16_t>(day);
    d.hour = static_cast<uint16_t>(hour);
    d.minute = static_cast<uint16_t>(minute);
    d.second = static_cast<uint16_t>(second);
    return d;
}

// "dd/mm/yyyy hh:mm:ss", as the pages show a moment.
inline std::string Stamp(const HostDateTime& d) { return FormatDateText(d) + " " + FormatTimeText(d); }

}  // namespace orv::test
