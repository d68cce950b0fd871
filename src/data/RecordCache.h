#pragma once
// The module's single in-memory copy of every record it shows. Pages read only
// from here; after they write through the host they run the loaders of the
// parts they changed. Every loader first empties what it builds, then walks
// its host table from the first record, leaving out records the host marks
// as skipped.
//
// Loading once per change: when the host offers change versions
// (HostExtensions), a loader whose record kind has the same version as at
// its last run on the same database keeps what it holds and reads nothing.
// Every write, the module's own and other programs', changes the version, so
// the parts stay what the database holds. Without change versions every
// loader reads its table again.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>

#include "data/HostInterfaces.h"
#include "data/NameList.h"
#include "data/Records.h"
#include "data/SortedIndex.h"
#include "data/UnitConversion.h"

namespace orv {

class HostExtensions;

// Ids and seconds are ordered as unsigned numbers: seconds past 2^31 (and the
// keys -1 and -3) come after smaller ones; the indexes keep equal keys in
// load order.
struct UnsignedLess {
    bool operator()(int32_t a, int32_t b) const { return static_cast<uint32_t>(a) < static_cast<uint32_t>(b); }
};
struct UnsignedPairLess {
    bool operator()(const std::pair<int32_t, int32_t>& a, const std::pair<int32_t, int32_t>& b) const {
        const auto ua = std::pair<uint32_t, uint32_t>(static_cast<uint32_t>(a.first), static_cast<uint32_t>(a.second));
        const auto ub = std::pair<uint32_t, uint32_t>(static_cast<uint32_t>(b.first), static_cast<uint32_t>(b.second));
        return ua < ub;
    }
};

using IdMultimap = SortedIndex<int32_t, int32_t, UnsignedLess>;
// Values by id (ascending, as signed numbers, like the other kinds' maps).
using ValueMap = SortedIndex<int32_t, ValueRecord, std::less<int32_t>>;
// (item id, seconds) -> value; and seconds -> value.
using ValuesByItem = SortedIndex<std::pair<int32_t, int32_t>, const ValueRecord*, UnsignedPairLess>;
using ValuesByTime = SortedIndex<int32_t, const ValueRecord*, UnsignedLess>;

// One kind's 16 category slots.
struct CategorySet {
    NameList names;                              // keyed by category number
    std::map<int32_t, CategoryRecord> byNumber;  // number -> category

    void Clear();
    // The number of the category with exactly this name, or -1.
    int32_t NumberOf(const std::string& name) const;
};

class RecordCache {
public:
    // Loaders. Each is a no-op that leaves its part empty without a database
    // or without the host table.
    void LoadGroups(HostDatabase* db);
    void LoadItems(HostDatabase* db);
    void LoadTargets(HostDatabase* db);
    int32_t LoadUnits(HostDatabase* db);  // 1 without a database, else 0
    void LoadValues(HostDatabase* db);
    void LoadItemNames(HostDatabase* db);
    void LoadGroupNames(HostDatabase* db);
    void LoadTargetNames(HostDatabase* db);
    void LoadUnitNames(HostDatabase* db);
    void LoadUnitCategories(HostDatabase* db);
    void LoadGroupCategories(HostDatabase* db);
    void LoadTargetCategories(HostDatabase* db);
    void LoadValueCategories(HostDatabase* db);
    // Every loader above, in that order.
    void LoadAll(HostDatabase* db);
    void Clear();
    // The next run of every loader reads its table, whatever the versions.
    void Invalidate();
    // Changes whenever a loader read its table: equal generations mean equal
    // contents. Unique across caches and clears.
    uint64_t Generation() const { return generation_; }

    // Groups: by id, and target id -> groups listing it (load order).
    const std::map<int32_t, GroupRecord>& Groups() const { return groups_; }
    const IdMultimap& GroupsByTarget() const { return groupsByTarget_; }
    const GroupRecord* FindGroup(int32_t id) const;

    // Items: by id, and group id -> its items (load order).
    const std::map<int32_t, ItemRecord>& Items() const { return items_; }
    const IdMultimap& ItemsByGroup() const { return itemsByGroup_; }
    const ItemRecord* FindItem(int32_t id) const;

    const std::map<int32_t, TargetRecord>& Targets() const { return targets_; }
    const TargetRecord* FindTarget(int32_t id) const;

    // Units and their conversion (filled by LoadUnits).
    const std::map<int32_t, UnitEntry>& Units() const { return units_; }
    const UnitEntry* FindUnit(int32_t id) const;
    const UnitConversionTable& Conversions() const { return conversions_; }
    const UnitFamilyIndex& Families() const { return families_; }

    // Values: by id, per item in time order, and in time order.
    const ValueMap& Values() const { return values_; }
    const ValuesByItem& ValuesPerItem() const { return valuesByItem_; }
    const ValuesByTime& ValuesInTime() const { return valuesByTime_; }
    const ValueRecord* FindValue(int32_t id) const;

    const NameList& ItemNames() const { return itemNames_; }
    // 0 when the item is not listed.
    float ItemDefaultValue(int32_t itemId) const;
    const NameList& GroupNames() const { return groupNames_; }
    const NameList& TargetNames() const { return targetNames_; }
    // Target name (exact, byte-wise) -> id.
    const std::map<std::string, int32_t>& TargetIdsByName() const { return targetIdByName_; }
    const NameList& UnitNames() const { return unitNames_; }
    // Unit name with spaces, points and commas cut at both ends -> id.
    const std::map<std::string, int32_t>& UnitIdsByName() const { return unitIdByName_; }

    const CategorySet& UnitCategories() const { return unitCategories_; }
    const CategorySet& GroupCategories() const { return groupCategories_; }
    const CategorySet& TargetCategories() const { return targetCategories_; }
    const NameList& ValueCategoryNames() const { return valueCategoryNames_; }
    // Categories are renamed in place by the category dialog; null for the
    // kinds whose categories are only read (values) or have none (items).
    // Their next load reads the host again, whatever the versions say.
    CategorySet* MutableCategories(RecordKind kind);

    // Referential rules the pages check before they remove records.
    bool ItemHasValues(int32_t itemId) const;
    bool TargetIsReferenced(int32_t targetId) const;

private:
    friend int32_t orv::LoadUnits(RecordCache& cache, HostDatabase* db);

    // The loaders, each remembering the change version it loaded at.
    enum Part {
        kGroupsPart,
        kItemsPart,
        kTargetsPart,
        kUnitsPart,
        kValuesPart,
        kItemNamesPart,
        kGroupNamesPart,
        kTargetNamesPart,
        kUnitNamesPart,
        kUnitCategoriesPart,
        kGroupCategoriesPart,
        kTargetCategoriesPart,
        kValueCategoriesPart,
        kPartCount
    };
    struct LoadStamp {
        const HostDatabase* db = nullptr;
        const HostExtensions* extensions = nullptr;
        uint64_t version = 0;  // 0: load again
    };
    // True when `part` was loaded from `db` at the version `kind` has now;
    // otherwise records that version for the load the caller does next.
    bool UpToDate(Part part, HostDatabase* db, int32_t kind);

    std::array<LoadStamp, kPartCount> stamps_{};
    uint64_t generation_ = 0;

    std::map<int32_t, GroupRecord> groups_;
    IdMultimap groupsByTarget_;
    std::map<int32_t, ItemRecord> items_;
    IdMultimap itemsByGroup_;
    std::map<int32_t, TargetRecord> targets_;
    std::map<int32_t, UnitEntry> units_;
    UnitConversionTable conversions_;
    UnitFamilyIndex families_;
    ValueMap values_;
    ValuesByItem valuesByItem_;
    ValuesByTime valuesByTime_;
    NameList itemNames_;
    std::unordered_map<int32_t, float> itemDefaults_;
    NameList groupNames_;
    NameList targetNames_;
    std::map<std::string, int32_t> targetIdByName_;
    NameList unitNames_;
    std::map<std::string, int32_t> unitIdByName_;
    CategorySet unitCategories_;
    CategorySet groupCategories_;
    CategorySet targetCategories_;
    NameList valueCategoryNames_;
};

// The unit-name key: the name with spaces, points and commas cut at both ends.
std::string UnitNameKey(const std::string& name);

}  // namespace orv
