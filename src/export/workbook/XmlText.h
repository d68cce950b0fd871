#pragma once
// Text helpers for writing spreadsheet XML: escaping, the _xHHHH_ encoding of
// characters XML cannot carry, and repair of byte sequences that are not UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

namespace orv::xml {

// Appends text for an element body (&, <, > escaped).
void AppendEscaped(std::string& out, std::string_view text);
// Appends text for a double-quoted attribute value.
void AppendEscapedAttribute(std::string& out, std::string_view text);

// Turns arbitrary bytes into the cell-text form stored in a workbook:
// valid UTF-8 stays as it is, a byte that is not part of a valid UTF-8
// sequence is taken as a Latin-1 character (so nothing is dropped), and
// characters XML 1.0 cannot hold (control characters, CR, U+FFFE/U+FFFF) are
// written as _xHHHH_. A literal "_xHHHH_" in the input has its underscore
// escaped as _x005F_ so that reading it back gives the same text.
std::string EncodeCellText(std::string_view bytes);
// Reverses the _xHHHH_ escapes of stored cell text.
std::string DecodeCellText(std::string_view stored);

// Length in UTF-16 code units of valid UTF-8 text (the unit of the
// 32767-character limit of a cell).
std::size_t Utf16Length(std::string_view utf8);

// "x:row" -> "row"; "row" -> "row".
std::string_view LocalName(std::string_view qualified);
// "x:row" -> "x:"; "row" -> "".
std::string_view Prefix(std::string_view qualified);

}  // namespace orv::xml
