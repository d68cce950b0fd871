#include "ui/values/ValueEntry.h"

#include "data/FieldText.h"
#include "data/ModifiedFlag.h"
#include "data/RecordCache.h"
#include "data/RecordChanges.h"

namespace orv {
namespace {

int32_t SecondsOf(HostDatabase& db, const HostDateTime& date) {
    int32_t seconds = 0;
    db.DateToSeconds(&seconds, &date);
    return seconds;
}

}  // namespace

int32_t StoreNewValue(HostDatabase& db, const RecordCache& cache, const ValueRecord& value, int32_t* newId) {
    const ItemRecord* item = cache.FindItem(value.itemId);
    FieldMap fields;
    fields[field::Name] = value.notes;
    fields[field::CreatorId] = IntText(0);
    fields[field::MatterId] = IntText(value.matterId);
    fields[field::ItemId] = IntText(value.itemId);
    fields[field::Value] = RealText(value.value);
    fields[field::ItemIndex] = IntText(item ? item->index : 0);
    fields[field::CategoryId] = IntText(value.category);
    fields[field::Seconds] = IntText(SecondsOf(db, value.date));
    HostTable* table = db.Values();
    if (!table) return kChangeNoHost;
    // Done here rather than through AddRecord: the caller reloads the values
    // once, with the other parts, after the add.
    const int32_t id = table->MaxId() + 1;
    fields[field::Id] = IntText(id);
    fields[field::Index] = IntText(table->MaxIndex() + 1);
    if (const int32_t refused = ReadOnlyRefusal()) return refused;
    SetModifiedFlag();
    if (const int32_t result = table->Add(&fields); result != 0) return HostWriteResult(result);
    if (HostRecord* added = table->Find(id)) added->AfterAdd(1);
    if (newId) *newId = id;
    return kChangeOk;
}

int32_t StoreValueChanges(HostDatabase& db, const ValueRecord& value) {
    if (!value.record) return kChangeNoHost;
    return ApplyEdit(RecordEdit(value.record)
                         .Int32(prop::ValueItemId, value.itemId)
                         .Int32(prop::ValueMatterId, value.matterId)
                         .UInt16(prop::ValueItemIndex, value.itemIndex)
                         .Float(prop::ValueValue, value.value)
                         .Int32(prop::ValueSeconds, SecondsOf(db, value.date))
                         .Name(value.notes));
}

void ReloadValueParts(RecordCache& cache, HostDatabase* db) {
    cache.LoadGroupNames(db);
    cache.LoadItemNames(db);
    cache.LoadUnits(db);
    cache.LoadUnitNames(db);
    cache.LoadGroups(db);
    cache.LoadItems(db);
    cache.LoadTargets(db);
    cache.LoadValueCategories(db);
    cache.LoadValues(db);
}

}  // namespace orv
