#pragma once
// Storing what the value dialog returns: a new value is added to the host's
// values table, an edited one is written into its own host record. Both raise
// the ModifiedFlag before they write.

#include <cstdint>

#include "data/HostInterfaces.h"
#include "data/Records.h"

namespace orv {

class RecordCache;

// Adds `value` (group, item, amount in the group's unit, notes, date and
// time) as a new record; ID, INDEX and SECONDS are the host's. ITEMINDEX is
// the item's INDEX now. Fills *newId on success. A RecordChanges result code.
[[nodiscard]] int32_t StoreNewValue(HostDatabase& db, const RecordCache& cache, const ValueRecord& value,
                                    int32_t* newId);

// Writes item, group, item index, amount, date and time and notes into the
// value's host record and commits. INDEX and category stay as they are.
[[nodiscard]] int32_t StoreValueChanges(HostDatabase& db, const ValueRecord& value);

// The cache parts the values page and the value dialog read, fresh from the
// host.
void ReloadValueParts(RecordCache& cache, HostDatabase* db);

}  // namespace orv
