#include "exchange/ValueImport.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <tuple>

#include "data/FieldText.h"
#include "data/RecordCache.h"
#include "data/UnitConversion.h"
#include "exchange/CsvText.h"
#include "exchange/ValueExport.h"

namespace orv::exchange {
namespace {

enum Column { kDate, kGroup, kItem, kAmount, kUnit, kNotes, kColumns };

// What makes two values the same: moment, group, item name, amount bits and
// notes.
using ValueKey = std::tuple<uint32_t, int32_t, std::string, uint32_t, std::string>;

uint32_t AmountBits(float amount) {
    if (amount == 0.0f) amount = 0.0f;  // -0 is the same amount as 0
    uint32_t bits = 0;
    std::memcpy(&bits, &amount, sizeof bits);
    return bits;
}

// Names and notes as the host keeps them: at most kMaxNameBytes bytes.
std::string Stored(const std::string& text) {
    return std::string(CutUtf8(text, static_cast<std::size_t>(kMaxNameBytes)));
}

// The line of the first byte that is not part of valid UTF-8, or 0.
int FirstBadUtf8Line(std::string_view text) {
    int line = 1;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') ++line;
        if (c == 0) return line;
        std::size_t length = 1;
        uint32_t min = 0;
        uint32_t code = c;
        if (c >= 0x80) {
            if ((c & 0xE0) == 0xC0) {
                length = 2, min = 0x80, code = c & 0x1F;
            } else if ((c & 0xF0) == 0xE0) {
                length = 3, min = 0x800, code = c & 0x0F;
            } else if ((c & 0xF8) == 0xF0) {
                length = 4, min = 0x10000, code = c & 0x07;
            } else {
                return line;
            }
            if (i + length > text.size()) return line;
            for (std::size_t k = 1; k < length; ++k) {
                const auto next = static_cast<unsigned char>(text[i + k]);
                if ((next & 0xC0) != 0x80) return line;
                code = (code << 6) | (next & 0x3F);
            }
            if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return line;
        }
        i += length;
    }
    return 0;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool IsHeader(const std::vector<std::string>& fields) {
    const auto& header = ValueCsvHeader();
    if (fields.size() != header.size()) return false;
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (!SameNameIgnoringCase(fields[i], header[i])) return false;
    }
    return true;
}

bool ParseTwoDigits(std::string_view text, std::size_t at, uint16_t* out) {
    if (!std::isdigit(static_cast<unsigned char>(text[at])) || !std::isdigit(static_cast<unsigned char>(text[at + 1])))
        return false;
    *out = static_cast<uint16_t>((text[at] - '0') * 10 + (text[at + 1] - '0'));
    return true;
}

// "YYYY-MM-DD HH:MM:SS" (or with "T" between date and time) on the host's
// time scale.
bool ParseDateTime(std::string_view text, HostDatabase& db, int32_t* seconds) {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || (text[10] != ' ' && text[10] != 'T') ||
        text[13] != ':' || text[16] != ':')
        return false;
    HostDateTime date;
    uint16_t century = 0;
    uint16_t year = 0;
    if (!ParseTwoDigits(text, 0, &century) || !ParseTwoDigits(text, 2, &year) ||
        !ParseTwoDigits(text, 5, &date.month) || !ParseTwoDigits(text, 8, &date.day) ||
        !ParseTwoDigits(text, 11, &date.hour) || !ParseTwoDigits(text, 14, &date.minute) ||
        !ParseTwoDigits(text, 17, &date.second))
        return false;
    date.year = static_cast<uint16_t>(century * 100 + year);
    return db.DateToSeconds(seconds, &date) == 0;
}

template <typename Real>
bool ParseNumber(std::string_view text, Real* out) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto result = std::from_chars(text.data(), text.data() + text.size(), *out);
    return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size() && std::isfinite(*out);
}

// The amount in the group's unit. The group's own unit reads the text
// straight as a 32-bit float, so an exported amount comes back bit for bit.
bool ParseAmount(std::string_view text, const RecordCache& cache, int32_t fromUnit, int32_t groupUnit, float* out) {
    if (fromUnit == groupUnit) return ParseNumber(text, out);
    double amount = 0;
    if (!ParseNumber(text, &amount)) return false;
    const double converted = ConvertAmount(cache.Conversions(), amount, fromUnit, groupUnit);
    if (!std::isfinite(converted) || std::fabs(converted) > std::numeric_limits<float>::max()) return false;
    *out = static_cast<float>(converted);
    return true;
}

// Reads the rows of the file into plan entries.
class Planner {
public:
    Planner(HostDatabase& db, const RecordCache& cache, ImportPlan& plan) : db_(db), cache_(cache), plan_(plan) {
        for (const auto& [id, group] : cache.Groups()) groupsByName_.emplace(group.name, &group);
        for (const auto& [id, item] : cache.Items()) itemsByName_.emplace(std::pair(item.matterId, item.name), &item);
        for (const auto& [id, value] : cache.Values()) {
            const ItemRecord* item = cache.FindItem(value.itemId);
            if (!item) continue;
            ++stored_[ValueKey(static_cast<uint32_t>(value.seconds), value.matterId, item->name,
                               AmountBits(value.value), value.notes)];
        }
    }

    void Row(const CsvRow& row) {
        ++plan_.rows;
        const auto& f = row.fields;
        if (f.size() != kColumns) {
            return Refuse(row, Refusal::FieldCount, std::to_string(f.size()) + " fields");
        }
        NewValue value;
        value.line = row.line;
        if (!ParseDateTime(f[kDate], db_, &value.seconds)) return Refuse(row, Refusal::BadDate, f[kDate]);
        const auto group = groupsByName_.find(Stored(f[kGroup]));
        if (group == groupsByName_.end()) return Refuse(row, Refusal::UnknownGroup, f[kGroup]);
        const GroupRecord& g = *group->second;
        value.groupId = g.id;
        const std::string itemName = Stored(f[kItem]);
        if (itemName.empty()) return Refuse(row, Refusal::NoItem, f[kItem]);

        int32_t unit = g.unitId;
        if (!f[kUnit].empty()) {
            const auto found = cache_.UnitIdsByName().find(UnitNameKey(f[kUnit]));
            if (found == cache_.UnitIdsByName().end()) return Refuse(row, Refusal::UnknownUnit, f[kUnit]);
            unit = found->second;
        }
        if (unit != g.unitId && FamilyRoot(cache_.Conversions(), unit) != FamilyRoot(cache_.Conversions(), g.unitId)) {
            return Refuse(row, Refusal::ForeignUnit, f[kUnit]);
        }
        if (!ParseAmount(f[kAmount], cache_, unit, g.unitId, &value.amount)) {
            return Refuse(row, Refusal::BadAmount, f[kAmount]);
        }
        value.notes = Stored(f[kNotes]);

        const ValueKey key(static_cast<uint32_t>(value.seconds), g.id, itemName, AmountBits(value.amount), value.notes);
        const auto stored = stored_.find(key);
        if (++inFile_[key] <= (stored == stored_.end() ? 0 : stored->second)) {
            ++plan_.duplicates;
            return;
        }
        if (const auto item = itemsByName_.find(std::pair(g.id, itemName)); item != itemsByName_.end()) {
            value.itemId = item->second->id;
            value.itemIndex = item->second->index;
        } else {
            value.newItem = NewItemOf(g, itemName);
        }
        plan_.newValues.push_back(std::move(value));
    }

private:
    void Refuse(const CsvRow& row, Refusal reason, std::string field) {
        plan_.refused.push_back({row.line, reason, std::move(field)});
    }

    int NewItemOf(const GroupRecord& group, const std::string& name) {
        const auto [it, added] = newItems_.emplace(std::pair(group.id, name), static_cast<int>(plan_.newItems.size()));
        if (added)
            plan_.newItems.push_back(
                {group.id, group.name, name, std::clamp<int32_t>(group.count, 0, kMaxListEntries)});
        return it->second;
    }

    HostDatabase& db_;
    const RecordCache& cache_;
    ImportPlan& plan_;
    std::map<std::string, const GroupRecord*> groupsByName_;
    std::map<std::pair<int32_t, std::string>, const ItemRecord*> itemsByName_;
    std::map<std::pair<int32_t, std::string>, int> newItems_;
    std::map<ValueKey, int> stored_;
    std::map<ValueKey, int> inFile_;
};

// Text that the host reads back as exactly this float.
std::string ExactRealText(float value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, static_cast<double>(value));
    return std::string(text, result.ptr);
}

}  // namespace

const char* RefusalText(Refusal reason) {
    switch (reason) {
    case Refusal::FieldCount: return "not six fields";
    case Refusal::BadDate: return "bad date";
    case Refusal::UnknownGroup: return "unknown group";
    case Refusal::NoItem: return "no item";
    case Refusal::UnknownUnit: return "unknown unit";
    case Refusal::ForeignUnit: return "unit of another family";
    case Refusal::BadAmount: return "unparsable amount";
    }
    return "refused";
}

bool PlanImport(std::string_view text, HostDatabase& db, const RecordCache& cache, ImportPlan* plan,
                std::string* error) {
    *plan = ImportPlan{};
    if (const int line = FirstBadUtf8Line(text)) {
        *error = "The file is not UTF-8 text (line " + std::to_string(line) + ").";
        return false;
    }
    const CsvParse parsed = ParseCsv(text);
    if (!parsed.error.empty()) {
        *error = "The file is not CSV: " + parsed.error + " (line " + std::to_string(parsed.errorLine) + ").";
        return false;
    }
    std::string header;
    for (const auto& name : ValueCsvHeader()) header += (header.empty() ? "" : ",") + name;
    if (parsed.rows.empty() || !IsHeader(parsed.rows.front().fields)) {
        *error = "The file is not a CSV of values: its first line must be \"" + header + "\".";
        return false;
    }
    Planner planner(db, cache, *plan);
    for (std::size_t i = 1; i < parsed.rows.size(); ++i) planner.Row(parsed.rows[i]);
    return true;
}

std::string PreviewText(const ImportPlan& plan) {
    std::string out = std::to_string(plan.rows) + (plan.rows == 1 ? " row: " : " rows: ") +
                      std::to_string(plan.newValues.size()) + " new, " + std::to_string(plan.duplicates) +
                      " already stored (skipped), " + std::to_string(plan.refused.size()) + " refused.\n";
    for (const NewItem& item : plan.newItems) out += "New item: " + item.name + " (in " + item.groupName + ")\n";
    for (const RefusedRow& row : plan.refused) {
        out += "Line " + std::to_string(row.line) + ": " + RefusalText(row.reason) + " (" + row.field + ")\n";
    }
    return out;
}

bool WriteImport(const ImportPlan& plan, HostDatabase& db, ImportSink& sink, std::string* error) {
    HostTable* items = db.Items();
    HostTable* values = db.Values();
    if (!items || !values) {
        *error = "The database has no table of items or values.";
        return false;
    }
    const int32_t firstItem = items->MaxId() + 1;
    for (std::size_t i = 0; i < plan.newItems.size(); ++i) {
        const NewItem& item = plan.newItems[i];
        const FieldMap fields = {{field::Id, IntText(firstItem + static_cast<int32_t>(i))},
                                 {field::Name, item.name},
                                 {field::MatterId, IntText(item.groupId)},
                                 {field::CategoryId, "0"},
                                 {field::Count, IntText(item.count)},
                                 {field::DefaultValue, "1"},
                                 {field::Values, RealListText(std::vector<float>(item.count, 0.0f))}};
        if (sink.Add(RecordKind::Item, fields) != 0) {
            *error = "The database refused the new item \"" + item.name + "\"; nothing was imported.";
            return false;
        }
    }
    int32_t id = values->MaxId();
    int32_t index = values->MaxIndex();
    for (const NewValue& value : plan.newValues) {
        // A new item's INDEX is its id, as for every item the host adds.
        const int32_t itemId = value.newItem >= 0 ? firstItem + value.newItem : value.itemId;
        const int32_t itemIndex = value.newItem >= 0 ? itemId : value.itemIndex;
        const FieldMap fields = {{field::Id, IntText(++id)},
                                 {field::Index, IntText(++index)},
                                 {field::Name, value.notes},
                                 {field::CreatorId, "0"},
                                 {field::CategoryId, "0"},
                                 {field::MatterId, IntText(value.groupId)},
                                 {field::ItemId, IntText(itemId)},
                                 {field::ItemIndex, IntText(itemIndex)},
                                 {field::Value, ExactRealText(value.amount)},
                                 {field::Seconds, IntText(value.seconds)}};
        if (sink.Add(RecordKind::Value, fields) != 0) {
            *error = "The database refused the value of line " + std::to_string(value.line) + "; nothing was imported.";
            return false;
        }
    }
    std::string detail;
    if (!sink.Commit(&detail)) {
        *error = "The import could not be written (" + detail + "); nothing was imported.";
        return false;
    }
    return true;
}

}  // namespace orv::exchange
