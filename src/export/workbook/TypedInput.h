#pragma once
// How a spreadsheet reads text put into a cell as if typed: a leading "="
// makes a formula, numbers, dates and times become numbers (dates as serial
// days of the 1900 date system), TRUE and FALSE become logical values, and a
// leading apostrophe keeps the rest as text.

#include <optional>
#include <string>
#include <string_view>

namespace orv {

struct TypedInput {
    enum class Kind { Text, Number, Boolean, Formula };
    Kind kind = Kind::Text;
    // Text: the text; Number: the number as stored ("39687.5"); Boolean: "1"
    // or "0"; Formula: the formula without its "=".
    std::string value;
    // Built-in number format a spreadsheet gives a General cell that receives
    // this input: 14 (date), 22 (date and time), 21 (time), 0 (none).
    int numberFormat = 0;
};

TypedInput InterpretTypedInput(std::string_view text);

// Shortest text that reads back as the same double, locale-independent;
// nullopt for infinities and NaN, which a cell cannot hold.
std::optional<std::string> FormatNumber(double value);
// The shortest text of a 32-bit float (0.1f -> "0.1").
std::optional<std::string> FormatNumber(float value);

// Serial day number of a date in the 1900 date system, counting 1900-02-29
// as a spreadsheet does (1900-01-01 -> 1, 1900-03-01 -> 61). nullopt for an
// invalid date or a year outside 1900..9999.
std::optional<int> DateSerial(int year, int month, int day);

}  // namespace orv
