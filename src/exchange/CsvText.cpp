#include "exchange/CsvText.h"

#include <csv.h>

#include <algorithm>

namespace orv::exchange {
namespace {

struct ParseState {
    std::vector<CsvRow> rows;
    std::vector<std::string> fields;
    int newlinesInFields = 0;  // line breaks inside quoted fields of the open record
    int currentLine = 0;       // the line being fed to the parser
};

void OnField(void* data, size_t length, void* context) {
    auto& state = *static_cast<ParseState*>(context);
    std::string field;
    if (data && length) field.assign(static_cast<const char*>(data), length);
    state.newlinesInFields += static_cast<int>(std::count(field.begin(), field.end(), '\n'));
    state.fields.push_back(std::move(field));
}

void OnRecordEnd(int, void* context) {
    auto& state = *static_cast<ParseState*>(context);
    // The record ends on the current line and spans one line more than the
    // line breaks its quoted fields hold.
    state.rows.push_back({state.currentLine - state.newlinesInFields, std::move(state.fields)});
    state.fields.clear();
    state.newlinesInFields = 0;
}

// Spaces and tabs belong to the field: nothing is trimmed.
int NoSpace(unsigned char) { return 0; }

}  // namespace

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string CsvRecord(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) out += ',';
        out += CsvField(fields[i]);
    }
    out += "\r\n";
    return out;
}

CsvParse ParseCsv(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    CsvParse result;
    csv_parser parser{};
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        result.error = "out of memory";
        return result;
    }
    csv_set_space_func(&parser, NoSpace);
    ParseState state;
    // Fed a line at a time, so that every callback knows the line it is on.
    std::size_t start = 0;
    while (start < text.size() && result.error.empty()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end + 1;
        ++state.currentLine;
        const std::size_t length = stop - start;
        if (csv_parse(&parser, text.data() + start, length, OnField, OnRecordEnd, &state) != length) {
            result.error = csv_strerror(csv_error(&parser));
            result.errorLine = state.currentLine;
        }
        start = stop;
    }
    if (result.error.empty() && csv_fini(&parser, OnField, OnRecordEnd, &state) != 0) {
        result.error = "a quoted field is not closed";
        result.errorLine = state.currentLine;
    }
    csv_free(&parser);
    result.rows = std::move(state.rows);
    return result;
}

}  // namespace orv::exchange
