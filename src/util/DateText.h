#pragma once
// The date and time texts of every grid, report and chart.

#include <string>

#include "data/HostInterfaces.h"

namespace orv {

// MM/DD/YYYY: month and day as two digits (leading "0" below 10), the year
// in decimal digits without leading zeros. 7 March 2008 gives "03/07/2008".
std::string FormatDateText(const HostDateTime& date);

// HH:MM:SS, each part as two digits. 9:05:00 gives "09:05:00".
std::string FormatTimeText(const HostDateTime& date);

}  // namespace orv
