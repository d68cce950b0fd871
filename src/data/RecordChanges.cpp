#include "data/RecordChanges.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "data/ChangeBatch.h"
#include "data/FieldText.h"
#include "data/HostAccess.h"
#include "data/HostExtensions.h"
#include "data/ModifiedFlag.h"
#include "data/RecordCache.h"
#include "data/UnitConversion.h"

namespace orv {

int32_t HostWriteResult(int32_t hostResult) {
    switch (hostResult) {
    case hostresult::kOk:
    case hostresult::kGone:
    case hostresult::kStorageError:
    case hostresult::kBusy:
    case hostresult::kReadOnly: return hostResult;
    default: return kChangeRefused;
    }
}

int32_t ReadOnlyRefusal() {
    HostExtensions* extensions = CurrentHostExtensions();
    return extensions && extensions->IsReadOnly() != 0 ? hostresult::kReadOnly : kChangeOk;
}

HostTable* TableOf(HostDatabase& db, RecordKind kind) {
    switch (kind) {
    case RecordKind::Unit: return db.Units();
    case RecordKind::Target: return db.Targets();
    case RecordKind::Group: return db.Groups();
    case RecordKind::Item: return db.Items();
    case RecordKind::Value: return db.Values();
    }
    return nullptr;
}

void ReloadKind(RecordCache& cache, HostDatabase* db, RecordKind kind) {
    switch (kind) {
    case RecordKind::Unit:
        cache.LoadUnits(db);
        cache.LoadUnitNames(db);
        break;
    case RecordKind::Target:
        cache.LoadTargets(db);
        cache.LoadTargetNames(db);
        break;
    case RecordKind::Group:
        cache.LoadGroups(db);
        cache.LoadGroupNames(db);
        break;
    case RecordKind::Item:
        cache.LoadItems(db);
        cache.LoadItemNames(db);
        break;
    case RecordKind::Value: cache.LoadValues(db); break;
    }
}

int32_t AddRecord(HostDatabase& db, RecordCache& cache, RecordKind kind, FieldMap fields, int32_t* newId) {
    HostTable* table = TableOf(db, kind);
    if (!table) return kChangeNoHost;
    const int32_t id = table->MaxId() + 1;
    fields[field::Id] = IntText(id);
    if (kind == RecordKind::Unit || kind == RecordKind::Target || kind == RecordKind::Value) {
        fields[field::Index] = IntText(table->MaxIndex() + 1);
    }
    if (const int32_t refused = ReadOnlyRefusal()) return refused;
    SetModifiedFlag();
    if (const int32_t result = table->Add(&fields); result != 0) return HostWriteResult(result);
    if (HostRecord* added = table->Find(id)) added->AfterAdd(1);
    ReloadKind(cache, &db, kind);
    if (newId) *newId = id;
    return kChangeOk;
}

RecordEdit& RecordEdit::Int32(int32_t property, int32_t value, int32_t element) {
    writes_.push_back({property, 4, element, static_cast<uint32_t>(value)});
    return *this;
}

RecordEdit& RecordEdit::UInt16(int32_t property, int32_t value, int32_t element) {
    writes_.push_back({property, 2, element, static_cast<uint32_t>(value) & 0xFFFFu});
    return *this;
}

RecordEdit& RecordEdit::UInt8(int32_t property, int32_t value, int32_t element) {
    writes_.push_back({property, 1, element, static_cast<uint32_t>(value) & 0xFFu});
    return *this;
}

RecordEdit& RecordEdit::Float(int32_t property, float value, int32_t element) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    writes_.push_back({property, 4, element, bits});
    return *this;
}

RecordEdit& RecordEdit::Int32List(int32_t property, const std::vector<int32_t>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) Int32(property, values[i], static_cast<int32_t>(i));
    return *this;
}

RecordEdit& RecordEdit::FloatList(int32_t property, const std::vector<float>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) Float(property, values[i], static_cast<int32_t>(i));
    return *this;
}

RecordEdit& RecordEdit::Name(std::string name) {
    hasName_ = true;
    name_ = std::move(name);
    return *this;
}

RecordEdit& RecordEdit::Category(int32_t category) {
    hasCategory_ = true;
    category_ = category;
    return *this;
}

int32_t RecordEdit::Apply() const {
    if (!record_) return kChangeNoHost;
    if (const int32_t refused = ReadOnlyRefusal()) return refused;
    SetModifiedFlag();
    for (const Write& w : writes_) {
        // Copy the value's low bytes: x86-64 is little-endian, so the first
        // `size` bytes of the 32-bit word are the value at that width.
        unsigned char bytes[4];
        std::memcpy(bytes, &w.bits, sizeof bytes);
        if (const int32_t result = record_->SetProperty(w.property, bytes, w.size, w.element); result != 0) {
            return HostWriteResult(result);
        }
    }
    if (hasName_) {
        if (const int32_t result = record_->Named().SetName(name_.c_str()); result != 0) return HostWriteResult(result);
    }
    if (hasCategory_) {
        if (const int32_t result = record_->SetCategory(category_); result != 0) return HostWriteResult(result);
    }
    if (const int32_t result = record_->Commit(); result != 0) return HostWriteResult(result);
    return kChangeOk;
}

int32_t ApplyEdit(const RecordEdit& edit) {
    if (const int32_t refused = ReadOnlyRefusal()) return refused;
    ChangeBatch batch;
    if (batch.Began() != kChangeOk) return batch.Began();
    if (const int32_t result = batch.Apply(edit); result != kChangeOk) return result;
    return batch.Finish();
}

RecordEdit RecordEdit::Reverse() const {
    RecordEdit old(record_);
    if (!record_) return old;
    for (const Write& w : writes_) {
        uint32_t bits = 0;
        unsigned char bytes[4] = {};
        if (record_->GetProperty(w.property, bytes, w.size, w.element) != 0) continue;
        std::memcpy(&bits, bytes, sizeof bits);
        old.writes_.push_back({w.property, w.size, w.element, bits});
    }
    if (hasName_) old.Name(ReadName(record_->Named()));
    if (hasCategory_) old.Category(record_->GetCategory());
    return old;
}

RecordEdit RecordEdit::On(HostRecord* record) const {
    RecordEdit copy = *this;
    copy.record_ = record;
    return copy;
}

int32_t DeleteRecord(HostRecord* record) {
    if (!record) return kChangeNoHost;
    if (const int32_t refused = ReadOnlyRefusal()) return refused;
    SetModifiedFlag();
    if (const int32_t result = record->Delete(1); result != 0) return HostWriteResult(result);
    return kChangeOk;
}

namespace {

// What adds a removed record back, as far as the cache knows it.
FieldMap RestoreFields(const ValueRecord& value) {
    return {{field::Id, IntText(value.id)},
            {field::Index, IntText(value.index)},
            {field::Name, value.notes},
            {field::CreatorId, IntText(0)},
            {field::MatterId, IntText(value.matterId)},
            {field::ItemId, IntText(value.itemId)},
            {field::Value, RealText(value.value)},
            {field::ItemIndex, IntText(value.itemIndex)},
            {field::CategoryId, IntText(value.category)},
            {field::Seconds, IntText(value.seconds)}};
}

// How many of a list's `size` entries a record's `count` covers: none for a
// negative count, never more than the list holds.
std::ptrdiff_t Covered(int32_t count, std::size_t size) {
    return count <= 0 ? 0 : static_cast<std::ptrdiff_t>(std::min(static_cast<std::size_t>(count), size));
}

// An item's first `count` amounts, padded with zeros.
std::vector<float> OwnAmounts(const ItemRecord& item) {
    std::vector<float> amounts(item.values.begin(), item.values.begin() + Covered(item.count, item.values.size()));
    amounts.resize(static_cast<std::size_t>(std::clamp(item.count, 0, kMaxListEntries)), 0.0f);
    return amounts;
}

FieldMap RestoreFields(const ItemRecord& item) {
    return {{field::Id, IntText(item.id)},
            {field::Index, IntText(item.index)},
            {field::Name, item.name},
            {field::MatterId, IntText(item.matterId)},
            {field::Count, IntText(item.count)},
            {field::DefaultValue, RealText(item.defaultValue)},
            {field::Values, RealListText(OwnAmounts(item))},
            {field::CategoryId, IntText(item.category)}};
}

FieldMap RestoreFields(const GroupRecord& group) {
    return {{field::Id, IntText(group.id)},
            {field::Index, IntText(group.index)},
            {field::Name, group.name},
            {field::ParentId, IntText(group.parentId)},
            {field::Count, IntText(group.count)},
            {field::UnitId, IntText(group.unitId)},
            {field::GroupAttrs, IntText(group.attrs)},
            {field::CategoryId, IntText(group.category)},
            {field::CreatorId, IntText(0)},
            {field::Type, IntText(group.type)},
            {field::Targets, IntListText(group.targets)}};
}

std::vector<int32_t> ItemsOf(const RecordCache& cache, int32_t groupId) {
    std::vector<int32_t> items;
    const auto [first, last] = cache.ItemsByGroup().equal_range(groupId);
    for (auto it = first; it != last; ++it) items.push_back(it->second);
    return items;
}

std::vector<const ValueRecord*> ValuesOf(const RecordCache& cache, int32_t itemId) {
    std::vector<const ValueRecord*> values;
    const auto& perItem = cache.ValuesPerItem();
    for (auto v = perItem.lower_bound({itemId, 0}); v != perItem.end() && v->first.first == itemId; ++v) {
        values.push_back(v->second);
    }
    return values;
}

void ReloadGroupsItemsValues(RecordCache& cache, HostDatabase& db) {
    cache.LoadGroups(&db);
    cache.LoadItems(&db);
    cache.LoadValues(&db);
    cache.LoadItemNames(&db);
    cache.LoadGroupNames(&db);
}

}  // namespace

int32_t RemoveGroup(HostDatabase& db, RecordCache& cache, int32_t groupId) {
    if (const int32_t refused = ReadOnlyRefusal()) return refused;
    // Work from fresh lists: the page may hold a cache loaded before another
    // page added items or values.
    cache.LoadItems(&db);
    cache.LoadValues(&db);
    cache.LoadGroups(&db);
    const int32_t result = [&] {
        ChangeBatch batch;
        if (batch.Began() != kChangeOk) return batch.Began();
        for (const int32_t itemId : ItemsOf(cache, groupId)) {
            for (const ValueRecord* value : ValuesOf(cache, itemId)) {
                const int32_t removed = batch.Delete(db.Values(), value->record, value->id, RestoreFields(*value),
                                                     RecordEdit(nullptr).Float(prop::ValueValue, value->value));
                if (removed != kChangeOk) return removed;
            }
            if (const ItemRecord* item = cache.FindItem(itemId)) {
                const int32_t removed = batch.Delete(db.Items(), item->record, item->id, RestoreFields(*item),
                                                     RecordEdit(nullptr)
                                                         .Float(prop::ItemDefaultValue, item->defaultValue)
                                                         .FloatList(prop::ItemValues, OwnAmounts(*item)));
                if (removed != kChangeOk) return removed;
            }
        }
        if (const GroupRecord* group = cache.FindGroup(groupId)) {
            const int32_t removed = batch.Delete(db.Groups(), group->record, group->id, RestoreFields(*group));
            if (removed != kChangeOk) return removed;
        }
        return batch.Finish();
    }();
    ReloadGroupsItemsValues(cache, db);
    return result;
}

std::vector<float> CarryItemAmounts(const std::vector<float>& amounts, int32_t itemCount,
                                    const std::vector<int32_t>& positions, int32_t oldTargetCount) {
    std::vector<float> carried;
    carried.reserve(positions.size());
    for (const int32_t old : positions) {
        const bool kept = old < oldTargetCount;
        if (kept && old < itemCount && old < static_cast<int32_t>(amounts.size())) {
            carried.push_back(amounts[static_cast<std::size_t>(old)]);
        } else {
            carried.push_back(kept ? 0.0f : 1.0f);
        }
    }
    return carried;
}

int32_t ChangeGroup(HostDatabase& db, RecordCache& cache, const GroupChange& change) {
    if (const int32_t refused = ReadOnlyRefusal()) return refused;
    cache.LoadItems(&db);
    cache.LoadValues(&db);
    cache.LoadGroups(&db);
    const GroupRecord* group = cache.FindGroup(change.groupId);
    if (!group || !group->record) return kChangeNoHost;
    const std::vector<int32_t> oldTargets(group->targets.begin(),
                                          group->targets.begin() + Covered(group->count, group->targets.size()));
    const bool rescale = change.unitId != group->unitId;
    const bool rearrange = change.targets != oldTargets;
    const UnitConversionTable& table = cache.Conversions();
    // Amounts per one unit of the group grow with the unit; measurements
    // shrink with it.
    const float perUnit = UnitRatio(table, change.unitId, group->unitId);
    const float measured = UnitRatio(table, group->unitId, change.unitId);

    const int32_t result = [&] {
        ChangeBatch batch;
        if (batch.Began() != kChangeOk) return batch.Began();
        for (const int32_t itemId : ItemsOf(cache, change.groupId)) {
            const ItemRecord* item = cache.FindItem(itemId);
            if (!item || !item->record) continue;
            if (rescale || rearrange) {
                std::vector<float> amounts = OwnAmounts(*item);
                if (rescale) {
                    for (float& amount : amounts) amount *= perUnit;
                }
                RecordEdit edit(item->record);
                if (rearrange) {
                    amounts = CarryItemAmounts(amounts, item->count, change.positions,
                                               static_cast<int32_t>(oldTargets.size()));
                    edit.UInt16(prop::ItemCount, static_cast<int32_t>(change.targets.size()));
                }
                if (const int32_t written = batch.Apply(edit.FloatList(prop::ItemValues, amounts));
                    written != kChangeOk) {
                    return written;
                }
            }
            if (!rescale) continue;
            for (const ValueRecord* value : ValuesOf(cache, itemId)) {
                if (!value->record) continue;
                const int32_t written =
                    batch.Apply(RecordEdit(value->record).Float(prop::ValueValue, value->value * measured));
                if (written != kChangeOk) return written;
            }
        }
        const int32_t written = batch.Apply(RecordEdit(group->record)
                                                .UInt8(prop::GroupCount, static_cast<int32_t>(change.targets.size()))
                                                .Int32(prop::GroupUnitId, change.unitId)
                                                .Int32List(prop::GroupTargets, change.targets)
                                                .Name(change.name)
                                                .Category(change.category));
        if (written != kChangeOk) return written;
        return batch.Finish();
    }();
    ReloadGroupsItemsValues(cache, db);
    return result;
}

int32_t ChangeTarget(HostDatabase& db, RecordCache& cache, const TargetRecord& target, bool convertItems) {
    if (const int32_t refused = ReadOnlyRefusal()) return refused;
    cache.LoadTargets(&db);
    cache.LoadGroups(&db);
    cache.LoadItems(&db);
    const TargetRecord* before = cache.FindTarget(target.id);
    if (!before || !before->record) return kChangeNoHost;
    const float ratio = UnitRatio(cache.Conversions(), target.unitId, before->unitId);

    const int32_t result = [&] {
        ChangeBatch batch;
        if (batch.Began() != kChangeOk) return batch.Began();
        if (convertItems && target.unitId != before->unitId && ratio != 1.0f) {
            // A group that lists the target more than once is converted once,
            // at the first place the target stands in its list.
            std::set<int32_t> done;
            const auto [firstGroup, lastGroup] = cache.GroupsByTarget().equal_range(target.id);
            for (auto g = firstGroup; g != lastGroup; ++g) {
                if (!done.insert(g->second).second) continue;
                const GroupRecord* group = cache.FindGroup(g->second);
                if (!group) continue;
                const auto found = std::find(group->targets.begin(), group->targets.end(), target.id);
                if (found == group->targets.end()) continue;
                const auto position = static_cast<std::size_t>(found - group->targets.begin());
                for (const int32_t itemId : ItemsOf(cache, group->id)) {
                    const ItemRecord* item = cache.FindItem(itemId);
                    if (!item || !item->record || position >= item->values.size()) continue;
                    const int32_t written = batch.Apply(
                        RecordEdit(item->record)
                            .Float(prop::ItemValues, item->values[position] / ratio, static_cast<int32_t>(position)));
                    if (written != kChangeOk) return written;
                }
            }
        }
        const int32_t written = batch.Apply(RecordEdit(before->record)
                                                .Int32(prop::TargetUnitId, target.unitId)
                                                .Name(target.name)
                                                .Category(target.category)
                                                .Int32(prop::TargetType, target.type));
        if (written != kChangeOk) return written;
        return batch.Finish();
    }();
    cache.LoadTargets(&db);
    cache.LoadTargetNames(&db);
    cache.LoadItems(&db);
    return result;
}

}  // namespace orv
