#pragma once
// The record kinds as the module keeps them in memory. Each entry carries the
// host object it was read from, so pages can change or delete it later.

#include <cstdint>
#include <string>
#include <vector>

#include "data/HostInterfaces.h"

namespace orv {

enum class RecordKind { Unit, Target, Group, Item, Value };

// Field names as they cross to the host in a FieldMap.
namespace field {
inline constexpr const char* Id = "ID";
inline constexpr const char* Name = "NAME";
inline constexpr const char* Index = "INDEX";
inline constexpr const char* CreatorId = "CREATORID";
inline constexpr const char* CategoryId = "PCATEGORYID";
inline constexpr const char* ParentUnitId = "PUNITID";
inline constexpr const char* Factor = "PVALUE";
inline constexpr const char* UnitId = "UNITID";
inline constexpr const char* Type = "TYPE";
inline constexpr const char* ParentId = "PARENTID";
inline constexpr const char* Count = "COUNT";
inline constexpr const char* GroupAttrs = "GROUPATTRS";
inline constexpr const char* Targets = "TARGETS";
inline constexpr const char* MatterId = "MATTERID";
inline constexpr const char* DefaultValue = "DEFAULTVALUE";
inline constexpr const char* Values = "VALUES";
inline constexpr const char* ItemId = "ITEMID";
inline constexpr const char* Value = "VALUE";
inline constexpr const char* ItemIndex = "ITEMINDEX";
inline constexpr const char* Seconds = "SECONDS";
}  // namespace field

// Lists (group targets, item amounts) hold at most this many elements.
inline constexpr int32_t kMaxListEntries = 31;
// Names read from the host are cut at this many bytes.
inline constexpr int32_t kMaxNameBytes = 1023;

// A unit: one of it equals `factor` of unit `baseUnit` (0 for a base unit).
struct UnitEntry {
    HostRecord* record = nullptr;
    int32_t id = 0;
    int32_t index = 0;
    float factor = 1.0f;
    int32_t baseUnit = 0;
    std::string name;
    int32_t category = 0;
};

struct TargetRecord {
    HostRecord* record = nullptr;
    int32_t id = 0;
    int32_t index = 0;
    std::string name;
    int32_t type = 0;  // 0: summed per day, otherwise averaged
    int32_t unitId = 0;
    int32_t category = 0;

    bool IsSum() const { return type == 0; }
};

struct GroupRecord {
    HostRecord* record = nullptr;
    int32_t id = 0;
    int32_t index = 0;
    std::string name;
    int32_t parentId = 0;
    int32_t attrs = 0;  // GROUPATTRS, one byte on the host
    int32_t count = 0;  // COUNT, one byte on the host
    std::vector<int32_t> targets;
    int32_t unitId = 0;
    int32_t type = 0;
    int32_t category = 0;
};

struct ItemRecord {
    HostRecord* record = nullptr;
    int32_t id = 0;
    int32_t index = 0;
    std::string name;
    int32_t matterId = 0;  // owning group
    float defaultValue = 0.0f;
    int32_t count = 0;          // COUNT, two bytes on the host
    std::vector<float> values;  // amount of each target of the group, per unit of the item
    int32_t category = 0;
};

struct ValueRecord {
    HostRecord* record = nullptr;
    int32_t id = 0;
    int32_t index = 0;
    std::string notes;
    int32_t seconds = 0;  // host seconds, compared unsigned
    HostDateTime date;    // the same moment as a date and time
    int32_t itemId = 0;
    float value = 0.0f;     // in the group's unit
    int32_t itemIndex = 0;  // two bytes on the host
    int32_t matterId = 0;
    int32_t category = 0;
};

struct CategoryRecord {
    HostCategory* object = nullptr;
    int32_t number = 0;  // 0..15
    int32_t hostId = 0;
    std::string name;
};

}  // namespace orv
