#include "data/TargetAmounts.h"

#include <algorithm>
#include <set>

#include "data/RecordCache.h"

namespace orv {

std::vector<TargetAmount> TargetAmounts(const RecordCache& cache, int32_t targetId) {
    std::vector<TargetAmount> out;
    std::set<int32_t> seenGroups;
    const auto [groupsBegin, groupsEnd] = cache.GroupsByTarget().equal_range(targetId);
    for (auto g = groupsBegin; g != groupsEnd; ++g) {
        const GroupRecord* group = cache.FindGroup(g->second);
        if (!group || !seenGroups.insert(group->id).second) continue;
        const auto at = std::find(group->targets.begin(), group->targets.end(), targetId);
        if (at == group->targets.end()) continue;
        const auto position = static_cast<std::size_t>(at - group->targets.begin());

        const auto [itemsBegin, itemsEnd] = cache.ItemsByGroup().equal_range(group->id);
        for (auto i = itemsBegin; i != itemsEnd; ++i) {
            const ItemRecord* item = cache.FindItem(i->second);
            if (!item || position >= item->values.size()) continue;
            const float amount = item->values[position];
            if (amount == 0.0f) continue;
            out.push_back({item, amount});
        }
    }
    return out;
}

}  // namespace orv
