#include "data/RecordChanges.h"

#include <cstring>

#include "data/FieldText.h"
#include "data/HostAccess.h"
#include "data/ModifiedFlag.h"
#include "data/RecordCache.h"

namespace orv {

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
    SetModifiedFlag();
    if (table->Add(&fields) != 0) return kChangeRefused;
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

int32_t RecordEdit::Apply() {
    if (!record_) return kChangeNoHost;
    SetModifiedFlag();
    bool ok = true;
    for (const Write& w : writes_) {
        // Copy the value's low bytes: x86-64 is little-endian, so the first
        // `size` bytes of the 32-bit word are the value at that width.
        unsigned char bytes[4];
        std::memcpy(bytes, &w.bits, sizeof bytes);
        ok = record_->SetProperty(w.property, bytes, w.size, w.element) == 0 && ok;
    }
    if (hasName_) ok = record_->Named().SetName(name_.c_str()) == 0 && ok;
    if (hasCategory_) ok = record_->SetCategory(category_) == 0 && ok;
    ok = record_->Commit() == 0 && ok;
    return ok ? kChangeOk : kChangeRefused;
}

int32_t DeleteRecord(HostRecord* record) {
    if (!record) return kChangeNoHost;
    SetModifiedFlag();
    return record->Delete(1) == 0 ? kChangeOk : kChangeRefused;
}

int32_t RemoveGroup(HostDatabase& db, RecordCache& cache, int32_t groupId) {
    // Work from fresh lists: the page may hold a cache loaded before another
    // page added items or values.
    cache.LoadItems(&db);
    cache.LoadValues(&db);
    cache.LoadGroups(&db);
    SetModifiedFlag();
    bool ok = true;
    const auto [firstItem, lastItem] = cache.ItemsByGroup().equal_range(groupId);
    for (auto it = firstItem; it != lastItem; ++it) {
        const int32_t itemId = it->second;
        const auto& perItem = cache.ValuesPerItem();
        for (auto v = perItem.lower_bound({itemId, 0}); v != perItem.end() && v->first.first == itemId; ++v) {
            ok = DeleteRecord(v->second->record) == kChangeOk && ok;
        }
        if (const ItemRecord* item = cache.FindItem(itemId)) ok = DeleteRecord(item->record) == kChangeOk && ok;
    }
    if (const GroupRecord* group = cache.FindGroup(groupId)) ok = DeleteRecord(group->record) == kChangeOk && ok;
    cache.LoadGroups(&db);
    cache.LoadItems(&db);
    cache.LoadValues(&db);
    cache.LoadItemNames(&db);
    cache.LoadGroupNames(&db);
    return ok ? kChangeOk : kChangeRefused;
}

}  // namespace orv
