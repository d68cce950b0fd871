#include "data/ChangeMessages.h"

#include <algorithm>
#include <vector>

#include "data/HostExtensions.h"
#include "data/RecordCache.h"

namespace orv {

const char* KindNoun(RecordKind kind) {
    switch (kind) {
    case RecordKind::Unit: return "unit";
    case RecordKind::Target: return "target";
    case RecordKind::Group: return "group";
    case RecordKind::Item: return "item";
    case RecordKind::Value: return "value";
    }
    return "record";
}

std::string WriteFailureText(int32_t result, RecordKind kind) {
    switch (result) {
    case hostresult::kBusy: return "The database is busy: another program is writing to it. Please try again.";
    case hostresult::kGone: return std::string("This ") + KindNoun(kind) + " was removed by another program.";
    case hostresult::kReadOnly: return "The database is read-only: changes cannot be saved.";
    case hostresult::kStorageError:
        return "The change could not be saved: the database file could not be written (the disk may be full).";
    default: return "The change could not be saved.";
    }
}

std::string UnitUsersText(const RecordCache& cache, int32_t unitId) {
    std::vector<std::string> users;
    for (const auto& [id, target] : cache.Targets()) {
        if (target.unitId == unitId) users.push_back("the target \"" + target.name + "\"");
    }
    for (const auto& [id, group] : cache.Groups()) {
        if (group.unitId == unitId) users.push_back("the group \"" + group.name + "\"");
    }
    for (const auto& [id, unit] : cache.Units()) {
        if (unit.baseUnit == unitId && id != unitId) users.push_back("the unit \"" + unit.name + "\"");
    }
    if (users.empty()) return {};
    constexpr std::size_t kNamed = 3;
    std::string text = "This unit cannot be removed: it is used by ";
    const std::size_t named = std::min(users.size(), kNamed);
    for (std::size_t i = 0; i < named; ++i) {
        if (i > 0) text += i + 1 == named && users.size() == named ? " and " : ", ";
        text += users[i];
    }
    if (users.size() > named) text += " and " + std::to_string(users.size() - named) + " more";
    return text + ".";
}

}  // namespace orv
