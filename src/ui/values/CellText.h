#pragma once
// The Values grid's date, time and amount texts written into a caller's
// buffer: the same texts as FormatDateText, FormatTimeText and
// FixedText(value, 5), without building a std::string per cell.

#include <cstddef>

#include "data/HostInterfaces.h"

namespace orv {

// Room for any of the texts below (the longest is a double's "%0.5f").
inline constexpr std::size_t kCellTextCapacity = 340;

// Each writes its text at `out` (kCellTextCapacity bytes) and returns its
// length; nothing is zero-terminated.
std::size_t WriteDateText(const HostDateTime& date, char* out);  // MM/DD/YYYY
std::size_t WriteTimeText(const HostDateTime& date, char* out);  // HH:MM:SS
std::size_t WriteAmountText(double value, char* out);            // "%0.5f"

}  // namespace orv
