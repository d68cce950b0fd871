#include "export/ExcelExport.h"

#include <QApplication>
#include <QUrl>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "data/FieldText.h"
#include "data/HostExtensions.h"
#include "data/RecordCache.h"
#include "export/DatabaseFile.h"
#include "export/DayTotal.h"
#include "export/ExcelAutomation.h"
#include "export/workbook/CellAddress.h"
#include "export/workbook/StagedFile.h"
#include "export/workbook/TypedInput.h"
#include "export/workbook/Workbook.h"
#include "platform/DialogRunner.h"
#include "platform/Environment.h"
#include "platform/ModulePath.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "platform/Shell.h"

namespace orv {
namespace {

constexpr const char* kCaption = "ORV Desktop";

void Tell(const ExportOptions& options, const std::string& text) {
    if (options.message) *options.message = text;
    if (options.interactive)
        Services::Prompter().Error(nullptr, QString::fromLatin1(kCaption), QString::fromStdString(text));
}

std::string UnitName(const RecordCache& cache, int32_t unitId) {
    const UnitEntry* unit = cache.FindUnit(unitId);
    return unit ? unit->name : std::string();
}

std::string TargetName(const RecordCache& cache, int32_t targetId) {
    const TargetRecord* target = cache.FindTarget(targetId);
    return target ? target->name : std::string();
}

std::string TargetUnitName(const RecordCache& cache, int32_t targetId) {
    const TargetRecord* target = cache.FindTarget(targetId);
    return target ? UnitName(cache, target->unitId) : std::string();
}

std::string DateText(const HostDateTime& d) { return IntText(d.month) + "/" + IntText(d.day) + "/" + IntText(d.year); }

std::string DateTimeText(const HostDateTime& d) {
    return DateText(d) + " " + IntText(d.hour) + ":" + IntText(d.minute) + ":" + IntText(d.second);
}

// The group row of the structure's groups block and of the values' sheet 1.
// Columns 1 to 3 of a structure row at the current row: number, name and
// category; returns the row.
int32_t WriteNamedRow(ExcelAutomation& excel, int32_t count, const std::string& name, const std::string& category) {
    const int32_t row = excel.currentRow;
    excel.WriteWholeNumber(1, count);
    excel.WriteLiteral(row, 2, name);
    excel.WriteLiteral(row, 3, category);
    return row;
}

void WriteUnitRow(ExcelAutomation& excel, const RecordCache& cache, const UnitEntry& unit, int32_t count) {
    const int32_t row = WriteNamedRow(excel, count, unit.name, cache.UnitCategories().names.NameOf(unit.category));
    if (unit.baseUnit == 0) return;
    excel.WriteNumber(row, 4, unit.factor);
    excel.WriteLiteral(row, 5, UnitName(cache, unit.baseUnit));
}

void WriteTargetRow(ExcelAutomation& excel, const RecordCache& cache, const TargetRecord& target, int32_t count) {
    const int32_t row =
        WriteNamedRow(excel, count, target.name, cache.TargetCategories().names.NameOf(target.category));
    if (!cache.FindUnit(target.unitId)) return;
    excel.WriteLiteral(row, 4, UnitName(cache, target.unitId));
    excel.WriteLiteral(row, 5, target.IsSum() ? "Sum" : "Average");
}

void WriteGroupRow(ExcelAutomation& excel, const RecordCache& cache, const GroupRecord& group, int32_t count) {
    const int32_t row = WriteNamedRow(excel, count, group.name, cache.GroupCategories().names.NameOf(group.category));
    if (!cache.FindUnit(group.unitId)) return;
    excel.WriteLiteral(row, 5, UnitName(cache, group.unitId));
    excel.WriteLiteral(row, 4, (group.type & 1) ? "Time" : "Number");
    for (std::size_t i = 0; i < group.targets.size(); ++i) {
        if (group.targets[i] != 0)
            excel.WriteLiteral(row, 6 + static_cast<int32_t>(i), TargetName(cache, group.targets[i]));
    }
}

// One section of the structure sheet: its heading and column titles copied
// from the two template rows at `templateRow`, then a numbered row per record
// written by `writeRow`; the next section starts below the rows the copy
// made room for.
template <typename Records, typename WriteRow>
void WriteSection(ExcelAutomation& excel, const RecordCache& cache, int32_t templateRow, const Records& records,
                  WriteRow writeRow) {
    const int32_t next = excel.CopyRows(templateRow, 2, excel.currentRow, static_cast<int32_t>(records.size()));
    excel.currentRow += 2;
    int32_t count = 0;
    for (const auto& [id, record] : records) {
        writeRow(excel, cache, record, ++count);
        ++excel.currentRow;
    }
    excel.currentRow = next;
}

// Items in the cache's group -> items order: `groupStarts(group)` before the
// first item of each group, then `visit(group, item)` for each of its items.
// `group` is null for a group the cache does not hold.
template <typename GroupStarts, typename Visit>
void WalkItemsByGroup(const RecordCache& cache, GroupStarts groupStarts, Visit visit) {
    bool firstGroup = true;
    int32_t lastGroup = 0;
    for (const auto& [groupId, itemId] : cache.ItemsByGroup()) {
        const ItemRecord* item = cache.FindItem(itemId);
        if (!item) continue;
        const GroupRecord* group = cache.FindGroup(groupId);
        if (firstGroup || groupId != lastGroup) {
            firstGroup = false;
            lastGroup = groupId;
            groupStarts(group);
        }
        visit(group, *item);
    }
}

// A reason for a failed fill the user can act on, from the engine's failure.
std::string FailureReason(const ExcelAutomation& excel, const std::string& templatePath, bool opening) {
    if (opening && excel.LastFailure() == kWorkbookDamaged)
        return "the template \"" + templatePath + "\" is damaged (" + excel.LastDiagnostic() + ")";
    return "the workbook could not be completed (" + excel.LastDiagnostic() + ")";
}

// Copies the template to a staging file beside the destination, fills it and
// moves it into place only when it is complete; a failed export leaves the
// destination as it was.
int32_t RunExport(HostDatabase* db, RecordCache& cache, const ExportOptions& options, const char* templateName,
                  bool values) {
    ExcelAutomation excel;
    cache.LoadAll(db);

    const QString& moduleFile = Services::Environment().moduleFile;
    const std::string modulePath = moduleFile.isEmpty() ? ModuleFilePath() : moduleFile.toStdString();
    const auto slash = modulePath.find_last_of('/');
    if (slash == std::string::npos) {
        Tell(options, "Cannot find template directory!");
        return kExportStopped;
    }
    const std::string templatePath = modulePath.substr(0, slash) + "/" + templateName;

    std::string destination;
    if (options.destination) {
        destination = *options.destination;
    } else {
        SaveFileRequest request;
        request.parent = QApplication::activeWindow();
        request.fileName = QStringLiteral("*.xlsx");
        request.filters = QStringList{QStringLiteral("Excel workbook (*.xlsx)")};
        request.defaultSuffix = QStringLiteral("xlsx");
        request.confirmOverwrite = true;  // an existing file is replaced only when the user says so
        const auto chosen = Services::Dialogs().SaveFileName(request);
        if (!chosen) return kExportStopped;
        destination = chosen->toStdString();
    }
    if (IsDatabaseFile(destination, CurrentHostExtensions())) {
        Tell(options, "The file \"" + destination +
                          "\" is the open database and was not replaced. Choose another name for the workbook.");
        return kExportStopped;
    }

    std::error_code ec;
    if (!std::filesystem::is_regular_file(templatePath, ec)) {
        Tell(options, "Template file doesn't exist!");
        return kExportStopped;
    }

    std::string reason;
    auto staged = workbook::StagedFile::Create(destination, &reason);
    if (staged && !staged->CopyFrom(templatePath, &reason)) staged.reset();

    int32_t result = kExportOk;
    if (!staged) {
        excel.ReportOpenFailure(reason);
        result = kExportCopyOpenFailed;
    } else if (excel.Open(staged->Path()) != 0) {
        reason = FailureReason(excel, templatePath, true);
        result = kExportCopyOpenFailed;
    } else {
        excel.Save();
        excel.Close();
        if (excel.Open(staged->Path()) != 0) {
            result = kExportOpenFailed;
        } else if (excel.Save() != 0) {
            result = values ? kExportPreSaveFailed : kExportOpenFailed;
            excel.Close();
        } else {
            result = values ? FillValues(excel, cache, db) : FillStructure(excel, cache);
            if (excel.Save() != 0 || excel.Close() != 0) result = kExportSaveFailed;
            excel.Close();  // lets go of a workbook whose save failed
        }
        if (result != kExportOk && result != kExportNoValues) reason = FailureReason(excel, templatePath, false);
    }
    // A values workbook without values is complete; only its day sheet is empty.
    const bool complete = result == kExportOk || result == kExportNoValues;
    if (complete && !staged->Commit(&reason)) result = kExportSaveFailed;
    if (result != kExportOk && result != kExportNoValues) {
        Tell(options, "The workbook \"" + destination + "\" was not written: " + reason + ".");
        return result;
    }
    // Only a user who is there wants the workbook opened.
    if (options.interactive) {
        const QString written = QString::fromStdString(destination);
        // Without a program to open it (no xdg-open), the user still has to
        // know where the workbook went.
        if (!Services::Shell().OpenUrl(QUrl::fromLocalFile(written)))
            Services::Prompter().Information(nullptr, QString::fromLatin1(kCaption),
                                             QStringLiteral("The workbook was written to \"%1\".").arg(written));
    }
    return result;
}

// Sheet 1 of the values workbook. Records, per value, the row it was
// written in (before the template rows are deleted).
struct ValueRow {
    int32_t row = 0;
    std::vector<double> products;  // the result of each per-target formula
};
struct ValueRows {
    std::map<int32_t, ValueRow> rowOfValue;  // value id -> its row on sheet 1
    std::map<int32_t, bool> targetUsed;      // targets with at least one formula
};

// The number a spreadsheet reads from a cell the export wrote a float into:
// the float's shortest text read as a double. A cell that could not be
// written (infinity, NaN) is empty and counts as 0.
double StoredNumber(float value) {
    const auto text = FormatNumber(value);
    double number = 0;
    if (!text || std::from_chars(text->data(), text->data() + text->size(), number).ec != std::errc()) return 0;
    return number;
}

int32_t FillValuesByItem(ExcelAutomation& excel, const RecordCache& cache, ValueRows& rows) {
    excel.currentRow = 7;
    const auto groupStarts = [&](const GroupRecord* group) {
        excel.CopyRows(1, 3, excel.currentRow, 0);
        ++excel.currentRow;
        if (group) WriteGroupRow(excel, cache, *group, 0);
        ++excel.currentRow;
        if (group) {
            for (std::size_t i = 0; i < group->targets.size(); ++i) {
                excel.WriteLiteral(excel.currentRow, 6 + static_cast<int32_t>(i),
                                   TargetUnitName(cache, group->targets[i]));
            }
        }
        ++excel.currentRow;
    };
    WalkItemsByGroup(cache, groupStarts, [&](const GroupRecord* group, const ItemRecord& item) {
        excel.CopyRows(4, 1, excel.currentRow, 0);
        const int32_t itemRow = excel.currentRow;
        excel.WriteWholeNumber(1, 0);
        excel.WriteLiteral(itemRow, 2, item.name);
        for (std::size_t i = 0; i < item.values.size(); ++i) {
            excel.WriteNumber(itemRow, 6 + static_cast<int32_t>(i), item.values[i]);
        }
        ++excel.currentRow;

        const auto& perItem = cache.ValuesPerItem();
        for (auto it = perItem.lower_bound({item.id, 0}); it != perItem.end() && it->first.first == item.id; ++it) {
            const ValueRecord& value = *it->second;
            const int32_t row = excel.currentRow;
            excel.CopyRows(5, 1, row, 0);
            excel.WriteText(row, 2, DateTimeText(value.date));
            excel.WriteNumber(row, 5, value.value);
            ValueRow& written = rows.rowOfValue[value.id];
            written.row = row;
            const double amount = StoredNumber(value.value);
            for (int32_t i = 0; i < item.count; ++i) {
                const int32_t column = 6 + i;
                const auto index = static_cast<std::size_t>(i);
                const double perUnit = index < item.values.size() ? StoredNumber(item.values[index]) : 0.0;
                written.products.push_back(perUnit * amount);
                excel.WriteFormula(
                    row, column,
                    "=" + CellAddress(itemRow, column, true, false) + "*" + CellAddress(row, 5, false, true),
                    written.products.back());
                if (group && index < group->targets.size()) rows.targetUsed[group->targets[index]] = true;
            }
            if (!value.notes.empty()) excel.WriteLiteral(row, 6 + item.count, value.notes);
            ++excel.currentRow;
        }
    });
    excel.CopyRows(6, 1, excel.currentRow, 0);
    excel.DeleteRows(1, 6);
    return kExportOk;
}

// Values ordered by (seconds, id), seconds compared unsigned.
std::vector<const ValueRecord*> ValuesBySecondsAndId(const RecordCache& cache) {
    std::vector<const ValueRecord*> ordered;
    ordered.reserve(cache.Values().size());
    for (const auto& [id, value] : cache.Values()) ordered.push_back(&value);
    std::stable_sort(ordered.begin(), ordered.end(), [](const ValueRecord* a, const ValueRecord* b) {
        const auto sa = static_cast<uint32_t>(a->seconds);
        const auto sb = static_cast<uint32_t>(b->seconds);
        return sa != sb ? sa < sb : a->id < b->id;
    });
    return ordered;
}

int32_t FillTargetsByDay(ExcelAutomation& excel, const RecordCache& cache, HostDatabase* db, const ValueRows& rows,
                         const std::string& sheetName) {
    const auto ordered = ValuesBySecondsAndId(cache);
    if (ordered.empty()) return kExportNoValues;

    // Days run from the first value's date to the last one's, so that the
    // last day's values are counted however late in the day they fell.
    const auto dayStart = [db](int32_t seconds) {
        HostDateTime date;
        db->SecondsToDate(seconds, &date);
        date.hour = date.minute = date.second = 0;
        int32_t start = 0;
        db->DateToSeconds(&start, &date);
        return static_cast<uint32_t>(start);
    };
    const uint32_t firstDay = dayStart(ordered.front()->seconds);
    const uint32_t span = (dayStart(ordered.back()->seconds) - firstDay) / 86400u;

    excel.currentRow = 5;
    excel.CopyRows(1, 2, excel.currentRow, 0);
    struct Column {
        const TargetRecord* target;
        int32_t column;
    };
    std::vector<Column> columns;
    int32_t column = 2;
    for (const auto& [id, target] : cache.Targets()) {
        if (!rows.targetUsed.count(id)) continue;
        excel.WriteLiteral(excel.currentRow, column, target.name);
        if (cache.FindUnit(target.unitId))
            excel.WriteLiteral(excel.currentRow + 1, column, UnitName(cache, target.unitId));
        columns.push_back({&target, column++});
    }
    excel.currentRow += 2;

    // Sheet 1 lost its six template rows after its values were written.
    constexpr int32_t kSheet1Deleted = 6;
    // Partial sums of totals too long for one formula go right of the
    // targets, one column apart.
    const int32_t firstHelperColumn = column + 1;
    auto next = ordered.begin();
    for (uint32_t d = 0; d <= span; ++d) {
        const uint32_t from = firstDay + d * 86400u;
        const uint32_t to = from + 86400u;
        const auto dayBegin = next;
        while (next != ordered.end() && static_cast<uint32_t>((*next)->seconds) < to) ++next;

        const bool everyDay = span <= 1000;
        if (everyDay || d == 0) excel.CopyRows(3, 1, excel.currentRow, 0);
        bool wrote = false;
        int32_t helperColumn = firstHelperColumn;
        for (const Column& c : columns) {
            std::vector<DayCell> cells;
            for (auto v = dayBegin; v != next; ++v) {
                const ValueRecord& value = **v;
                // Sheet 1 wrote the value's formulas by its item's group.
                const ItemRecord* item = cache.FindItem(value.itemId);
                const GroupRecord* group = item ? cache.FindGroup(item->matterId) : nullptr;
                const auto row = rows.rowOfValue.find(value.id);
                if (!group || row == rows.rowOfValue.end()) continue;
                const ValueRow& written = row->second;
                for (std::size_t i = 0; i < written.products.size() && i < group->targets.size(); ++i) {
                    if (group->targets[i] != c.target->id) continue;
                    cells.push_back({written.row - kSheet1Deleted, 6 + static_cast<int32_t>(i), written.products[i]});
                }
            }
            if (cells.empty()) continue;
            const DayTotal total =
                BuildDayTotal(cells, sheetName, !c.target->IsSum(), excel.currentRow, c.column, helperColumn);
            for (const FormulaCell& helper : total.helpers) {
                excel.WriteFormula(excel.currentRow, helper.column, helper.formula, helper.result);
            }
            helperColumn += static_cast<int32_t>(total.helpers.size());
            excel.WriteFormula(excel.currentRow, c.column, total.total.formula, total.total.result);
            wrote = true;
        }
        if (everyDay || wrote) {
            HostDateTime date;
            db->SecondsToDate(static_cast<int32_t>(from), &date);
            excel.WriteText(excel.currentRow, 1, DateText(date));
            ++excel.currentRow;
        }
    }
    excel.CopyRows(4, 1, excel.currentRow, 0);
    excel.DeleteRows(1, 4);
    return kExportOk;
}

int32_t FillValuesByDate(ExcelAutomation& excel, const RecordCache& cache) {
    const auto ordered = ValuesBySecondsAndId(cache);
    if (ordered.empty()) return 1;
    excel.currentRow = 5;
    const HostDateTime* previous = nullptr;
    for (const ValueRecord* value : ordered) {
        const HostDateTime& date = value->date;
        if (!previous || previous->day != date.day || previous->month != date.month || previous->year != date.year) {
            excel.CopyRows(1, 2, excel.currentRow, 0);
            ++excel.currentRow;
            excel.WriteText(excel.currentRow, 1, DateText(date));
            ++excel.currentRow;
        }
        previous = &date;
        const ItemRecord* item = cache.FindItem(value->itemId);
        if (!item) continue;
        const int32_t row = excel.currentRow;
        excel.CopyRows(3, 1, row, 0);
        excel.WriteLiteral(row, 1, item->name);
        excel.WriteText(row, 2, RealText(value->value));
        if (const GroupRecord* group = cache.FindGroup(value->matterId); group && cache.FindUnit(group->unitId)) {
            excel.WriteLiteral(row, 3, UnitName(cache, group->unitId));
        }
        if (!value->notes.empty()) excel.WriteLiteral(row, 4, value->notes);
        ++excel.currentRow;
    }
    excel.CopyRows(4, 1, excel.currentRow, 0);
    excel.DeleteRows(1, 4);
    return kExportOk;
}

}  // namespace

int32_t FillStructure(ExcelAutomation& excel, const RecordCache& cache) {
    excel.WriteLiteral(3, 1, "ORV Desktop Database");
    excel.WriteLiteral(4, 1, "ORV Desktop DB");
    excel.currentRow = 24;

    WriteSection(excel, cache, 6, cache.Units(), WriteUnitRow);
    WriteSection(excel, cache, 10, cache.Targets(), WriteTargetRow);
    WriteSection(excel, cache, 14, cache.Groups(), WriteGroupRow);

    // Items, group by group.
    excel.CopyRows(18, 2, excel.currentRow, 0);
    excel.currentRow += 2;
    int32_t count = 0;
    const auto groupStarts = [&](const GroupRecord* group) {
        excel.CopyRows(20, 2, excel.currentRow, 0);
        if (group) {
            for (std::size_t i = 0; i < group->targets.size(); ++i) {
                excel.WriteLiteral(excel.currentRow + 1, 5 + static_cast<int32_t>(i),
                                   TargetUnitName(cache, group->targets[i]));
            }
        }
        excel.currentRow += 2;
    };
    WalkItemsByGroup(cache, groupStarts, [&](const GroupRecord* group, const ItemRecord& item) {
        const int32_t row = excel.currentRow;
        excel.CopyRows(22, 1, row, 0);
        excel.WriteWholeNumber(1, ++count);
        if (group) {
            excel.WriteLiteral(row, 2, item.name);
            excel.WriteLiteral(row, 3, group->name);
            excel.WriteNumber(row, 4, item.defaultValue);
            for (std::size_t i = 0; i < item.values.size(); ++i) {
                excel.WriteNumber(row, 5 + static_cast<int32_t>(i), item.values[i]);
            }
        }
        ++excel.currentRow;
    });
    excel.DeleteRows(6, 18);
    return kExportOk;
}

int32_t FillValues(ExcelAutomation& excel, const RecordCache& cache, HostDatabase* db) {
    std::string sheetName = "Values by Items";
    if (excel.SelectWorksheet(1, &sheetName) != 0) return kExportOpenFailed;
    ValueRows rows;
    int32_t result = FillValuesByItem(excel, cache, rows);
    if (result != kExportOk) return result;
    if (excel.SelectWorksheet(2) != 0) return kExportOpenFailed;
    result = FillTargetsByDay(excel, cache, db, rows, sheetName);
    if (result != kExportOk) return result;
    if (excel.SelectWorksheet(3) != 0) return kExportOpenFailed;
    return FillValuesByDate(excel, cache);
}

int32_t ExportStructure(HostDatabase* db, RecordCache& cache, const ExportOptions& options) {
    return RunExport(db, cache, options, kStructureTemplate, false);
}

int32_t ExportValues(HostDatabase* db, RecordCache& cache, const ExportOptions& options) {
    return RunExport(db, cache, options, kValuesTemplate, true);
}

}  // namespace orv
