#pragma once
// Which items count towards a target, and by how much per unit of the item.

#include <cstdint>
#include <vector>

#include "data/Records.h"

namespace orv {

class RecordCache;

struct TargetAmount {
    const ItemRecord* item = nullptr;
    float amount = 0.0f;  // the item's amount of the target, never 0
};

// The items of every group that lists the target, each with its amount of the
// target; items whose amount is 0 are left out, and a group listing the target
// twice counts once. In the order of the cache's group and item indexes.
std::vector<TargetAmount> TargetAmounts(const RecordCache& cache, int32_t targetId);

}  // namespace orv
