#pragma once
// In-memory worksheet: the rows and cells of <sheetData> in a compact model
// (fast to append to and to serialize), everything else of the part kept as
// an XML tree and written back as read.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "export/workbook/CellAddress.h"

namespace orv::workbook {

// Stored type of a cell value (the t attribute).
enum class ValueType : std::uint8_t {
    Blank,
    Number,         // t absent or "n"
    SharedString,   // "s": value is the index into the shared-string table
    InlineString,   // "inlineStr": the <is> element is kept as written
    Boolean,        // "b"
    Error,          // "e"
    FormulaString,  // "str": a formula's text result
    Date,           // "d": ISO 8601 text
};

using Attributes = std::vector<std::pair<std::string, std::string>>;

// What a cell holds beyond the common case (rare, so kept out of line).
struct CellExtra {
    // The <v> of a formula cell as read (its type is the cell's type).
    bool hasCachedValue = false;
    std::string cachedValue;
    Attributes formulaAttributes;  // of <f>: t="array" ref=..., aca, ...
    std::string inlineXml;         // the <is>...</is> element
    std::string cellAttributes;    // other attributes of <c> (cm, vm, ph), as XML
    std::string tailXml;           // children after the value (extLst)
};

struct Cell {
    std::uint32_t column = 0;
    std::uint32_t style = 0;
    ValueType type = ValueType::Blank;
    bool hasFormula = false;
    std::string text;  // the formula (without "=") when hasFormula, else the <v> text
    std::unique_ptr<CellExtra> extra;

    Cell() = default;
    Cell(const Cell& other);
    Cell& operator=(const Cell& other);
    Cell(Cell&&) noexcept = default;
    Cell& operator=(Cell&&) noexcept = default;

    // Empties the value (and formula), keeping the style.
    void ClearContent();
};

struct Row {
    std::uint32_t index = 0;
    // Style of the row's empty cells (s with customFormat="1"), -1 when none.
    std::int64_t style = -1;
    Attributes attributes;    // everything but r and spans (ht, customHeight, s, ...)
    std::vector<Cell> cells;  // strictly ascending columns
};

class Worksheet {
public:
    // Parses a worksheet part; throws std::runtime_error when it is not one.
    explicit Worksheet(std::string_view xml);
    Worksheet(const Worksheet&) = delete;
    Worksheet& operator=(const Worksheet&) = delete;

    // The whole part, rows and cells in ascending order, dimension updated.
    std::string Serialize();

    bool Dirty() const { return dirty_; }
    void MarkDirty() { dirty_ = true; }
    void MarkSaved() { dirty_ = false; }

    const Row* FindRow(int index) const;
    // The row, created when missing.
    Row& RowAt(int index);
    // The cell of a row, created when missing with the style a new cell gets
    // there (the row's style, else the column's).
    Cell& CellAt(Row& row, int column);
    const Cell* FindCell(int row, int column) const;

    int LastRow() const { return rows_.empty() ? 0 : static_cast<int>(rows_.back().index); }
    const std::vector<CellArea>& Merges() const { return merges_; }

    // Copies rows [first, first + count) to destination (contents, styles, row
    // attributes and merged ranges, formulas moved with the row); when repeat
    // is not 0, then row first + count repeat times and row first + count + 1
    // once. Returns the row after the last one written. Arguments are checked
    // by the caller.
    int CopyRows(int first, int count, int destination, int repeat);

    // Removes rows [first, first + count); rows below move up, merged ranges
    // follow. Formulas are adjusted separately (AdjustFormulasForDeletion),
    // since every sheet's formulas may point here.
    void DeleteRows(int first, int count);

    // Moves references to rows of deletedSheet after a deletion there; returns
    // true when a formula changed.
    bool AdjustFormulasForDeletion(std::string_view deletedSheet, bool thisSheet, int first, int count);

    std::size_t CellCount() const;

private:
    void Parse(std::string_view xml);
    void ParseRows(pugi::xml_node sheetData);
    void NormalizeOrder();
    void ExpandSharedFormulas();
    std::size_t LowerBound(int index) const;
    void PlaceRow(const Row* source, int sourceIndex, int destination);
    void CopyMerges(const std::vector<CellArea>& source, int firstSource, int count, int destination);
    void UpdateMerges();
    std::uint32_t ColumnStyle(int column) const;
    void AppendRowXml(std::string& out, const Row& row) const;

    pugi::xml_document doc_;
    pugi::xml_node sheetData_;
    std::string prefix_;     // namespace prefix of the sheet's elements ("" or "x:")
    std::vector<Row> rows_;  // strictly ascending
    std::size_t hint_ = 0;   // index of the row used last
    struct ColumnRange {
        int first, last;
        std::uint32_t style;
    };
    std::vector<ColumnRange> columnStyles_;
    std::vector<CellArea> merges_;
    bool mergesChanged_ = false;
    bool dirty_ = false;
};

}  // namespace orv::workbook
