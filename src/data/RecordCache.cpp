#include "data/RecordCache.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <vector>

#include "data/HostAccess.h"
#include "data/HostExtensions.h"

namespace orv {
namespace {

template <typename Visit>
void WalkTable(HostTable* table, Visit visit) {
    if (!table) return;
    for (table->MoveFirst(); !table->IsEnd(); table->MoveNext()) {
        HostRecord* record = table->Current();
        if (record && !record->IsSkipped()) visit(*record);
    }
}

template <typename Visit>
void WalkCategories(HostCategoryTable* table, Visit visit) {
    if (!table) return;
    for (table->MoveFirst(); !table->IsEnd(); table->MoveNext()) {
        if (HostCategory* category = table->Current()) visit(*category);
    }
}

void LoadCategorySet(HostCategoryTable* table, CategorySet& set) {
    set.Clear();
    WalkCategories(table, [&](HostCategory& category) {
        CategoryRecord record;
        record.object = &category;
        record.number = category.Named().GetIndex();
        record.hostId = category.Named().GetId();
        record.name = ReadName(category.Named());
        set.names.Append(record.number, record.number, record.name);
        set.byNumber.emplace(record.number, std::move(record));
    });
}

template <typename Map>
const typename Map::mapped_type* FindIn(const Map& map, int32_t id) {
    const auto it = map.find(id);
    return it == map.end() ? nullptr : &it->second;
}

// A name list of any kind: id, INDEX and name in host order.
void LoadNameList(HostTable* table, NameList& list) {
    list.Clear();
    WalkTable(table, [&](HostRecord& record) {
        HostNamed& named = record.Named();
        list.Append(named.GetId(), named.GetIndex(), ReadName(named));
    });
}

// Entries of `loaded` (in load order) whose id comes again later are dropped:
// a repeated id stands for the record loaded last, at its load position.
void DropRepeatedIds(std::vector<ValueMap::value_type>& loaded) {
    const bool ascending = std::adjacent_find(loaded.begin(), loaded.end(), [](const auto& a, const auto& b) {
                               return a.first >= b.first;
                           }) == loaded.end();
    if (ascending) return;
    std::unordered_map<int32_t, std::size_t> last;
    for (std::size_t i = 0; i < loaded.size(); ++i) last[loaded[i].first] = i;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        if (last[loaded[i].first] != i) continue;
        // Never move an entry onto itself: a self-moved string comes out empty.
        if (kept != i) loaded[kept] = std::move(loaded[i]);
        ++kept;
    }
    loaded.resize(kept);
}

const ValueRecord* RecordAt(const ValueMap& values, std::size_t position) {
    return &(values.begin() + static_cast<std::ptrdiff_t>(position))->second;
}

uint64_t NextGeneration() {
    static uint64_t generation = 0;
    return ++generation;
}

}  // namespace

void CategorySet::Clear() {
    names.Clear();
    byNumber.clear();
}

int32_t CategorySet::NumberOf(const std::string& name) const {
    for (const auto& [number, record] : byNumber) {
        if (record.name == name) return number;
    }
    return -1;
}

void RecordCache::LoadGroups(HostDatabase* db) {
    if (UpToDate(kGroupsPart, db, static_cast<int32_t>(RecordKind::Group))) return;
    groups_.clear();
    groupsByTarget_.clear();
    if (!db) return;
    std::vector<IdMultimap::value_type> byTarget;
    WalkTable(db->Groups(), [&](HostRecord& record) {
        GroupRecord g;
        g.record = &record;
        g.category = record.GetCategory();
        g.id = record.Named().GetId();
        g.index = record.Named().GetIndex();
        g.name = ReadName(record.Named());
        g.parentId = ReadInt32(record, prop::GroupParentId);
        g.attrs = ReadUInt8(record, prop::GroupAttrs);
        g.count = std::min(ReadUInt8(record, prop::GroupCount), kMaxListEntries);
        g.targets.reserve(static_cast<std::size_t>(g.count));
        for (int32_t i = 0; i < g.count; ++i) g.targets.push_back(ReadInt32(record, prop::GroupTargets, i));
        g.unitId = ReadInt32(record, prop::GroupUnitId);
        g.type = ReadInt32(record, prop::GroupType);
        for (const int32_t target : g.targets) byTarget.emplace_back(target, g.id);
        groups_.insert_or_assign(g.id, std::move(g));
    });
    groupsByTarget_.Assign(std::move(byTarget));
}

void RecordCache::LoadItems(HostDatabase* db) {
    if (UpToDate(kItemsPart, db, static_cast<int32_t>(RecordKind::Item))) return;
    items_.clear();
    itemsByGroup_.clear();
    if (!db) return;
    std::vector<IdMultimap::value_type> byGroup;
    WalkTable(db->Items(), [&](HostRecord& record) {
        ItemRecord item;
        item.record = &record;
        item.category = record.GetCategory();
        item.id = record.Named().GetId();
        item.index = record.Named().GetIndex();
        item.name = ReadName(record.Named());
        item.matterId = ReadInt32(record, prop::ItemMatterId);
        item.defaultValue = ReadFloat(record, prop::ItemDefaultValue);
        item.count = std::min(ReadUInt16(record, prop::ItemCount), kMaxListEntries);
        item.values.reserve(static_cast<std::size_t>(item.count));
        for (int32_t i = 0; i < item.count; ++i) item.values.push_back(ReadFloat(record, prop::ItemValues, i));
        byGroup.emplace_back(item.matterId, item.id);
        items_.insert_or_assign(item.id, std::move(item));
    });
    itemsByGroup_.Assign(std::move(byGroup));
}

void RecordCache::LoadTargets(HostDatabase* db) {
    if (UpToDate(kTargetsPart, db, static_cast<int32_t>(RecordKind::Target))) return;
    targets_.clear();
    if (!db) return;
    WalkTable(db->Targets(), [&](HostRecord& record) {
        TargetRecord t;
        t.record = &record;
        t.category = record.GetCategory();
        t.id = record.Named().GetId();
        t.index = record.Named().GetIndex();
        t.name = ReadName(record.Named());
        t.type = ReadInt32(record, prop::TargetType);
        t.unitId = ReadInt32(record, prop::TargetUnitId);
        targets_.insert_or_assign(t.id, std::move(t));
    });
}

int32_t RecordCache::LoadUnits(HostDatabase* db) {
    if (UpToDate(kUnitsPart, db, static_cast<int32_t>(RecordKind::Unit))) return 0;
    return orv::LoadUnits(*this, db);
}

void RecordCache::LoadValues(HostDatabase* db) {
    if (UpToDate(kValuesPart, db, static_cast<int32_t>(RecordKind::Value))) return;
    const std::size_t expected = values_.size();
    valuesByItem_.clear();
    valuesByTime_.clear();
    values_.clear();
    if (!db) return;
    std::vector<ValueMap::value_type> loaded;
    loaded.reserve(expected);
    WalkTable(db->Values(), [&](HostRecord& record) {
        ValueRecord v;
        v.record = &record;
        v.category = record.GetCategory();
        v.id = record.Named().GetId();
        v.index = record.Named().GetIndex();
        v.notes = ReadName(record.Named());
        v.seconds = ReadInt32(record, prop::ValueSeconds);
        db->SecondsToDate(v.seconds, &v.date);
        v.itemId = ReadInt32(record, prop::ValueItemId);
        v.value = ReadFloat(record, prop::ValueValue);
        v.itemIndex = ReadUInt16(record, prop::ValueItemIndex);
        v.matterId = ReadInt32(record, prop::ValueMatterId);
        loaded.emplace_back(v.id, std::move(v));
    });
    DropRepeatedIds(loaded);

    // Stored by id; stored[i] is where the i-th value in load order ends up.
    // Hosts hand out ids in ascending order, so the sort is usually skipped.
    std::vector<const ValueRecord*> stored(loaded.size());
    const auto idLess = [](const auto& a, const auto& b) { return a.first < b.first; };
    if (std::is_sorted(loaded.begin(), loaded.end(), idLess)) {
        values_.Assign(std::move(loaded));
        for (std::size_t i = 0; i < stored.size(); ++i) stored[i] = RecordAt(values_, i);
    } else {
        std::vector<std::size_t> byId(loaded.size());
        std::iota(byId.begin(), byId.end(), std::size_t{0});
        std::sort(byId.begin(), byId.end(), [&](std::size_t a, std::size_t b) { return idLess(loaded[a], loaded[b]); });
        std::vector<ValueMap::value_type> sorted;
        sorted.reserve(loaded.size());
        for (const std::size_t i : byId) sorted.push_back(std::move(loaded[i]));
        values_.Assign(std::move(sorted));
        for (std::size_t k = 0; k < byId.size(); ++k) stored[byId[k]] = RecordAt(values_, k);
    }

    // The indexes from the values in load order, sorted stably.
    std::vector<ValuesByTime::value_type> byTime;
    byTime.reserve(stored.size());
    for (const ValueRecord* value : stored) byTime.emplace_back(value->seconds, value);
    valuesByTime_.Assign(std::move(byTime));
    std::vector<ValuesByItem::value_type> byItem;
    byItem.reserve(stored.size());
    for (const ValueRecord* value : stored) byItem.emplace_back(std::make_pair(value->itemId, value->seconds), value);
    valuesByItem_.Assign(std::move(byItem));
}

void RecordCache::LoadItemNames(HostDatabase* db) {
    if (UpToDate(kItemNamesPart, db, static_cast<int32_t>(RecordKind::Item))) return;
    itemNames_.Clear();
    itemDefaults_.clear();
    if (!db) return;
    WalkTable(db->Items(), [&](HostRecord& record) {
        HostNamed& named = record.Named();
        const int32_t id = named.GetId();
        itemNames_.Append(id, named.GetIndex(), ReadName(named));
        itemDefaults_[id] = ReadFloat(record, prop::ItemDefaultValue);
    });
}

void RecordCache::LoadGroupNames(HostDatabase* db) {
    if (UpToDate(kGroupNamesPart, db, static_cast<int32_t>(RecordKind::Group))) return;
    LoadNameList(db ? db->Groups() : nullptr, groupNames_);
}

void RecordCache::LoadTargetNames(HostDatabase* db) {
    if (UpToDate(kTargetNamesPart, db, static_cast<int32_t>(RecordKind::Target))) return;
    LoadNameList(db ? db->Targets() : nullptr, targetNames_);
    targetIdByName_.clear();
    for (const int32_t id : targetNames_.Ids()) targetIdByName_.emplace(targetNames_.NameOf(id), id);
}

void RecordCache::LoadUnitNames(HostDatabase* db) {
    if (UpToDate(kUnitNamesPart, db, static_cast<int32_t>(RecordKind::Unit))) return;
    LoadNameList(db ? db->Units() : nullptr, unitNames_);
    unitIdByName_.clear();
    for (const int32_t id : unitNames_.Ids()) unitIdByName_.emplace(UnitNameKey(unitNames_.NameOf(id)), id);
}

void RecordCache::LoadUnitCategories(HostDatabase* db) {
    if (UpToDate(kUnitCategoriesPart, db, changekind::kCategories)) return;
    LoadCategorySet(db ? db->UnitCategories() : nullptr, unitCategories_);
}

void RecordCache::LoadGroupCategories(HostDatabase* db) {
    if (UpToDate(kGroupCategoriesPart, db, changekind::kCategories)) return;
    LoadCategorySet(db ? db->GroupCategories() : nullptr, groupCategories_);
}

void RecordCache::LoadTargetCategories(HostDatabase* db) {
    if (UpToDate(kTargetCategoriesPart, db, changekind::kCategories)) return;
    LoadCategorySet(db ? db->TargetCategories() : nullptr, targetCategories_);
}

void RecordCache::LoadValueCategories(HostDatabase* db) {
    if (UpToDate(kValueCategoriesPart, db, changekind::kCategories)) return;
    valueCategoryNames_.Clear();
    WalkCategories(db ? db->ValueCategories() : nullptr, [&](HostCategory& category) {
        const int32_t number = category.Named().GetIndex();
        valueCategoryNames_.Append(number, number, ReadName(category.Named()));
    });
}

void RecordCache::LoadAll(HostDatabase* db) {
    LoadGroups(db);
    LoadItems(db);
    LoadTargets(db);
    LoadUnits(db);
    LoadValues(db);
    LoadItemNames(db);
    LoadGroupNames(db);
    LoadTargetNames(db);
    LoadUnitNames(db);
    LoadUnitCategories(db);
    LoadGroupCategories(db);
    LoadTargetCategories(db);
    LoadValueCategories(db);
}

void RecordCache::Clear() { *this = RecordCache(); }

void RecordCache::Invalidate() { stamps_.fill(LoadStamp{}); }

bool RecordCache::UpToDate(Part part, HostDatabase* db, int32_t kind) {
    LoadStamp& stamp = stamps_[part];
    HostExtensions* extensions = db ? CurrentHostExtensions() : nullptr;
    const uint64_t version = extensions ? extensions->ChangeVersion(kind) : 0;
    if (version != 0 && stamp.version == version && stamp.db == db && stamp.extensions == extensions) return true;
    stamp = {db, extensions, version};
    generation_ = NextGeneration();
    return false;
}

const GroupRecord* RecordCache::FindGroup(int32_t id) const { return FindIn(groups_, id); }
const ItemRecord* RecordCache::FindItem(int32_t id) const { return FindIn(items_, id); }
const TargetRecord* RecordCache::FindTarget(int32_t id) const { return FindIn(targets_, id); }
const UnitEntry* RecordCache::FindUnit(int32_t id) const { return FindIn(units_, id); }
const ValueRecord* RecordCache::FindValue(int32_t id) const { return FindIn(values_, id); }

float RecordCache::ItemDefaultValue(int32_t itemId) const {
    const auto it = itemDefaults_.find(itemId);
    return it == itemDefaults_.end() ? 0.0f : it->second;
}

CategorySet* RecordCache::MutableCategories(RecordKind kind) {
    // What the caller changes in place may never reach the host (a refused
    // rename), so the next load of these categories reads them again.
    switch (kind) {
    case RecordKind::Unit: stamps_[kUnitCategoriesPart] = {}; return &unitCategories_;
    case RecordKind::Group: stamps_[kGroupCategoriesPart] = {}; return &groupCategories_;
    case RecordKind::Target: stamps_[kTargetCategoriesPart] = {}; return &targetCategories_;
    default: return nullptr;
    }
}

bool RecordCache::ItemHasValues(int32_t itemId) const {
    const auto it = valuesByItem_.lower_bound({itemId, 0});
    return it != valuesByItem_.end() && it->first.first == itemId;
}

bool RecordCache::TargetIsReferenced(int32_t targetId) const { return groupsByTarget_.count(targetId) != 0; }

std::string UnitNameKey(const std::string& name) {
    const auto cut = [](char c) { return c == ' ' || c == '.' || c == ','; };
    std::size_t begin = 0;
    std::size_t end = name.size();
    while (begin < end && cut(name[begin])) ++begin;
    while (end > begin && cut(name[end - 1])) --end;
    return name.substr(begin, end - begin);
}

}  // namespace orv
