#pragma once
// CSV text as RFC 4180 has it: fields separated by commas, records ended by
// CRLF, a field quoted when it holds a comma, a quote, a CR or an LF, and a
// quote inside a quoted field doubled.

#include <string>
#include <string_view>
#include <vector>

namespace orv::exchange {

// One field, quoted when it needs to be.
std::string CsvField(std::string_view text);
// The fields joined by commas and ended by CRLF.
std::string CsvRecord(const std::vector<std::string>& fields);

struct CsvRow {
    int line = 0;  // the line the record starts on, from 1
    std::vector<std::string> fields;
};

struct CsvParse {
    std::vector<CsvRow> rows;  // blank lines are left out
    // Empty when the whole text was read; otherwise why it is not CSV, and
    // the line where reading stopped.
    std::string error;
    int errorLine = 0;
};

// Reads CSV text (a leading UTF-8 byte order mark is skipped). Spaces are
// part of a field; a quote inside an unquoted field, text after a closing
// quote, or a quoted field left open is an error.
CsvParse ParseCsv(std::string_view text);

}  // namespace orv::exchange
