// Reference rewriting in formulas: copying and deleting rows.

#include <gtest/gtest.h>

#include "export/workbook/Formula.h"

namespace orv::formula {
namespace {

// The rewritten formula, the formula itself when unchanged, or "<malformed>".
std::string Result(Status status, std::string_view f, const std::string& out) {
    return status == Status::Changed ? out : status == Status::Unchanged ? std::string(f) : "<malformed>";
}

std::string Shift(std::string_view f, int rows, int columns = 0) {
    std::string out;
    return Result(ShiftRelative(f, rows, columns, out), f, out);
}

std::string Delete(std::string_view f, std::string_view sheet, bool onSheet, int first, int count) {
    std::string out;
    return Result(AdjustForDeletedRows(f, sheet, onSheet, first, count, out), f, out);
}

TEST(FormulaCopy, RelativePartsMoveAbsolutePartsStay) {
    EXPECT_EQ(Shift("F$9*$E10", 3), "F$9*$E13");
    EXPECT_EQ(Shift("SUM(B2:B4)+$C$1", 2), "SUM(B4:B6)+$C$1");
    EXPECT_EQ(Shift("A1", 0, 2), "C1");
    EXPECT_EQ(Shift("$A1:A$1", 1, 1), "$A2:B$1");
    EXPECT_EQ(Shift("SUM(3:4)", 2), "SUM(5:6)");
    EXPECT_EQ(Shift("SUM(A:B)", 2), "SUM(A:B)");
}

TEST(FormulaCopy, AReferencePushedOffTheSheetBecomesRefError) {
    EXPECT_EQ(Shift("A2+B5", -3), "#REF!+B2");
    EXPECT_EQ(Shift("Data!A1", -1), "Data!#REF!");
    EXPECT_EQ(Shift("XFD1", 0, 1), "#REF!");
    EXPECT_EQ(Shift("A1048575", 1), "A1048576");  // the last row is still on the sheet
    EXPECT_EQ(Shift("A1048576", -1), "A1048575");
    EXPECT_EQ(Shift("A1048575", 2), "#REF!");
}

TEST(FormulaCopy, SheetPrefixesQuotesAndLiteralsAreLeftAlone) {
    EXPECT_EQ(Shift("'Values by Items'!F10+'It''s A1'!B2", 1), "'Values by Items'!F11+'It''s A1'!B3");
    EXPECT_EQ(Shift("\"A1\"&B1", 1), "\"A1\"&B2");
    EXPECT_EQ(Shift("\"say \"\"A1\"\"\"&B1", 1), "\"say \"\"A1\"\"\"&B2");
    EXPECT_EQ(Shift("SUM({1,2;3,4})+A1", 1), "SUM({1,2;3,4})+A2");
    EXPECT_EQ(Shift("IF(ISERROR(A1),#N/A,A1)", 1), "IF(ISERROR(A2),#N/A,A2)");
    EXPECT_EQ(Shift("[1]Sheet1!A1", 1), "[1]Sheet1!A2");  // external references still move when copied
}

TEST(FormulaCopy, NamesFunctionsAndNumbersAreNotReferences) {
    EXPECT_EQ(Shift("LOG10(A1)+ATAN2(1,2)", 1), "LOG10(A2)+ATAN2(1,2)");
    EXPECT_EQ(Shift("1.5E+10*A1", 1), "1.5E+10*A2");
    EXPECT_EQ(Shift("TRUE+MyName+R2D2", 1), "TRUE+MyName+R2D2");
    EXPECT_EQ(Shift("_xlfn.STDEV.S(A1:A3)", 1), "_xlfn.STDEV.S(A2:A4)");
    EXPECT_EQ(Shift("Table1[Amount]+A1", 1), "Table1[Amount]+A2");
}

TEST(FormulaDeletion, ReferencesBelowMoveUpAndIntoTheGapBecomeRefError) {
    EXPECT_EQ(Delete("F$9*$E10", "S", true, 1, 6), "F$3*$E4");
    EXPECT_EQ(Delete("A3+A4", "S", true, 4, 1), "A3+#REF!");
    EXPECT_EQ(Delete("$A$8", "S", true, 2, 3), "$A$5");
}

TEST(FormulaDeletion, AreasShrinkAndVanishOnlyWhenWhollyDeleted) {
    EXPECT_EQ(Delete("SUM(A2:A10)", "S", true, 4, 3), "SUM(A2:A7)");
    EXPECT_EQ(Delete("SUM(A5:A10)", "S", true, 4, 3), "SUM(A4:A7)");
    EXPECT_EQ(Delete("SUM(A4:B6)", "S", true, 4, 3), "SUM(#REF!)");
    EXPECT_EQ(Delete("SUM(A10:A2)", "S", true, 4, 3), "SUM(A7:A2)");
    EXPECT_EQ(Delete("SUM(5:9)", "S", true, 1, 2), "SUM(3:7)");
    EXPECT_EQ(Delete("SUM(C:C)", "S", true, 1, 2), "SUM(C:C)");
}

TEST(FormulaDeletion, OnlyReferencesToTheDeletedSheetFollow) {
    // The formula lies on another sheet: unprefixed references are its own.
    EXPECT_EQ(Delete("A10+Data!A10+'data'!B10", "Data", false, 1, 4), "A10+Data!A6+'data'!B6");
    // On the deleted sheet, unprefixed references follow, others do not.
    EXPECT_EQ(Delete("A10+Other!A10", "Data", true, 1, 4), "A6+Other!A10");
    EXPECT_EQ(Delete("'Values by Items'!F10", "Values by Items", false, 1, 6), "'Values by Items'!F4");
    EXPECT_EQ(Delete("'Values by Items'!F3", "Values by Items", false, 1, 6), "'Values by Items'!#REF!");
}

TEST(FormulaDeletion, LiteralsExternalAndThreeDimensionalReferencesStay) {
    EXPECT_EQ(Delete("\"Data!A10\"&Data!A10", "Data", false, 1, 4), "\"Data!A10\"&Data!A6");
    EXPECT_EQ(Delete("[1]Data!A10", "Data", false, 1, 4), "[1]Data!A10");
    EXPECT_EQ(Delete("'[Book.xlsx]Data'!A10", "Data", false, 1, 4), "'[Book.xlsx]Data'!A10");
    EXPECT_EQ(Delete("SUM(Data:Other!A10)", "Data", false, 1, 4), "SUM(Data:Other!A10)");
}

TEST(FormulaTokens, UnterminatedOrUnbalancedFormulasAreMalformed) {
    for (const char* bad : {"\"open", "'Sheet!A1", "SUM(A1", "A1)", "{1,2", "Table1[Col"})
        EXPECT_FALSE(IsWellFormed(bad)) << bad;
    EXPECT_TRUE(IsWellFormed("SUM(A1:A3)/3"));
    EXPECT_TRUE(IsWellFormed("\"(\""));
}

}  // namespace
}  // namespace orv::formula
