#include "export/workbook/Worksheet.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <unordered_map>

#include "export/workbook/Formula.h"
#include "export/workbook/XmlDocument.h"
#include "export/workbook/XmlText.h"

namespace orv::workbook {

namespace {

constexpr std::string_view kRowsPlaceholder = "ORV-SHEET-ROWS-PLACEHOLDER";

template <typename T>
bool ParseUnsigned(std::string_view text, T& value) {
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    return res.ec == std::errc() && res.ptr == text.data() + text.size();
}

void AppendNumber(std::string& out, std::uint64_t value) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, res.ptr);
}

ValueType TypeFromText(std::string_view t) {
    if (t.empty() || t == "n") return ValueType::Number;
    if (t == "s") return ValueType::SharedString;
    if (t == "inlineStr") return ValueType::InlineString;
    if (t == "b") return ValueType::Boolean;
    if (t == "e") return ValueType::Error;
    if (t == "str") return ValueType::FormulaString;
    if (t == "d") return ValueType::Date;
    throw std::runtime_error("unknown cell type \"" + std::string(t) + "\"");
}

const char* TypeText(ValueType type) {
    switch (type) {
    case ValueType::SharedString: return "s";
    case ValueType::InlineString: return "inlineStr";
    case ValueType::Boolean: return "b";
    case ValueType::Error: return "e";
    case ValueType::FormulaString: return "str";
    case ValueType::Date: return "d";
    default: return nullptr;
    }
}

const std::string* FindAttribute(const Attributes& attributes, std::string_view name) {
    for (const auto& [key, value] : attributes) {
        if (key == name) return &value;
    }
    return nullptr;
}

void EraseAttributes(Attributes& attributes, std::initializer_list<std::string_view> names) {
    std::erase_if(attributes,
                  [&](const auto& a) { return std::find(names.begin(), names.end(), a.first) != names.end(); });
}

// The row's style applies to its empty cells only with customFormat="1".
std::int64_t RowStyle(const Attributes& attributes) {
    const std::string* custom = FindAttribute(attributes, "customFormat");
    const std::string* style = FindAttribute(attributes, "s");
    if (!custom || !style || (*custom != "1" && *custom != "true")) return -1;
    std::uint32_t value = 0;
    if (!ParseUnsigned(std::string_view(*style), value)) return -1;
    return value;
}

void DropCachedValue(Cell& cell) {
    if (cell.extra) {
        cell.extra->hasCachedValue = false;
        cell.extra->cachedValue.clear();
    }
    cell.type = ValueType::Number;
}

// Moves the rows of an array formula's range (its ref attribute).
void ShiftFormulaRange(Cell& cell, int rowOffset) {
    if (!cell.extra) return;
    for (auto& [name, value] : cell.extra->formulaAttributes) {
        if (name != "ref") continue;
        if (auto area = ParseCellArea(value)) {
            area->firstRow += rowOffset;
            area->lastRow += rowOffset;
            if (area->firstRow >= 1 && area->lastRow <= kMaxRows) value = FormatCellArea(*area);
        }
    }
}

// Blank unstyled cells carry nothing and are not written.
bool IsWritten(const Cell& cell) {
    return cell.hasFormula || cell.type != ValueType::Blank || cell.style != 0 || cell.extra;
}

// Appends ` name="value"`, the value escaped for an attribute.
void AppendAttribute(std::string& out, std::string_view name, std::string_view value) {
    out += ' ';
    out += name;
    out += "=\"";
    xml::AppendEscapedAttribute(out, value);
    out += '"';
}

}  // namespace

Cell::Cell(const Cell& other)
    : column(other.column),
      style(other.style),
      type(other.type),
      hasFormula(other.hasFormula),
      text(other.text),
      extra(other.extra ? std::make_unique<CellExtra>(*other.extra) : nullptr) {}

Cell& Cell::operator=(const Cell& other) {
    if (this != &other) {
        column = other.column;
        style = other.style;
        type = other.type;
        hasFormula = other.hasFormula;
        text = other.text;
        extra = other.extra ? std::make_unique<CellExtra>(*other.extra) : nullptr;
    }
    return *this;
}

void Cell::ClearContent() {
    type = ValueType::Blank;
    hasFormula = false;
    text.clear();
    extra.reset();
}

Worksheet::Worksheet(std::string_view xml) { Parse(xml); }

void Worksheet::Parse(std::string_view xml) {
    if (const std::string problem = xml::Load(doc_, xml); !problem.empty()) {
        throw std::runtime_error("worksheet: " + problem);
    }
    const pugi::xml_node root = doc_.document_element();
    if (xml::LocalName(root.name()) != "worksheet") throw std::runtime_error("part is not a worksheet");
    for (pugi::xml_node child : root.children()) {
        const std::string_view name = xml::LocalName(child.name());
        if (name == "sheetData") {
            sheetData_ = child;
        } else if (name == "cols") {
            for (pugi::xml_node col : child.children()) {
                if (xml::LocalName(col.name()) != "col") continue;
                const int first = col.attribute("min").as_int();
                const int last = col.attribute("max").as_int();
                const unsigned style = col.attribute("style").as_uint();
                if (first >= 1 && last >= first && style != 0) columnStyles_.push_back({first, last, style});
            }
        } else if (name == "mergeCells") {
            for (pugi::xml_node merge : child.children()) {
                if (xml::LocalName(merge.name()) != "mergeCell") continue;
                if (auto area = ParseCellArea(merge.attribute("ref").value())) merges_.push_back(*area);
            }
        }
    }
    if (!sheetData_) throw std::runtime_error("worksheet has no sheetData");
    prefix_ = std::string(xml::Prefix(sheetData_.name()));
    ParseRows(sheetData_);
    sheetData_.remove_children();
    NormalizeOrder();
    ExpandSharedFormulas();
}

void Worksheet::ParseRows(pugi::xml_node sheetData) {
    int previousRow = 0;
    for (pugi::xml_node rowNode : sheetData.children()) {
        if (rowNode.type() != pugi::node_element || xml::LocalName(rowNode.name()) != "row") continue;
        Row row;
        int index = previousRow + 1;  // r is optional: the row after the previous one
        for (pugi::xml_attribute attr : rowNode.attributes()) {
            const std::string_view name = attr.name();
            if (name == "r") {
                if (!ParseUnsigned(std::string_view(attr.value()), index) || index < 1) {
                    throw std::runtime_error(std::string("bad row number \"") + attr.value() + "\"");
                }
            } else if (name != "spans") {  // spans is only a hint and goes stale when cells move
                row.attributes.emplace_back(name, attr.value());
            }
        }
        if (index > kMaxRows) throw std::runtime_error("row number beyond the sheet");
        row.index = static_cast<std::uint32_t>(index);
        row.style = RowStyle(row.attributes);
        previousRow = index;

        int previousColumn = 0;
        for (pugi::xml_node cellNode : rowNode.children()) {
            if (cellNode.type() != pugi::node_element || xml::LocalName(cellNode.name()) != "c") continue;
            Cell cell;
            int column = previousColumn + 1;
            std::string_view typeText;
            std::string otherAttributes;
            for (pugi::xml_attribute attr : cellNode.attributes()) {
                const std::string_view name = attr.name();
                if (name == "r") {
                    const auto position = ParseCellAddress(attr.value());
                    if (!position) throw std::runtime_error(std::string("bad cell reference \"") + attr.value() + "\"");
                    column = position->column;
                } else if (name == "s") {
                    if (!ParseUnsigned(std::string_view(attr.value()), cell.style)) cell.style = 0;
                } else if (name == "t") {
                    typeText = attr.value();
                } else {
                    AppendAttribute(otherAttributes, name, attr.value());
                }
            }
            if (column > kMaxColumns) throw std::runtime_error("column beyond the sheet");
            cell.column = static_cast<std::uint32_t>(column);
            previousColumn = column;
            cell.type = TypeFromText(typeText);
            if (!otherAttributes.empty()) {
                cell.extra = std::make_unique<CellExtra>();
                cell.extra->cellAttributes = std::move(otherAttributes);
            }
            const auto extra = [&cell]() -> CellExtra& {
                if (!cell.extra) cell.extra = std::make_unique<CellExtra>();
                return *cell.extra;
            };
            bool hasValue = false;
            std::string value;
            for (pugi::xml_node child : cellNode.children()) {
                if (child.type() != pugi::node_element) continue;
                const std::string_view name = xml::LocalName(child.name());
                if (name == "f") {
                    cell.hasFormula = true;
                    cell.text = child.text().get();
                    for (pugi::xml_attribute attr : child.attributes()) {
                        extra().formulaAttributes.emplace_back(attr.name(), attr.value());
                    }
                } else if (name == "v") {
                    hasValue = true;
                    value = child.text().get();
                } else if (name == "is") {
                    extra().inlineXml = xml::Print(child);
                } else {
                    extra().tailXml += xml::Print(child);
                }
            }
            if (cell.hasFormula) {
                if (hasValue) {
                    extra().hasCachedValue = true;
                    extra().cachedValue = std::move(value);
                }
                if (cell.extra && cell.extra->formulaAttributes.empty() && !cell.extra->hasCachedValue &&
                    cell.extra->cellAttributes.empty() && cell.extra->inlineXml.empty() &&
                    cell.extra->tailXml.empty()) {
                    cell.extra.reset();
                }
            } else if (cell.type == ValueType::InlineString) {
                if (!cell.extra || cell.extra->inlineXml.empty()) cell.type = ValueType::Blank;
            } else if (hasValue) {
                cell.text = std::move(value);
            } else {
                cell.type = ValueType::Blank;
            }
            row.cells.push_back(std::move(cell));
        }
        rows_.push_back(std::move(row));
    }
}

// A hand-made or damaged sheet can list rows or cells out of order or twice;
// a spreadsheet program rejects that, so the model is put in strict order,
// the later of two equal cells winning and the cells of equal rows merged.
void Worksheet::NormalizeOrder() {
    const bool rowsOrdered = std::adjacent_find(rows_.begin(), rows_.end(), [](const Row& a, const Row& b) {
                                 return a.index >= b.index;
                             }) == rows_.end();
    if (!rowsOrdered) {
        std::stable_sort(rows_.begin(), rows_.end(), [](const Row& a, const Row& b) { return a.index < b.index; });
        std::vector<Row> merged;
        merged.reserve(rows_.size());
        for (Row& row : rows_) {
            if (!merged.empty() && merged.back().index == row.index) {
                Row& target = merged.back();
                for (Cell& cell : row.cells) target.cells.push_back(std::move(cell));
                if (target.attributes.empty()) {
                    target.attributes = std::move(row.attributes);
                    target.style = row.style;
                }
            } else {
                merged.push_back(std::move(row));
            }
        }
        rows_ = std::move(merged);
    }
    for (Row& row : rows_) {
        auto& cells = row.cells;
        const bool ordered = std::adjacent_find(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
                                 return a.column >= b.column;
                             }) == cells.end();
        if (ordered) continue;
        std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) { return a.column < b.column; });
        std::vector<Cell> unique;
        unique.reserve(cells.size());
        for (Cell& cell : cells) {
            if (!unique.empty() && unique.back().column == cell.column) {
                unique.back() = std::move(cell);
            } else {
                unique.push_back(std::move(cell));
            }
        }
        cells = std::move(unique);
    }
}

// A shared formula is written once, in its first cell, and the other cells
// of its range refer to it by number. Rows copied or deleted later must carry
// their own formula, so every shared formula is written out in full here,
// moved to its cell as a spreadsheet would.
void Worksheet::ExpandSharedFormulas() {
    struct Master {
        int row, column;
        std::string text;
    };
    std::unordered_map<std::string, Master> masters;
    bool anyShared = false;
    const auto sharedIndex = [](const Cell& cell) -> const std::string* {
        if (!cell.hasFormula || !cell.extra) return nullptr;
        const std::string* type = FindAttribute(cell.extra->formulaAttributes, "t");
        if (!type || *type != "shared") return nullptr;
        const std::string* si = FindAttribute(cell.extra->formulaAttributes, "si");
        static const std::string kNone;
        return si ? si : &kNone;
    };
    for (const Row& row : rows_) {
        for (const Cell& cell : row.cells) {
            const std::string* si = sharedIndex(cell);
            if (!si) continue;
            anyShared = true;
            if (!cell.text.empty()) {
                masters.try_emplace(*si, Master{static_cast<int>(row.index), static_cast<int>(cell.column), cell.text});
            }
        }
    }
    if (!anyShared) return;
    std::string shifted;
    for (Row& row : rows_) {
        for (Cell& cell : row.cells) {
            const std::string* si = sharedIndex(cell);
            if (!si) continue;
            bool expanded = !cell.text.empty();
            if (!expanded) {
                const auto it = masters.find(*si);
                if (it != masters.end()) {
                    const Master& master = it->second;
                    const auto status = formula::ShiftRelative(master.text, static_cast<int>(row.index) - master.row,
                                                               static_cast<int>(cell.column) - master.column, shifted);
                    if (status == formula::Status::Changed) {
                        cell.text = shifted;
                        expanded = true;
                    } else if (status == formula::Status::Unchanged) {
                        cell.text = master.text;
                        expanded = true;
                    }
                }
            }
            if (expanded) {
                EraseAttributes(cell.extra->formulaAttributes, {"t", "ref", "si"});
            } else {
                // No usable formula to share: keep the value the cell showed.
                cell.hasFormula = false;
                cell.extra->formulaAttributes.clear();
                if (cell.extra->hasCachedValue) {
                    cell.text = std::move(cell.extra->cachedValue);
                    cell.extra->hasCachedValue = false;
                } else {
                    cell.type = ValueType::Blank;
                }
            }
        }
    }
}

std::size_t Worksheet::LowerBound(int index) const {
    return static_cast<std::size_t>(
        std::lower_bound(rows_.begin(), rows_.end(), index,
                         [](const Row& row, int value) { return static_cast<int>(row.index) < value; }) -
        rows_.begin());
}

const Row* Worksheet::FindRow(int index) const {
    if (hint_ < rows_.size() && static_cast<int>(rows_[hint_].index) == index) return &rows_[hint_];
    const std::size_t pos = LowerBound(index);
    if (pos < rows_.size() && static_cast<int>(rows_[pos].index) == index) return &rows_[pos];
    return nullptr;
}

Row& Worksheet::RowAt(int index) {
    // Rows are written mostly in order: the row used last, the one after it,
    // or a new last row are found without searching.
    if (hint_ < rows_.size()) {
        if (static_cast<int>(rows_[hint_].index) == index) return rows_[hint_];
        if (hint_ + 1 < rows_.size() && static_cast<int>(rows_[hint_ + 1].index) == index) {
            return rows_[++hint_];
        }
    }
    if (rows_.empty() || static_cast<int>(rows_.back().index) < index) {
        Row row;
        row.index = static_cast<std::uint32_t>(index);
        rows_.push_back(std::move(row));
        hint_ = rows_.size() - 1;
        return rows_.back();
    }
    std::size_t pos = LowerBound(index);
    if (static_cast<int>(rows_[pos].index) != index) {
        Row row;
        row.index = static_cast<std::uint32_t>(index);
        rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(row));
    }
    hint_ = pos;
    return rows_[pos];
}

std::uint32_t Worksheet::ColumnStyle(int column) const {
    for (const ColumnRange& range : columnStyles_) {
        if (column >= range.first && column <= range.last) return range.style;
    }
    return 0;
}

Cell& Worksheet::CellAt(Row& row, int column) {
    auto& cells = row.cells;
    if (cells.empty() || static_cast<int>(cells.back().column) < column) {
        Cell cell;
        cell.column = static_cast<std::uint32_t>(column);
        cell.style = row.style >= 0 ? static_cast<std::uint32_t>(row.style) : ColumnStyle(column);
        cells.push_back(std::move(cell));
        return cells.back();
    }
    auto it = std::lower_bound(cells.begin(), cells.end(), column,
                               [](const Cell& cell, int value) { return static_cast<int>(cell.column) < value; });
    if (static_cast<int>(it->column) != column) {
        Cell cell;
        cell.column = static_cast<std::uint32_t>(column);
        cell.style = row.style >= 0 ? static_cast<std::uint32_t>(row.style) : ColumnStyle(column);
        it = cells.insert(it, std::move(cell));
    }
    return *it;
}

const Cell* Worksheet::FindCell(int rowIndex, int column) const {
    const Row* row = FindRow(rowIndex);
    if (!row) return nullptr;
    const auto it = std::lower_bound(row->cells.begin(), row->cells.end(), column,
                                     [](const Cell& cell, int value) { return static_cast<int>(cell.column) < value; });
    return it != row->cells.end() && static_cast<int>(it->column) == column ? &*it : nullptr;
}

std::size_t Worksheet::CellCount() const {
    std::size_t count = 0;
    for (const Row& row : rows_) count += row.cells.size();
    return count;
}

void Worksheet::PlaceRow(const Row* source, int sourceIndex, int destination) {
    const std::size_t pos = LowerBound(destination);
    const bool exists = pos < rows_.size() && static_cast<int>(rows_[pos].index) == destination;
    if (!source) {  // an empty source row empties the destination row
        if (exists) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(pos));
        hint_ = 0;
        return;
    }
    Row copy = *source;
    copy.index = static_cast<std::uint32_t>(destination);
    const int offset = destination - sourceIndex;
    std::string shifted;
    for (Cell& cell : copy.cells) {
        if (!cell.hasFormula) continue;
        if (formula::ShiftRelative(cell.text, offset, 0, shifted) == formula::Status::Changed) {
            cell.text.swap(shifted);
        }
        // The copy computes something else: its old result must not be shown.
        DropCachedValue(cell);
        ShiftFormulaRange(cell, offset);
    }
    if (exists) {
        rows_[pos] = std::move(copy);
    } else {
        rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(copy));
    }
    hint_ = pos;
}

void Worksheet::CopyMerges(const std::vector<CellArea>& source, int firstSource, int count, int destination) {
    const int lastSource = firstSource + count - 1;
    for (const CellArea& area : source) {
        if (area.firstRow < firstSource || area.lastRow > lastSource) continue;
        CellArea moved = area;
        moved.firstRow += destination - firstSource;
        moved.lastRow += destination - firstSource;
        merges_.push_back(moved);
        mergesChanged_ = true;
    }
}

int Worksheet::CopyRows(int first, int count, int destination, int repeat) {
    // Copy from a snapshot, so that a destination overlapping the source rows
    // receives the rows as they were before the copy.
    const int sourceCount = count + (repeat > 0 ? 2 : 0);
    std::vector<std::unique_ptr<Row>> snapshot(static_cast<std::size_t>(sourceCount));
    for (int i = 0; i < sourceCount; ++i) {
        if (const Row* row = FindRow(first + i)) snapshot[static_cast<std::size_t>(i)] = std::make_unique<Row>(*row);
    }
    std::vector<CellArea> sourceMerges;
    for (const CellArea& area : merges_) {
        if (area.firstRow >= first && area.lastRow < first + sourceCount) sourceMerges.push_back(area);
    }

    int next = destination;
    const auto place = [&](int offset, int rows) {
        if (!merges_.empty()) {  // merged ranges over the destination rows are replaced
            const int last = next + rows - 1;
            const auto removed = std::erase_if(
                merges_, [&](const CellArea& area) { return area.lastRow >= next && area.firstRow <= last; });
            if (removed > 0) mergesChanged_ = true;
        }
        for (int i = 0; i < rows; ++i) {
            PlaceRow(snapshot[static_cast<std::size_t>(offset + i)].get(), first + offset + i, next + i);
        }
        CopyMerges(sourceMerges, first + offset, rows, next);
        next += rows;
    };
    place(0, count);
    if (repeat > 0) {
        for (int i = 0; i < repeat; ++i) place(count, 1);
        place(count + 1, 1);
    }
    dirty_ = true;
    return next;
}

void Worksheet::DeleteRows(int first, int count) {
    const std::size_t from = LowerBound(first);
    const std::size_t to = LowerBound(first + count);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(from), rows_.begin() + static_cast<std::ptrdiff_t>(to));
    for (std::size_t i = from; i < rows_.size(); ++i) rows_[i].index -= static_cast<std::uint32_t>(count);
    hint_ = 0;
    const std::size_t before = merges_.size();
    bool moved = false;
    std::erase_if(merges_, [&](CellArea& area) {
        const int oldFirst = area.firstRow, oldLast = area.lastRow;
        if (!MapRowSpanAfterDeletion(area.firstRow, area.lastRow, first, count)) return true;
        moved = moved || area.firstRow != oldFirst || area.lastRow != oldLast;
        return false;
    });
    // A merged range shrunk to one cell is no longer a merge.
    std::erase_if(merges_, [](const CellArea& area) {
        return area.firstRow == area.lastRow && area.firstColumn == area.lastColumn;
    });
    if (moved || merges_.size() != before) mergesChanged_ = true;
    dirty_ = true;
}

bool Worksheet::AdjustFormulasForDeletion(std::string_view deletedSheet, bool thisSheet, int first, int count) {
    bool changed = false;
    std::string adjusted;
    for (Row& row : rows_) {
        for (Cell& cell : row.cells) {
            if (!cell.hasFormula) continue;
            bool sameCells = true;
            if (formula::AdjustForDeletedRows(cell.text, deletedSheet, thisSheet, first, count, adjusted, &sameCells) ==
                formula::Status::Changed) {
                cell.text.swap(adjusted);
                // Moved references still compute the stored result.
                if (!sameCells) DropCachedValue(cell);
                changed = true;
            }
            if (thisSheet && cell.extra) {
                for (auto& [name, value] : cell.extra->formulaAttributes) {
                    if (name != "ref") continue;
                    if (auto area = ParseCellArea(value);
                        area && MapRowSpanAfterDeletion(area->firstRow, area->lastRow, first, count)) {
                        value = FormatCellArea(*area);
                        changed = true;
                    }
                }
            }
        }
    }
    if (changed) dirty_ = true;
    return changed;
}

void Worksheet::AppendRowXml(std::string& out, const Row& row) const {
    if (row.cells.empty() && row.attributes.empty()) return;
    const std::size_t rowStart = out.size();
    out += '<';
    out += prefix_;
    out += "row r=\"";
    AppendNumber(out, row.index);
    out += '"';
    for (const auto& [name, value] : row.attributes) AppendAttribute(out, name, value);
    out += '>';
    bool anyCell = false;
    for (const Cell& cell : row.cells) {
        if (!IsWritten(cell)) continue;
        anyCell = true;
        out += '<';
        out += prefix_;
        out += "c r=\"";
        AppendCellAddress(out, static_cast<int>(row.index), static_cast<int>(cell.column));
        out += '"';
        if (cell.style != 0) {
            out += " s=\"";
            AppendNumber(out, cell.style);
            out += '"';
        }
        const bool cached = cell.hasFormula && cell.extra && cell.extra->hasCachedValue;
        const char* type = (!cell.hasFormula || cached) ? TypeText(cell.type) : nullptr;
        if (type) {
            out += " t=\"";
            out += type;
            out += '"';
        }
        if (cell.extra) out += cell.extra->cellAttributes;
        const bool hasValue =
            cached || (!cell.hasFormula && cell.type != ValueType::Blank && cell.type != ValueType::InlineString);
        const bool hasInline = !cell.hasFormula && cell.type == ValueType::InlineString;
        const bool hasTail = cell.extra && !cell.extra->tailXml.empty();
        if (!cell.hasFormula && !hasValue && !hasInline && !hasTail) {
            out += "/>";
        } else {
            out += '>';
            if (cell.hasFormula) {  // <f> must come before <v>
                out += '<';
                out += prefix_;
                out += 'f';
                if (cell.extra) {
                    for (const auto& [name, value] : cell.extra->formulaAttributes) AppendAttribute(out, name, value);
                }
                out += '>';
                xml::AppendEscaped(out, cell.text);
                out += "</";
                out += prefix_;
                out += "f>";
            }
            if (hasValue) {
                out += '<';
                out += prefix_;
                out += "v>";
                xml::AppendEscaped(out,
                                   cached ? std::string_view(cell.extra->cachedValue) : std::string_view(cell.text));
                out += "</";
                out += prefix_;
                out += "v>";
            } else if (hasInline) {
                out += cell.extra->inlineXml;
            }
            if (hasTail) out += cell.extra->tailXml;
            out += "</";
            out += prefix_;
            out += "c>";
        }
    }
    if (!anyCell && row.attributes.empty()) {
        out.resize(rowStart);
        return;
    }
    out += "</";
    out += prefix_;
    out += "row>";
}

namespace {

// The child of root named local (any prefix), or an empty node.
pugi::xml_node FindChild(pugi::xml_node root, std::string_view local) {
    for (pugi::xml_node child : root.children()) {
        if (child.type() == pugi::node_element && xml::LocalName(child.name()) == local) return child;
    }
    return {};
}

}  // namespace

std::string Worksheet::Serialize() {
    CellArea used{1, 1, 1, 1};
    bool any = false;
    std::size_t cells = 0;
    for (const Row& row : rows_) {
        for (const Cell& cell : row.cells) {
            if (!IsWritten(cell)) continue;
            ++cells;
            const int r = static_cast<int>(row.index), c = static_cast<int>(cell.column);
            if (!any) {
                used = CellArea{r, c, r, c};
                any = true;
            } else {
                used.lastRow = r;  // rows are ascending
                used.firstColumn = std::min(used.firstColumn, c);
                used.lastColumn = std::max(used.lastColumn, c);
            }
        }
    }

    pugi::xml_node root = doc_.document_element();
    pugi::xml_node dimension = FindChild(root, "dimension");
    if (!dimension) {
        const pugi::xml_node sheetPr = FindChild(root, "sheetPr");
        const std::string name = prefix_ + "dimension";
        dimension = sheetPr ? root.insert_child_after(name.c_str(), sheetPr) : root.prepend_child(name.c_str());
    }
    pugi::xml_attribute ref = dimension.attribute("ref");
    if (!ref) ref = dimension.append_attribute("ref");
    ref.set_value(FormatCellArea(used).c_str());
    UpdateMerges();

    pugi::xml_node placeholder = sheetData_.append_child(pugi::node_pcdata);
    placeholder.set_value(std::string(kRowsPlaceholder).c_str());
    std::string frame = xml::Print(doc_);
    sheetData_.remove_child(placeholder);
    const std::size_t at = frame.find(kRowsPlaceholder);
    if (at == std::string::npos) throw std::logic_error("sheet rows placeholder lost");
    // The rows go straight into the result: for a large sheet they are nearly
    // all of it, and a second copy would double the memory a save needs.
    std::string out;
    out.reserve(frame.size() + cells * 30 + rows_.size() * 24);
    out.append(frame, 0, at);
    for (const Row& row : rows_) AppendRowXml(out, row);
    out.append(frame, at + kRowsPlaceholder.size());
    return out;
}

void Worksheet::UpdateMerges() {
    if (!mergesChanged_) return;
    pugi::xml_node root = doc_.document_element();
    pugi::xml_node node = FindChild(root, "mergeCells");
    if (merges_.empty()) {
        if (node) root.remove_child(node);
    } else {
        if (!node) {
            // mergeCells follows sheetData and the elements the schema puts between.
            static const std::string_view kBefore[] = {"sheetData",       "sheetCalcPr",     "sheetProtection",
                                                       "protectedRanges", "scenarios",       "autoFilter",
                                                       "sortState",       "dataConsolidate", "customSheetViews"};
            pugi::xml_node after = sheetData_;
            for (pugi::xml_node child : root.children()) {
                const auto local = xml::LocalName(child.name());
                if (std::find(std::begin(kBefore), std::end(kBefore), local) != std::end(kBefore)) after = child;
            }
            node = root.insert_child_after((prefix_ + "mergeCells").c_str(), after);
        }
        node.remove_children();
        const std::string mergeName = prefix_ + "mergeCell";
        for (const CellArea& area : merges_) {
            node.append_child(mergeName.c_str()).append_attribute("ref").set_value(FormatCellArea(area).c_str());
        }
        pugi::xml_attribute count = node.attribute("count");
        if (!count) count = node.append_attribute("count");
        count.set_value(static_cast<unsigned long long>(merges_.size()));
    }
    mergesChanged_ = false;
}

}  // namespace orv::workbook
