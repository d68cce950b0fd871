#include "export/ExcelExport.h"

#include <QApplication>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "data/FieldText.h"
#include "data/RecordCache.h"
#include "export/ExcelAutomation.h"
#include "export/workbook/CellAddress.h"
#include "platform/DialogRunner.h"
#include "platform/ModulePath.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "platform/Shell.h"

namespace orv {
namespace {

constexpr const char* kCaption = "ORV Desktop";

void Tell(const ExportOptions& options, const char* text) {
    if (options.message) *options.message = text;
    if (options.interactive)
        Services::prompter().error(nullptr, QString::fromLatin1(kCaption), QString::fromLatin1(text));
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
void WriteGroupRow(ExcelAutomation& excel, const RecordCache& cache, const GroupRecord& group, int32_t count) {
    const int32_t row = excel.currentRow;
    excel.WriteWholeNumber(1, count);
    excel.WriteLiteral(row, 2, group.name);
    excel.WriteLiteral(row, 3, cache.GroupCategories().names.NameOf(group.category));
    if (!cache.FindUnit(group.unitId)) return;
    excel.WriteLiteral(row, 5, UnitName(cache, group.unitId));
    excel.WriteLiteral(row, 4, (group.type & 1) ? "Time" : "Number");
    for (std::size_t i = 0; i < group.targets.size(); ++i) {
        if (group.targets[i] != 0)
            excel.WriteLiteral(row, 6 + static_cast<int32_t>(i), TargetName(cache, group.targets[i]));
    }
}

// Items in the cache's group -> items order.
template <typename Visit>
void WalkItemsByGroup(const RecordCache& cache, Visit visit) {
    for (const auto& [groupId, itemId] : cache.ItemsByGroup()) {
        if (const ItemRecord* item = cache.FindItem(itemId)) visit(groupId, *item);
    }
}

int32_t RunExport(HostDatabase* db, RecordCache& cache, const ExportOptions& options, const char* templateName,
                  bool values) {
    ExcelAutomation excel;
    cache.LoadAll(db);

    const std::string modulePath = options.modulePath.empty() ? ModuleFilePath() : options.modulePath;
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
        request.confirmOverwrite = false;
        const auto chosen = Services::dialogs().saveFileName(request);
        if (!chosen) return kExportStopped;
        destination = chosen->toStdString();
    }

    std::error_code ec;
    if (!std::filesystem::is_regular_file(templatePath, ec)) {
        Tell(options, "Template file doesn't exist!");
        return kExportStopped;
    }
    std::filesystem::copy_file(templatePath, destination, std::filesystem::copy_options::overwrite_existing, ec);

    int32_t result = kExportOk;
    if (excel.Open(destination) != 0) {
        result = kExportCopyOpenFailed;
    } else {
        excel.Save();
        excel.Close();
        if (excel.Open(destination) != 0) {
            result = kExportOpenFailed;
        } else if (excel.Save() != 0) {
            result = values ? kExportPreSaveFailed : kExportOpenFailed;
            excel.Close();
        } else {
            result = values ? FillValues(excel, cache, db) : FillStructure(excel, cache);
            if (excel.Save() != 0) result = kExportSaveFailed;
            excel.Close();
        }
    }
    if (options.openWhenDone) {
        const QString written = QString::fromStdString(destination);
        // Without a program to open it (no xdg-open), the user still has to
        // know where the workbook went.
        if (!Services::shell().openUrl(QUrl::fromLocalFile(written)) && options.interactive)
            Services::prompter().information(nullptr, QString::fromLatin1(kCaption),
                                             QStringLiteral("The workbook was written to \"%1\".").arg(written));
    }
    return result;
}

// Sheet 1 of the values workbook. Records, per value, the row it was
// written in (before the template rows are deleted).
struct ValueRows {
    std::map<int32_t, int32_t> rowOfValue;  // value id -> row on sheet 1
    std::map<int32_t, bool> targetUsed;     // targets with at least one formula
};

int32_t FillValuesByItem(ExcelAutomation& excel, const RecordCache& cache, ValueRows& rows) {
    excel.currentRow = 7;
    bool firstGroup = true;
    int32_t lastGroup = 0;
    WalkItemsByGroup(cache, [&](int32_t groupId, const ItemRecord& item) {
        const GroupRecord* group = cache.FindGroup(groupId);
        if (firstGroup || groupId != lastGroup) {
            firstGroup = false;
            lastGroup = groupId;
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
        }
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
            for (int32_t i = 0; i < item.count; ++i) {
                const int32_t column = 6 + i;
                excel.WriteText(
                    row, column,
                    "=" + CellAddress(itemRow, column, true, false) + "*" + CellAddress(row, 5, false, true));
                if (group && i < static_cast<int32_t>(group->targets.size()))
                    rows.targetUsed[group->targets[static_cast<std::size_t>(i)]] = true;
            }
            if (!value.notes.empty()) excel.WriteLiteral(row, 6 + item.count, value.notes);
            rows.rowOfValue[value.id] = row;
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

std::string QuotedSheet(const std::string& name) {
    std::string quoted = "'";
    for (const char c : name) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    return quoted + "'";
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
    const std::string sheet = QuotedSheet(sheetName);
    auto next = ordered.begin();
    for (uint32_t d = 0; d <= span; ++d) {
        const uint32_t from = firstDay + d * 86400u;
        const uint32_t to = from + 86400u;
        const auto dayBegin = next;
        while (next != ordered.end() && static_cast<uint32_t>((*next)->seconds) < to) ++next;

        const bool everyDay = span <= 1000;
        if (everyDay || d == 0) excel.CopyRows(3, 1, excel.currentRow, 0);
        bool wrote = false;
        for (const Column& c : columns) {
            std::string formula;
            int32_t cells = 0;
            for (auto v = dayBegin; v != next; ++v) {
                const ValueRecord& value = **v;
                // Sheet 1 wrote the value's formulas by its item's group.
                const ItemRecord* item = cache.FindItem(value.itemId);
                const GroupRecord* group = item ? cache.FindGroup(item->matterId) : nullptr;
                const auto row = rows.rowOfValue.find(value.id);
                if (!group || row == rows.rowOfValue.end()) continue;
                for (int32_t i = 0; i < item->count && i < static_cast<int32_t>(group->targets.size()); ++i) {
                    if (group->targets[static_cast<std::size_t>(i)] != c.target->id) continue;
                    formula +=
                        (cells == 0 ? "=(" : "+") + sheet + "!" + CellAddress(row->second - kSheet1Deleted, 6 + i);
                    ++cells;
                }
            }
            if (cells == 0) continue;
            formula += c.target->IsSum() ? ")" : ")/" + IntText(cells);
            excel.WriteText(excel.currentRow, c.column, formula);
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

    // Units.
    int32_t count = 0;
    int32_t next = excel.CopyRows(6, 2, excel.currentRow, static_cast<int32_t>(cache.Units().size()));
    excel.currentRow += 2;
    for (const auto& [id, unit] : cache.Units()) {
        const int32_t row = excel.currentRow;
        excel.WriteWholeNumber(1, ++count);
        excel.WriteLiteral(row, 2, unit.name);
        excel.WriteLiteral(row, 3, cache.UnitCategories().names.NameOf(unit.category));
        if (unit.baseUnit != 0) {
            excel.WriteNumber(row, 4, unit.factor);
            excel.WriteLiteral(row, 5, UnitName(cache, unit.baseUnit));
        }
        ++excel.currentRow;
    }
    excel.currentRow = next;

    // Targets.
    count = 0;
    next = excel.CopyRows(10, 2, excel.currentRow, static_cast<int32_t>(cache.Targets().size()));
    excel.currentRow += 2;
    for (const auto& [id, target] : cache.Targets()) {
        const int32_t row = excel.currentRow;
        excel.WriteWholeNumber(1, ++count);
        excel.WriteLiteral(row, 2, target.name);
        excel.WriteLiteral(row, 3, cache.TargetCategories().names.NameOf(target.category));
        if (cache.FindUnit(target.unitId)) {
            excel.WriteLiteral(row, 4, UnitName(cache, target.unitId));
            excel.WriteLiteral(row, 5, target.IsSum() ? "Sum" : "Average");
        }
        ++excel.currentRow;
    }
    excel.currentRow = next;

    // Groups.
    count = 0;
    next = excel.CopyRows(14, 2, excel.currentRow, static_cast<int32_t>(cache.Groups().size()));
    excel.currentRow += 2;
    for (const auto& [id, group] : cache.Groups()) {
        WriteGroupRow(excel, cache, group, ++count);
        ++excel.currentRow;
    }
    excel.currentRow = next;

    // Items, group by group.
    excel.CopyRows(18, 2, excel.currentRow, 0);
    excel.currentRow += 2;
    count = 0;
    bool firstGroup = true;
    int32_t lastGroup = 0;
    WalkItemsByGroup(cache, [&](int32_t groupId, const ItemRecord& item) {
        const GroupRecord* group = cache.FindGroup(groupId);
        if (firstGroup || groupId != lastGroup) {
            firstGroup = false;
            lastGroup = groupId;
            excel.CopyRows(20, 2, excel.currentRow, 0);
            if (group) {
                for (std::size_t i = 0; i < group->targets.size(); ++i) {
                    excel.WriteLiteral(excel.currentRow + 1, 5 + static_cast<int32_t>(i),
                                       TargetUnitName(cache, group->targets[i]));
                }
            }
            excel.currentRow += 2;
        }
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
