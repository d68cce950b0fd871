#pragma once
// A1-style cell addresses: column letters, absolute markers, ranges.

#include <optional>
#include <string>
#include <string_view>

namespace orv {

inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;

// Letters of a 1-based column: 1 -> "A", 26 -> "Z", 27 -> "AA", 53 -> "BA",
// 702 -> "ZZ", 703 -> "AAA". Empty when the column is outside 1..16384.
std::string ColumnLetters(int column);
void AppendColumnLetters(std::string& out, int column);
// "AA" -> 27 (either case); 0 when the text is not a column within the sheet.
int ColumnFromLetters(std::string_view letters);

// A1 text of a cell. An absolute column puts "$" before the letters, an
// absolute row puts "$" between letters and digits: (9, 6, true, false) ->
// "F$9", (10, 5, false, true) -> "$E10".
std::string CellAddress(int row, int column, bool absoluteRow = false, bool absoluteColumn = false);
void AppendCellAddress(std::string& out, int row, int column);

struct CellPosition {
    int row = 0;
    int column = 0;
};

// "B12", "$B$12", "b12" -> position; nullopt for anything else.
std::optional<CellPosition> ParseCellAddress(std::string_view text);

// A rectangular block of cells, corners inclusive and ordered.
struct CellArea {
    int firstRow = 0;
    int firstColumn = 0;
    int lastRow = 0;
    int lastColumn = 0;
    bool operator==(const CellArea&) const = default;
};

// "A1:C3" or "B2" (a single cell); corners are put in order.
std::optional<CellArea> ParseCellArea(std::string_view text);
// "A1:C3"; a single cell is written as "B2".
std::string FormatCellArea(const CellArea& area);

// Rows [first, last] after the rows [deletedFirst, deletedFirst + count) were
// removed and the rows below moved up: a span reaching into the deleted rows
// shrinks to what is left; false when nothing of it is left.
bool MapRowSpanAfterDeletion(int& first, int& last, int deletedFirst, int count);

}  // namespace orv
