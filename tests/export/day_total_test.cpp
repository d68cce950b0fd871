// Day totals too long for one formula: the forms that fit must add the same
// cells. A small evaluator reads the formulas back and sums the cells they
// name, so a lost, doubled or shifted cell shows as a wrong sum.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "export/DayTotal.h"
#include "export/workbook/CellAddress.h"

namespace orv {
namespace {

const std::string kSheet = "Values by Items";
const std::string kPrefix = "'Values by Items'!";

using Cells = std::map<std::pair<int, int>, double>;  // (row, column) -> value

// Sums "A1", "SUM(A1:A9)", terms joined by "+", on the values sheet (with
// the prefix) or on the day sheet's row (helper cells, without it).
double Evaluate(std::string text, const Cells& values, const Cells& helpers) {
    double sum = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('+', start);
        if (end == std::string::npos) end = text.size();
        std::string term = text.substr(start, end - start);
        start = end + 1;
        const bool range = term.starts_with("SUM(");
        if (range) term = term.substr(4, term.size() - 5);
        const bool onValues = term.starts_with(kPrefix);
        if (onValues) term = term.substr(kPrefix.size());
        const Cells& cells = onValues ? values : helpers;
        const auto colon = term.find(':');
        const auto first = ParseCellAddress(term.substr(0, colon));
        const auto last = range ? ParseCellAddress(term.substr(colon + 1)) : first;
        if (!first || !last) {
            ADD_FAILURE() << "unreadable term " << term;
            return 0;
        }
        for (int r = first->row; r <= last->row; ++r) {
            for (int c = first->column; c <= last->column; ++c) {
                const auto cell = cells.find({r, c});
                if (cell == cells.end())
                    ADD_FAILURE() << "a term names an empty cell: " << term;
                else
                    sum += cell->second;
            }
        }
    }
    return sum;
}

TEST(DayTotal, BusyDaysGetATotalThatFitsAndAddsTheSameCells) {
    // Case, cells of the day, row step (1: one run of adjacent rows; 2: no
    // two cells adjacent), average, whether partial sums are expected.
    const std::tuple<const char*, int, int, bool, bool> cases[] = {
        {"a few cells, written as they are", 3, 2, false, false},
        {"400 adjacent rows become a range", 400, 1, false, false},
        {"400 scattered rows need partial sums", 400, 2, false, true},
        {"an average of scattered rows", 1000, 3, true, true},
    };
    for (const auto& [name, count, rowStep, average, withHelpers] : cases) {
        std::vector<DayCell> cells;
        Cells values;
        double expected = 0;
        for (int i = 0; i < count; ++i) {
            const DayCell cell{5 + i * rowStep, 6 + (i % 2) * (rowStep > 1 ? 1 : 0), 0.25 * (i + 1)};
            cells.push_back(cell);
            values[{cell.row, cell.column}] = cell.value;
            expected += cell.value;
        }
        if (average) expected /= count;
        const DayTotal day = BuildDayTotal(cells, kSheet, average, 7, 2, 9);

        EXPECT_LE(day.total.formula.size(), kMaxFormulaLength) << name;
        EXPECT_NEAR(day.total.result, expected, 1e-9 * expected) << name;
        EXPECT_EQ(!day.helpers.empty(), withHelpers) << name;
        Cells helpers;
        int column = 9;
        for (const FormulaCell& helper : day.helpers) {
            EXPECT_EQ(helper.column, column++) << name << ": helpers take the columns in turn";
            EXPECT_LE(helper.formula.size(), kMaxFormulaLength) << name;
            EXPECT_NEAR(Evaluate(helper.formula.substr(1), values, {}), helper.result, 1e-9) << name;
            helpers[{7, helper.column}] = helper.result;
        }
        std::string body = day.total.formula.substr(1);
        double divisor = 1;
        if (average) {
            const auto slash = body.rfind(")/");
            ASSERT_NE(slash, std::string::npos) << name;
            divisor = std::stod(body.substr(slash + 2));
            body = body.substr(0, slash + 1);
        }
        if (body.starts_with("(")) body = body.substr(1, body.size() - 2);
        EXPECT_NEAR(Evaluate(body, values, helpers) / divisor, expected, 1e-9 * expected) << name;
    }
}

TEST(DayTotal, AFormulaThatFitsIsWrittenInThePlainForm) {
    const DayTotal day = BuildDayTotal({{5, 6, 50}, {8, 6, 15}}, "It's", true, 3, 2, 9);
    EXPECT_EQ(day.total.formula, "=('It''s'!F5+'It''s'!F8)/2");
    EXPECT_DOUBLE_EQ(day.total.result, 32.5);
    EXPECT_TRUE(day.helpers.empty());
}

}  // namespace
}  // namespace orv
