#pragma once
// What the user is told when a change could not be saved.

#include <cstdint>
#include <string>

#include "data/Records.h"

namespace orv {

class RecordCache;

// The message for a change result other than kChangeOk: why the write was
// refused, naming the kind of record for one that another program removed.
std::string WriteFailureText(int32_t result, RecordKind kind);

// The kind's name as the user knows it: "unit", "target", "group", "item",
// "value".
const char* KindNoun(RecordKind kind);

// Why unit `unitId` cannot be removed: the targets, groups and units (as
// their base unit) that use it, by name, the first few of them; empty when
// nothing uses it.
std::string UnitUsersText(const RecordCache& cache, int32_t unitId);

}  // namespace orv
