#pragma once
// Number text as the user types it: the locale's decimal separator (a comma
// in much of Europe) is read like ".", so "6,2" and "6.2" are the same amount.

#include <string>
#include <string_view>

namespace orv {

// text with every occurrence of localeSeparator replaced by "."; unchanged
// when the separator is empty or already ".".
std::string WithDecimalPoint(std::string_view text, std::string_view localeSeparator);

}  // namespace orv
