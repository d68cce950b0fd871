#pragma once
// The formula of a target's total for one day on the values workbook's day
// sheet, with the result it computes. The plain form adds every cell of the
// values sheet that counts towards the day, "=('Sheet'!F5+'Sheet'!F8)", and
// divides by their number for an averaged target. A busy day can make that
// text longer than a cell's formula may be; the total is then written in an
// equivalent form that fits: runs of adjacent cells as SUM over a range, and
// when even that is too long, partial sums in helper cells of the same row
// that the total adds up.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// The longest formula a cell takes, "=" included, in UTF-16 units.
inline constexpr std::size_t kMaxFormulaLength = 8192;

// A cell of the values sheet that counts towards the day, with the result
// the export computed for it.
struct DayCell {
    int32_t row = 0;
    int32_t column = 0;
    double value = 0;
};

struct FormulaCell {
    int32_t column = 0;
    std::string formula;  // with its "="
    double result = 0;
};

struct DayTotal {
    FormulaCell total;
    std::vector<FormulaCell> helpers;  // partial sums, in the columns from firstHelperColumn on
};

// `sheet` is the values sheet's name; `row` and `column` place the total on
// the day sheet; helper cells, when needed, take the columns from
// `firstHelperColumn` on in the same row. `cells` is not empty.
DayTotal BuildDayTotal(const std::vector<DayCell>& cells, const std::string& sheet, bool average, int32_t row,
                       int32_t column, int32_t firstHelperColumn, std::size_t limit = kMaxFormulaLength);

}  // namespace orv
