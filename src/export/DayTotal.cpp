#include "export/DayTotal.h"

#include "data/FieldText.h"
#include "export/workbook/CellAddress.h"
#include "export/workbook/XmlText.h"

namespace orv {
namespace {

std::string SheetPrefix(const std::string& name) {
    std::string quoted = "'";
    for (const char c : name) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    return quoted + "'!";
}

bool Fits(const std::string& formula, std::size_t limit) { return xml::Utf16Length(formula) <= limit; }

// A term of a sum: one cell, or a run of cells in consecutive rows of one
// column written as a range.
struct Term {
    std::string text;
    double sum = 0;
};

std::string Closed(const std::string& sum, bool average, std::size_t count) {
    return sum + (average ? "/" + IntText(static_cast<int64_t>(count)) : std::string());
}

}  // namespace

DayTotal BuildDayTotal(const std::vector<DayCell>& cells, const std::string& sheet, bool average, int32_t row,
                       int32_t column, int32_t firstHelperColumn, std::size_t limit) {
    const std::string prefix = SheetPrefix(sheet);
    const auto divided = [&](double sum) { return average ? sum / static_cast<double>(cells.size()) : sum; };

    DayTotal day;
    day.total.column = column;
    double sum = 0;
    std::string plain = "=(";
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) plain += '+';
        plain += prefix + CellAddress(cells[i].row, cells[i].column);
        sum += cells[i].value;
    }
    day.total.formula = Closed(plain + ")", average, cells.size());
    day.total.result = divided(sum);
    if (Fits(day.total.formula, limit)) return day;

    std::vector<Term> terms;
    for (std::size_t i = 0; i < cells.size();) {
        std::size_t end = i + 1;
        double runSum = cells[i].value;
        while (end < cells.size() && cells[end].column == cells[i].column && cells[end].row == cells[end - 1].row + 1) {
            runSum += cells[end].value;
            ++end;
        }
        const std::string first = CellAddress(cells[i].row, cells[i].column);
        terms.push_back({end - i == 1 ? prefix + first
                                      : "SUM(" + prefix + first + ":" +
                                            CellAddress(cells[end - 1].row, cells[end - 1].column) + ")",
                         runSum});
        i = end;
    }
    std::string compact = "=(";
    sum = 0;
    for (std::size_t i = 0; i < terms.size(); ++i) {
        if (i > 0) compact += '+';
        compact += terms[i].text;
        sum += terms[i].sum;
    }
    day.total.formula = Closed(compact + ")", average, cells.size());
    day.total.result = divided(sum);
    if (Fits(day.total.formula, limit)) return day;

    // Partial sums, each as long as a cell takes, added up by the total.
    FormulaCell helper{firstHelperColumn, "=", 0};
    for (const Term& term : terms) {
        if (helper.formula.size() > 1 && !Fits(helper.formula + "+" + term.text, limit)) {
            day.helpers.push_back(helper);
            helper = {helper.column + 1, "=", 0};
        }
        helper.formula += (helper.formula.size() > 1 ? "+" : "") + term.text;
        helper.result += term.sum;
    }
    day.helpers.push_back(helper);
    sum = 0;
    for (const FormulaCell& h : day.helpers) sum += h.result;
    day.total.formula =
        Closed("=SUM(" + CellAddress(row, firstHelperColumn) + ":" + CellAddress(row, day.helpers.back().column) + ")",
               average, cells.size());
    day.total.result = divided(sum);
    return day;
}

}  // namespace orv
