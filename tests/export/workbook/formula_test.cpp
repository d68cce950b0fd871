// Reference rewriting in formulas: copying and deleting rows.

#include <gtest/gtest.h>

#include "export/workbook/Formula.h"

namespace orv::formula {
namespace {

// The rewritten formula, the formula itself when unchanged, or "<malformed>".
std::string Result(Status status, std::string_view f, const std::string& out) {
    return status == Status::Changed ? out : status == Status::Unchanged ? std::string(f) : "<malformed>";
}

// Copying moves relative parts of references, not absolute ones, and leaves
// sheet prefixes, quoted text, constants, names and functions alone; a
// reference pushed off the sheet becomes #REF!.
TEST(FormulaCopy, RelativePartsMoveAndEverythingElseStays) {
    // Formula, rows and columns moved, result.
    const std::tuple<const char*, int, int, const char*> cases[] = {
        {"F$9*$E10", 3, 0, "F$9*$E13"},
        {"SUM(B2:B4)+$C$1", 2, 0, "SUM(B4:B6)+$C$1"},
        {"A1", 0, 2, "C1"},
        {"$A1:A$1", 1, 1, "$A2:B$1"},
        {"SUM(3:4)", 2, 0, "SUM(5:6)"},
        {"SUM(A:B)", 2, 0, "SUM(A:B)"},
        {"A2+B5", -3, 0, "#REF!+B2"},
        {"Data!A1", -1, 0, "Data!#REF!"},
        {"XFD1", 0, 1, "#REF!"},
        {"A1048575", 1, 0, "A1048576"},  // the last row is still on the sheet
        {"A1048576", -1, 0, "A1048575"},
        {"A1048575", 2, 0, "#REF!"},
        {"'Values by Items'!F10+'It''s A1'!B2", 1, 0, "'Values by Items'!F11+'It''s A1'!B3"},
        {"\"A1\"&B1", 1, 0, "\"A1\"&B2"},
        {"\"say \"\"A1\"\"\"&B1", 1, 0, "\"say \"\"A1\"\"\"&B2"},
        {"SUM({1,2;3,4})+A1", 1, 0, "SUM({1,2;3,4})+A2"},
        {"IF(ISERROR(A1),#N/A,A1)", 1, 0, "IF(ISERROR(A2),#N/A,A2)"},
        {"[1]Sheet1!A1", 1, 0, "[1]Sheet1!A2"},  // external references still move when copied
        {"LOG10(A1)+ATAN2(1,2)", 1, 0, "LOG10(A2)+ATAN2(1,2)"},
        {"1.5E+10*A1", 1, 0, "1.5E+10*A2"},
        {"TRUE+MyName+R2D2", 1, 0, "TRUE+MyName+R2D2"},
        {"_xlfn.STDEV.S(A1:A3)", 1, 0, "_xlfn.STDEV.S(A2:A4)"},
        {"Table1[Amount]+A1", 1, 0, "Table1[Amount]+A2"},
    };
    for (const auto& [formula, rows, columns, expected] : cases) {
        std::string out;
        EXPECT_EQ(Result(ShiftRelative(formula, rows, columns, out), formula, out), expected) << formula;
    }
}

// Deleting rows moves references below the gap up, shrinks areas, turns
// references into the gap into #REF!, and follows only the deleted sheet.
TEST(FormulaDeletion, ReferencesFollowTheRowsOfTheDeletedSheet) {
    // Formula, deleted sheet, whether the formula lies on it, first deleted
    // row, rows deleted, result.
    const std::tuple<const char*, const char*, bool, int, int, const char*> cases[] = {
        {"F$9*$E10", "S", true, 1, 6, "F$3*$E4"},
        {"A3+A4", "S", true, 4, 1, "A3+#REF!"},
        {"$A$8", "S", true, 2, 3, "$A$5"},
        {"SUM(A2:A10)", "S", true, 4, 3, "SUM(A2:A7)"},
        {"SUM(A5:A10)", "S", true, 4, 3, "SUM(A4:A7)"},
        {"SUM(A1:A5)", "S", true, 4, 3, "SUM(A1:A3)"},
        {"SUM(A4:B6)", "S", true, 4, 3, "SUM(#REF!)"},
        {"SUM(A10:A2)", "S", true, 4, 3, "SUM(A7:A2)"},
        {"SUM(5:9)", "S", true, 1, 2, "SUM(3:7)"},
        {"SUM(C:C)", "S", true, 1, 2, "SUM(C:C)"},
        // The formula lies on another sheet: unprefixed references are its own.
        {"A10+Data!A10+'data'!B10", "Data", false, 1, 4, "A10+Data!A6+'data'!B6"},
        // On the deleted sheet, unprefixed references follow, others do not.
        {"A10+Other!A10", "Data", true, 1, 4, "A6+Other!A10"},
        {"'Values by Items'!F10", "Values by Items", false, 1, 6, "'Values by Items'!F4"},
        {"'Values by Items'!F3", "Values by Items", false, 1, 6, "'Values by Items'!#REF!"},
        {"\"Data!A10\"&Data!A10", "Data", false, 1, 4, "\"Data!A10\"&Data!A6"},
        {"[1]Data!A10", "Data", false, 1, 4, "[1]Data!A10"},
        {"'[Book.xlsx]Data'!A10", "Data", false, 1, 4, "'[Book.xlsx]Data'!A10"},
        {"SUM(Data:Other!A10)", "Data", false, 1, 4, "SUM(Data:Other!A10)"},
    };
    for (const auto& [formula, sheet, onSheet, first, count, expected] : cases) {
        std::string out;
        const Status status = AdjustForDeletedRows(formula, sheet, onSheet, first, count, out);
        EXPECT_EQ(Result(status, formula, out), expected) << formula;
    }
}

TEST(FormulaTokens, UnterminatedOrUnbalancedFormulasAreMalformed) {
    for (const char* bad : {"\"open", "'Sheet!A1", "SUM(A1", "A1)", "{1,2", "Table1[Col"})
        EXPECT_FALSE(IsWellFormed(bad)) << bad;
    EXPECT_TRUE(IsWellFormed("SUM(A1:A3)/3"));
    EXPECT_TRUE(IsWellFormed("\"(\""));
}

}  // namespace
}  // namespace orv::formula
