#include "export/workbook/CellAddress.h"

#include <algorithm>
#include <charconv>

namespace orv {

void AppendColumnLetters(std::string& out, int column) {
    if (column < 1 || column > kMaxColumns) return;
    char letters[4];
    int n = 0;
    // Bijective base 26: 26 is Z, 27 is AA.
    while (column > 0) {
        const int rem = (column - 1) % 26;
        letters[n++] = static_cast<char>('A' + rem);
        column = (column - 1) / 26;
    }
    while (n > 0) out += letters[--n];
}

std::string ColumnLetters(int column) {
    std::string out;
    AppendColumnLetters(out, column);
    return out;
}

int ColumnFromLetters(std::string_view letters) {
    if (letters.empty() || letters.size() > 3) return 0;
    int column = 0;
    for (char c : letters) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z') return 0;
        column = column * 26 + (c - 'A' + 1);
    }
    return column <= kMaxColumns ? column : 0;
}

void AppendCellAddress(std::string& out, int row, int column) {
    AppendColumnLetters(out, column);
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, row);
    out.append(buf, res.ptr);
}

std::string CellAddress(int row, int column, bool absoluteRow, bool absoluteColumn) {
    std::string out;
    if (absoluteColumn) out += '$';
    AppendColumnLetters(out, column);
    if (absoluteRow) out += '$';
    out += std::to_string(row);
    return out;
}

std::optional<CellPosition> ParseCellAddress(std::string_view text) {
    std::size_t pos = 0;
    if (pos < text.size() && text[pos] == '$') ++pos;
    const std::size_t lettersStart = pos;
    while (pos < text.size() && ((text[pos] >= 'A' && text[pos] <= 'Z') || (text[pos] >= 'a' && text[pos] <= 'z'))) {
        ++pos;
    }
    const int column = ColumnFromLetters(text.substr(lettersStart, pos - lettersStart));
    if (column == 0) return std::nullopt;
    if (pos < text.size() && text[pos] == '$') ++pos;
    if (pos >= text.size() || text[pos] < '1' || text[pos] > '9') return std::nullopt;
    int row = 0;
    const auto res = std::from_chars(text.data() + pos, text.data() + text.size(), row);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return std::nullopt;
    if (row < 1 || row > kMaxRows) return std::nullopt;
    return CellPosition{row, column};
}

std::optional<CellArea> ParseCellArea(std::string_view text) {
    const auto colon = text.find(':');
    const auto first = ParseCellAddress(text.substr(0, colon));
    if (!first) return std::nullopt;
    CellPosition last = *first;
    if (colon != std::string_view::npos) {
        const auto second = ParseCellAddress(text.substr(colon + 1));
        if (!second) return std::nullopt;
        last = *second;
    }
    CellArea area;
    area.firstRow = std::min(first->row, last.row);
    area.lastRow = std::max(first->row, last.row);
    area.firstColumn = std::min(first->column, last.column);
    area.lastColumn = std::max(first->column, last.column);
    return area;
}

std::string FormatCellArea(const CellArea& area) {
    std::string out;
    AppendCellAddress(out, area.firstRow, area.firstColumn);
    if (area.firstRow != area.lastRow || area.firstColumn != area.lastColumn) {
        out += ':';
        AppendCellAddress(out, area.lastRow, area.lastColumn);
    }
    return out;
}

bool MapRowSpanAfterDeletion(int& first, int& last, int deletedFirst, int count) {
    const int deletedLast = deletedFirst + count - 1;
    if (first >= deletedFirst && last <= deletedLast) return false;
    const int newFirst = first < deletedFirst ? first : first > deletedLast ? first - count : deletedFirst;
    const int newLast = last < deletedFirst ? last : last > deletedLast ? last - count : deletedFirst - 1;
    first = newFirst;
    last = newLast;
    return true;
}

}  // namespace orv
