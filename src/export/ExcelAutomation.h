#pragma once
// The spreadsheet operations the exports are written in: open a workbook,
// select a worksheet, write cells, copy template rows, delete rows, save and
// close. Behind them is the in-process workbook engine. Each operation
// catches its own failures, hands a diagnostic text to the Environment
// service's diagnostics and reports failure by its result; a cell that
// cannot be written is skipped.

#include <cstdint>
#include <memory>
#include <string>

namespace orv {

class Workbook;

class ExcelAutomation {
public:
    // Starts the spreadsheet engine.
    ExcelAutomation();
    ~ExcelAutomation();
    ExcelAutomation(const ExcelAutomation&) = delete;
    ExcelAutomation& operator=(const ExcelAutomation&) = delete;

    // Opens a workbook and selects its first worksheet. 0, or -1.
    int32_t Open(const std::string& path);
    // Selects worksheet `index` (1-based) and reads its name. 0, or -1.
    int32_t SelectWorksheet(int32_t index, std::string* name = nullptr);
    // Writes the open workbook back to its file. 0, or -1.
    int32_t Save();
    // Saves and closes the open workbook. 0, or -1 when the save failed.
    int32_t Close();

    // Cell writes. WriteText reads the text as a spreadsheet reads typed
    // input ("=..." a formula, numbers and dates as numbers); WriteLiteral
    // keeps names and notes exactly as they are ("007" stays "007").
    void WriteText(int32_t row, int32_t column, const std::string& text);
    void WriteLiteral(int32_t row, int32_t column, const std::string& text);
    void WriteNumber(int32_t row, int32_t column, float value);
    // A formula ("=...") with the result the caller computed for it, stored
    // for programs that show stored results without recalculating.
    void WriteFormula(int32_t row, int32_t column, const std::string& formula, double result);
    // A whole number in column `column` of the current row.
    void WriteWholeNumber(int32_t column, int32_t value);

    // Copies `count` rows from `first` to `destination` (contents, styles and
    // heights), then, when `repeat` is not 0, the next template row `repeat`
    // times and the row after it once. Returns the row after the last copied
    // one (`destination` itself when nothing could be copied).
    int32_t CopyRows(int32_t first, int32_t count, int32_t destination, int32_t repeat);
    // Deletes rows; the rows below move up. 0, or -1.
    int32_t DeleteRows(int32_t first, int32_t count);

    // The engine's own description of the last failure, for messages.
    const std::string& LastDiagnostic() const { return diagnostic_; }
    // The engine's result code of the last failure (a WorkbookResult).
    int LastFailure() const { return failure_; }
    // Reports an open that could not even be tried, because the copy to open
    // could not be made; `diagnostic` says why.
    void ReportOpenFailure(std::string diagnostic);

    // The row cell writes without a row go to (1-based). Rows are 32-bit:
    // workbooks hold over a million rows, and large histories need them.
    int32_t currentRow = 1;

private:
    void Fail(const char* text, std::string diagnostic, int failure);

    std::unique_ptr<Workbook> workbook_;
    std::string diagnostic_;
    int failure_ = 0;
};

}  // namespace orv
