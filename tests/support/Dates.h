#pragma once
// A HostDateTime from its calendar fields, for tests that build dates.

#include <cstdint>

#include "data/HostInterfaces.h"

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

}  // namespace orv::test
