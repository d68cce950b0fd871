#pragma once
// Formula references: a tokenizer that finds the cell references of a formula
// (leaving string literals, quoted sheet names, array constants, structured
// references and function names alone) and rewrites them, as a spreadsheet
// does when a formula is copied or when rows are deleted.

#include <functional>
#include <string>
#include <string_view>

namespace orv::formula {

// One reference as written in a formula, e.g. 'My Sheet'!$A1:B$7.
struct Reference {
    enum class Shape { Cell, Area, Rows, Columns };
    Shape shape = Shape::Cell;
    bool hasSheet = false;    // written with a sheet prefix
    bool external = false;    // points into another workbook ([1]Sheet!A1)
    bool multiSheet = false;  // a 3-D reference (Sheet1:Sheet3!A1)
    std::string sheet;        // unquoted sheet name when hasSheet
    // Corners as written (not reordered). Rows are 0 for a Columns reference,
    // columns are 0 for a Rows reference; a Cell uses only the first corner.
    int row1 = 0, column1 = 0, row2 = 0, column2 = 0;
    bool absRow1 = false, absColumn1 = false, absRow2 = false, absColumn2 = false;
};

enum class Edit {
    Keep,     // the reference stays as written
    Changed,  // the visitor changed the reference; write it anew
    Invalid,  // the reference no longer exists; write #REF!
};

enum class Status { Unchanged, Changed, Malformed };

using Visitor = std::function<Edit(Reference&)>;

// Calls visit for every reference of a formula (text without the leading
// "="). When a reference is changed or invalid, out receives the rewritten
// formula and the result is Changed. Malformed: an unterminated string,
// quoted name, bracket or array constant, or unbalanced parentheses.
Status RewriteReferences(std::string_view formula, const Visitor& visit, std::string& out);

// True when the formula can be tokenized (see Malformed above).
bool IsWellFormed(std::string_view formula);

// Relative parts move by the offsets, absolute parts stay, as when a formula
// is copied to a cell rowOffset rows and columnOffset columns away. A
// reference pushed off the sheet becomes #REF!.
Status ShiftRelative(std::string_view formula, int rowOffset, int columnOffset, std::string& out);

// Rows [first, first + count) of sheet deletedSheet are removed and the rows
// below move up. References to that sheet (by name, or without a sheet prefix
// when the formula itself lies on that sheet) follow their rows; a reference
// wholly inside the deleted rows becomes #REF!, an area reaching into them
// shrinks. Sheet names are compared ignoring ASCII case. *sameCells, when
// given, tells whether every reference still names the cells it named (moved
// only), so that the formula's result is unchanged.
Status AdjustForDeletedRows(std::string_view formula, std::string_view deletedSheet, bool formulaOnDeletedSheet,
                            int first, int count, std::string& out, bool* sameCells = nullptr);

}  // namespace orv::formula
