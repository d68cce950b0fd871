#pragma once
// The workbook engine: opens an Office Open XML workbook (.xlsx), edits it
// through the operations a spreadsheet application offers to automation, and
// saves it. Constructing a Workbook starts the engine; it holds at most one
// open workbook at a time.
//
// Every operation returns an int: 0 (or, for CopyRows, the next row) on
// success, one of the negative WorkbookResult codes on failure. On failure a
// diagnostic text is stored (Diagnostic()) and, when diag is given, copied
// there. No exception leaves an operation.
//
// Behaviour a caller can rely on:
// - Parts the engine does not change are saved byte-for-byte as read.
// - Saving writes rows and cells in strictly ascending order, updates the
//   sheet dimension, removes the calculation chain and marks the workbook
//   for full recalculation on load, so that every program recomputes the
//   formulas. A formula written with SetFormula also stores the result the
//   caller computed, for programs that show stored results without
//   recalculating; other formulas are stored without one.
// - Deleting rows moves every formula reference in every sheet (and in the
//   defined names) that points at a moved row; references into deleted rows
//   become #REF!. Merged ranges follow their rows.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

enum WorkbookResult : int {
    kWorkbookOk = 0,
    kWorkbookNotOpen = -1,      // no workbook is open
    kWorkbookFileError = -2,    // the file cannot be read or written
    kWorkbookDamaged = -3,      // not a workbook, or a damaged one
    kWorkbookBadArgument = -4,  // row, column, sheet or value outside what a sheet holds
    kWorkbookReadOnly = -5,     // Save on a workbook opened read-only
    kWorkbookBusy = -6,         // Open while another workbook is open
    kWorkbookInternal = -7,     // unexpected failure, e.g. out of memory
};

// What a cell shows (for formulas: the result stored with the file, if any).
enum class CellKind { Blank, Number, Text, Boolean, Error, Date };

struct CellContent {
    CellKind kind = CellKind::Blank;
    std::string value;    // the number as stored, the text, "1"/"0", "#N/A", ...
    std::string formula;  // without "=", empty when the cell has no formula
    std::uint32_t style = 0;
};

class Workbook {
public:
    Workbook();
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // Opens the workbook at path; its first worksheet becomes the selected one
    // and the current row is 1.
    int Open(const std::string& path, bool readOnly, std::string* diag = nullptr);
    // Saves to the path it was opened from (refused when opened read-only).
    int Save(std::string* diag = nullptr);
    // Saves to another path, which becomes the workbook's path.
    int SaveAs(const std::string& path, std::string* diag = nullptr);
    // Closes the workbook, first saving it when saveChanges is set and it has
    // unsaved changes. A failed save leaves it open.
    int Close(bool saveChanges, std::string* diag = nullptr);

    bool IsOpen() const;
    bool IsModified() const;
    const std::string& Path() const;

    // Worksheets, 1-based, in workbook order (chart sheets are not counted).
    int SheetCount() const;
    int SelectSheet(int index, std::string* diag = nullptr);
    int SelectedSheet() const;
    // Name of the selected worksheet; empty when no workbook is open.
    std::string SheetName() const;

    // The row that SetWholeNumber writes to.
    void SetCurrentRow(int row);
    int CurrentRow() const;

    // Puts text into a cell of the selected sheet as if typed: "=..." is a
    // formula, numbers, M/D/Y dates (with an optional H:M:S time) and times
    // become numbers (a General cell then gets a date or time format), TRUE and
    // FALSE logical values, a leading apostrophe keeps the rest as text, and
    // an empty text empties the cell. Numbers are read locale-independently.
    int SetText(int row, int column, std::string_view text, std::string* diag = nullptr);
    // Puts the text into the cell as it is, never reading it as a number,
    // date or formula.
    int SetLiteralText(int row, int column, std::string_view text, std::string* diag = nullptr);
    int SetNumber(int row, int column, double value, std::string* diag = nullptr);
    // A 32-bit value is written as its shortest decimal form (0.1f -> 0.1).
    int SetNumber(int row, int column, float value, std::string* diag = nullptr);
    // Puts a formula (without its "=") into a cell together with its result,
    // which is stored with the file. The result moves with the cell when rows
    // are deleted and is dropped when a reference loses cells or the formula
    // is copied. A non-finite result stores the formula alone.
    int SetFormula(int row, int column, std::string_view formula, double result, std::string* diag = nullptr);
    // Writes a whole number into the current row.
    int SetWholeNumber(int column, std::int32_t value, std::string* diag = nullptr);

    // Copies rowCount rows starting at firstRow onto the rows from
    // destinationRow on (contents, styles, row heights and merged ranges; the
    // destination rows are replaced, relative references of formulas move with
    // the row). When repeatCount is not 0, the template row after those is then
    // copied repeatCount times and the row after it once. Returns the row after
    // the last row written (> 0), or a negative WorkbookResult.
    int CopyRows(int firstRow, int rowCount, int destinationRow, int repeatCount, std::string* diag = nullptr);
    // Deletes rowCount rows starting at firstRow; the rows below move up.
    int DeleteRows(int firstRow, int rowCount, std::string* diag = nullptr);

    // Reading the selected sheet.
    CellContent GetCell(int row, int column) const;
    // Height of a row in points, or -1 when it has the default height.
    double RowHeight(int row) const;
    // The last row holding anything, 0 for an empty sheet.
    int LastRow() const;
    // Merged ranges as "A1:C1" texts.
    std::vector<std::string> MergedRanges() const;

    // The diagnostic text of the last failure.
    const std::string& Diagnostic() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace orv
