#pragma once
// Texts of record fields as they cross to the host: integers as "%d", reals
// as "%f", lists as their elements joined by ";". Formatting and parsing are
// locale-independent, so a user locale with a decimal comma never leaks into
// stored records.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

std::string IntText(int64_t value);  // "%d"
std::string RealText(double value);  // "%f": six decimals
// The shortest text that reads back as the same 32-bit float ("1e-09",
// "1.23e-05", "1000"): for reals stored as floats that "%f" would cut, such
// as unit factors. ParseRealText reads both forms.
std::string FloatText(float value);
std::string IntListText(const std::vector<int32_t>& values);
std::string RealListText(const std::vector<float>& values);

// Strict parsers: the whole text must be the number (surrounding blanks
// allowed); anything else gives nullopt. An empty list text is an empty list.
std::optional<int32_t> ParseIntText(std::string_view text);
std::optional<double> ParseRealText(std::string_view text);
std::optional<std::vector<int32_t>> ParseIntListText(std::string_view text);
std::optional<std::vector<float>> ParseRealListText(std::string_view text);

// The leading integer of a text, as C's atoi reads it: optional blanks and
// sign, then digits; a text without digits gives 0. Saturates at int32 range.
int32_t LeadingInt(std::string_view text);

// Cuts a UTF-8 text to at most `maxBytes` bytes without splitting a character.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace orv
