#include "export/workbook/Formula.h"

#include <algorithm>
#include <charconv>

#include "export/workbook/CellAddress.h"

namespace orv::formula {

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Characters that can make up a name, a number or an unquoted reference
// (with its sheet prefix and range colon). Bytes above 0x7F belong to
// non-ASCII sheet and defined names.
bool IsOperandChar(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return IsLetter(ch) || IsDigit(ch) || c == '_' || c == '.' || c == '$' || c == '\\' || c == ':' || c == '!' ||
           c == '?' || c >= 0x80;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

struct Corner {
    enum Kind { CellCorner, ColumnOnly, RowOnly } kind = CellCorner;
    int row = 0, column = 0;
    bool absRow = false, absColumn = false;
};

// One side of a reference: "$B$7", "B", "$7".
bool ParseCorner(std::string_view s, Corner& out) {
    std::size_t pos = 0;
    bool firstDollar = false;
    if (pos < s.size() && s[pos] == '$') {
        firstDollar = true;
        ++pos;
    }
    const std::size_t lettersStart = pos;
    while (pos < s.size() && IsLetter(s[pos])) ++pos;
    const std::size_t letters = pos - lettersStart;
    if (letters > 0) {
        out.column = ColumnFromLetters(s.substr(lettersStart, letters));
        if (out.column == 0) return false;
        out.absColumn = firstDollar;
        if (pos == s.size()) {
            out.kind = Corner::ColumnOnly;
            return true;
        }
        if (s[pos] == '$') {
            out.absRow = true;
            ++pos;
        }
        out.kind = Corner::CellCorner;
    } else {
        out.kind = Corner::RowOnly;
        out.absRow = firstDollar;
    }
    if (pos >= s.size() || s[pos] < '1' || s[pos] > '9') return false;
    const auto res = std::from_chars(s.data() + pos, s.data() + s.size(), out.row);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return false;
    return out.row >= 1 && out.row <= kMaxRows;
}

// The part after the sheet prefix: "A1", "A1:B2", "A:C", "3:5".
bool ParseBody(std::string_view body, Reference& ref) {
    const auto colon = body.find(':');
    Corner a;
    if (!ParseCorner(body.substr(0, colon), a)) return false;
    if (colon == std::string_view::npos) {
        if (a.kind != Corner::CellCorner) return false;
        ref.shape = Reference::Shape::Cell;
        ref.row1 = ref.row2 = a.row;
        ref.column1 = ref.column2 = a.column;
        ref.absRow1 = ref.absRow2 = a.absRow;
        ref.absColumn1 = ref.absColumn2 = a.absColumn;
        return true;
    }
    Corner b;
    if (!ParseCorner(body.substr(colon + 1), b) || b.kind != a.kind) return false;
    switch (a.kind) {
    case Corner::CellCorner: ref.shape = Reference::Shape::Area; break;
    case Corner::ColumnOnly: ref.shape = Reference::Shape::Columns; break;
    case Corner::RowOnly: ref.shape = Reference::Shape::Rows; break;
    }
    ref.row1 = a.row;
    ref.column1 = a.column;
    ref.absRow1 = a.absRow;
    ref.absColumn1 = a.absColumn;
    ref.row2 = b.row;
    ref.column2 = b.column;
    ref.absRow2 = b.absRow;
    ref.absColumn2 = b.absColumn;
    return true;
}

void AppendRow(std::string& out, int row, bool absolute) {
    if (absolute) out += '$';
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, row);
    out.append(buf, res.ptr);
}

void AppendColumn(std::string& out, int column, bool absolute) {
    if (absolute) out += '$';
    AppendColumnLetters(out, column);
}

void AppendReference(std::string& out, const Reference& r) {
    switch (r.shape) {
    case Reference::Shape::Cell:
        AppendColumn(out, r.column1, r.absColumn1);
        AppendRow(out, r.row1, r.absRow1);
        break;
    case Reference::Shape::Area:
        AppendColumn(out, r.column1, r.absColumn1);
        AppendRow(out, r.row1, r.absRow1);
        out += ':';
        AppendColumn(out, r.column2, r.absColumn2);
        AppendRow(out, r.row2, r.absRow2);
        break;
    case Reference::Shape::Rows:
        AppendRow(out, r.row1, r.absRow1);
        out += ':';
        AppendRow(out, r.row2, r.absRow2);
        break;
    case Reference::Shape::Columns:
        AppendColumn(out, r.column1, r.absColumn1);
        out += ':';
        AppendColumn(out, r.column2, r.absColumn2);
        break;
    }
}

std::string UnquoteSheet(std::string_view quoted) {
    std::string name;
    name.reserve(quoted.size());
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        name += quoted[i];
        if (quoted[i] == '\'' && i + 1 < quoted.size() && quoted[i + 1] == '\'') ++i;
    }
    return name;
}

// Index of the quote closing a quoted name or string starting at open, with
// the quote doubled inside; npos when unterminated.
std::size_t ClosingQuote(std::string_view f, std::size_t open) {
    const char q = f[open];
    std::size_t j = open + 1;
    while (j < f.size()) {
        if (f[j] == q) {
            if (j + 1 < f.size() && f[j + 1] == q) {
                j += 2;
                continue;
            }
            return j;
        }
        ++j;
    }
    return std::string_view::npos;
}

}  // namespace

Status RewriteReferences(std::string_view f, const Visitor& visit, std::string& out) {
    std::string result;
    result.reserve(f.size() + 16);
    bool changed = false;
    int depth = 0;
    bool externalPending = false;
    const std::size_t n = f.size();

    const auto emitReference = [&](std::string_view prefix, std::string_view body, bool hasSheet, std::string sheet,
                                   bool external) {
        Reference ref;
        if (!ParseBody(body, ref)) {
            result.append(prefix);
            result.append(body);
            return;
        }
        ref.hasSheet = hasSheet;
        ref.external = external || sheet.find('[') != std::string::npos;
        ref.multiSheet = hasSheet && sheet.find(':') != std::string::npos;
        ref.sheet = std::move(sheet);
        const Edit edit = visit(ref);
        result.append(prefix);
        if (edit == Edit::Keep) {
            result.append(body);
        } else if (edit == Edit::Invalid) {
            result += "#REF!";
            changed = true;
        } else {
            AppendReference(result, ref);
            changed = true;
        }
    };

    std::size_t i = 0;
    while (i < n) {
        const char c = f[i];
        if (c == '"') {  // string literal, "" inside
            const std::size_t j = ClosingQuote(f, i);
            if (j == std::string_view::npos) return Status::Malformed;
            result.append(f.substr(i, j + 1 - i));
            i = j + 1;
            externalPending = false;
        } else if (c == '{') {  // array constant: constants only, no references
            std::size_t j = i + 1;
            while (j < n && f[j] != '}') {
                if (f[j] == '"') {
                    j = ClosingQuote(f, j);
                    if (j == std::string_view::npos) return Status::Malformed;
                }
                ++j;
            }
            if (j >= n) return Status::Malformed;
            result.append(f.substr(i, j + 1 - i));
            i = j + 1;
            externalPending = false;
        } else if (c == '[') {
            // Workbook index of an external reference ([1]Sheet!A1) or a structured
            // reference (Table[[#This Row],[Column]]); "'" escapes the next char.
            const bool atOperandStart = i == 0 || !(IsOperandChar(f[i - 1]) || f[i - 1] == ']');
            int nesting = 0;
            std::size_t j = i;
            for (; j < n; ++j) {
                if (f[j] == '\'') {
                    ++j;
                } else if (f[j] == '[') {
                    ++nesting;
                } else if (f[j] == ']' && --nesting == 0) {
                    break;
                }
            }
            if (j >= n) return Status::Malformed;
            result.append(f.substr(i, j + 1 - i));
            i = j + 1;
            externalPending = atOperandStart && i < n && IsOperandChar(f[i]);
        } else if (c == ']') {
            return Status::Malformed;
        } else if (c == '#') {  // error literal: #REF!, #N/A, #DIV/0!, #NAME?
            std::size_t j = i + 1;
            while (j < n && (IsLetter(f[j]) || IsDigit(f[j]) || f[j] == '/' || f[j] == '_')) ++j;
            if (j < n && (f[j] == '!' || f[j] == '?')) ++j;
            result.append(f.substr(i, j - i));
            i = j;
            externalPending = false;
        } else if (c == '\'') {  // quoted sheet name
            const std::size_t j = ClosingQuote(f, i);
            if (j == std::string_view::npos) return Status::Malformed;
            if (j + 1 < n && f[j + 1] == '!') {
                std::size_t k = j + 2;
                while (k < n && IsOperandChar(f[k]) && f[k] != '!') ++k;
                emitReference(f.substr(i, j + 2 - i), f.substr(j + 2, k - (j + 2)), true,
                              UnquoteSheet(f.substr(i + 1, j - i - 1)), externalPending);
                i = k;
            } else {
                result.append(f.substr(i, j + 1 - i));
                i = j + 1;
            }
            externalPending = false;
        } else if (IsOperandChar(c)) {
            std::size_t j = i;
            while (j < n && IsOperandChar(f[j])) ++j;
            const std::string_view run = f.substr(i, j - i);
            if (j < n && (f[j] == '(' || f[j] == '[')) {
                result.append(run);  // function name or table name
            } else {
                const auto bang = run.rfind('!');
                if (bang == std::string_view::npos) {
                    emitReference({}, run, false, {}, externalPending);
                } else {
                    const std::string_view sheet = run.substr(0, bang);
                    if (sheet.empty() || sheet.find('!') != std::string_view::npos) {
                        result.append(run);
                    } else {
                        emitReference(run.substr(0, bang + 1), run.substr(bang + 1), true, std::string(sheet),
                                      externalPending);
                    }
                }
            }
            i = j;
            externalPending = false;
        } else {
            if (c == '(') {
                ++depth;
            } else if (c == ')' && --depth < 0) {
                return Status::Malformed;
            }
            result += c;
            ++i;
            externalPending = false;
        }
    }
    if (depth != 0) return Status::Malformed;
    if (!changed) return Status::Unchanged;
    out = std::move(result);
    return Status::Changed;
}

bool IsWellFormed(std::string_view formula) {
    std::string scratch;
    return RewriteReferences(
               formula, [](Reference&) { return Edit::Keep; }, scratch) != Status::Malformed;
}

Status ShiftRelative(std::string_view formula, int rowOffset, int columnOffset, std::string& out) {
    if (rowOffset == 0 && columnOffset == 0) {
        return IsWellFormed(formula) ? Status::Unchanged : Status::Malformed;
    }
    const auto visit = [rowOffset, columnOffset](Reference& r) {
        bool moved = false;
        bool inside = true;
        const auto shiftRow = [&](int& row, bool absolute) {
            if (absolute || rowOffset == 0) return;
            row += rowOffset;
            moved = true;
            inside = inside && row >= 1 && row <= kMaxRows;
        };
        const auto shiftColumn = [&](int& column, bool absolute) {
            if (absolute || columnOffset == 0) return;
            column += columnOffset;
            moved = true;
            inside = inside && column >= 1 && column <= kMaxColumns;
        };
        if (r.shape != Reference::Shape::Columns) {
            shiftRow(r.row1, r.absRow1);
            if (r.shape != Reference::Shape::Cell) shiftRow(r.row2, r.absRow2);
        }
        if (r.shape != Reference::Shape::Rows) {
            shiftColumn(r.column1, r.absColumn1);
            if (r.shape != Reference::Shape::Cell) shiftColumn(r.column2, r.absColumn2);
        }
        if (!inside) return Edit::Invalid;
        return moved ? Edit::Changed : Edit::Keep;
    };
    return RewriteReferences(formula, visit, out);
}

Status AdjustForDeletedRows(std::string_view formula, std::string_view deletedSheet, bool formulaOnDeletedSheet,
                            int first, int count, std::string& out, bool* sameCells) {
    bool same = true;
    const auto visit = [&](Reference& r) {
        if (r.external || r.multiSheet) return Edit::Keep;
        const bool targetsSheet = r.hasSheet ? EqualsIgnoreAsciiCase(r.sheet, deletedSheet) : formulaOnDeletedSheet;
        if (!targetsSheet || r.shape == Reference::Shape::Columns) return Edit::Keep;
        if (r.shape == Reference::Shape::Cell) {
            int row = r.row1, last = r.row1;
            if (!MapRowSpanAfterDeletion(row, last, first, count)) {
                same = false;
                return Edit::Invalid;
            }
            if (row == r.row1) return Edit::Keep;
            r.row1 = r.row2 = row;
            return Edit::Changed;
        }
        const bool ordered = r.row1 <= r.row2;
        int low = std::min(r.row1, r.row2), high = std::max(r.row1, r.row2);
        const int height = high - low;
        if (!MapRowSpanAfterDeletion(low, high, first, count)) {
            same = false;
            return Edit::Invalid;
        }
        if (high - low != height) same = false;
        const int newRow1 = ordered ? low : high;
        const int newRow2 = ordered ? high : low;
        if (newRow1 == r.row1 && newRow2 == r.row2) return Edit::Keep;
        r.row1 = newRow1;
        r.row2 = newRow2;
        return Edit::Changed;
    };
    const Status status = RewriteReferences(formula, visit, out);
    if (sameCells) *sameCells = same;
    return status;
}

}  // namespace orv::formula
