#include "exchange/ValueExport.h"

#include <charconv>
#include <cstdio>

#include "data/RecordCache.h"
#include "exchange/CsvText.h"

namespace orv::exchange {

const std::vector<std::string>& ValueCsvHeader() {
    static const std::vector<std::string> header = {"date", "group", "item", "amount", "unit", "notes"};
    return header;
}

std::string DateTimeText(const HostDateTime& date) {
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", unsigned{date.year}, unsigned{date.month},
                  unsigned{date.day}, unsigned{date.hour}, unsigned{date.minute}, unsigned{date.second});
    return text;
}

std::string AmountText(float amount) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, amount);
    return std::string(text, result.ptr);
}

std::string ValuesCsv(const RecordCache& cache) {
    std::string out = CsvRecord(ValueCsvHeader());
    for (const auto& [seconds, value] : cache.ValuesInTime()) {
        const ItemRecord* item = cache.FindItem(value->itemId);
        const GroupRecord* group = cache.FindGroup(value->matterId);
        if (!group && item) group = cache.FindGroup(item->matterId);
        const UnitEntry* unit = group ? cache.FindUnit(group->unitId) : nullptr;
        out += CsvRecord({DateTimeText(value->date), group ? group->name : std::string(),
                          item ? item->name : std::string(), AmountText(value->value),
                          unit ? unit->name : std::string(), value->notes});
    }
    return out;
}

}  // namespace orv::exchange
