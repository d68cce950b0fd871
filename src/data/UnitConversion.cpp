#include "data/UnitConversion.h"

#include <unordered_map>
#include <vector>

#include "data/HostAccess.h"
#include "data/RecordCache.h"

namespace orv {
namespace {

// Nothing stops a user from defining a unit in itself or in a unit that is
// (indirectly) defined in it. Such a chain never reaches a base unit, so we
// cut every cycle before resolving: the member with the smallest id becomes a
// base unit of its own (root 0, product 1) and the others resolve to it. The
// graph has one outgoing edge per unit, so one colouring pass finds them all.
void CutCycles(UnitConversionTable& table) {
    enum class State { Unseen, OnPath, Done };
    std::unordered_map<int32_t, State> state;
    state.reserve(table.size());
    std::vector<int32_t> path;
    for (const auto& [start, conv] : table) {
        if (state[start] != State::Unseen) continue;
        path.clear();
        int32_t unit = start;
        while (true) {
            state[unit] = State::OnPath;
            path.push_back(unit);
            const int32_t next = table.at(unit).root;
            const auto found = table.find(next);
            if (next == 0 || found == table.end()) break;
            const State nextState = state[next];
            if (nextState == State::Done) break;
            if (nextState == State::OnPath) {
                // The cycle is the part of the path from `next` onwards.
                int32_t smallest = next;
                for (auto it = path.rbegin(); it != path.rend() && *it != next; ++it)
                    smallest = std::min(smallest, *it);
                table[smallest] = UnitConversion{0, 1.0f};
                break;
            }
            unit = next;
        }
        for (const int32_t u : path) state[u] = State::Done;
    }
}

}  // namespace

void ResolveUnitChains(UnitConversionTable& table, UnitFamilyIndex& families) {
    families.clear();
    CutCycles(table);
    for (auto& [id, conv] : table) {
        if (conv.root == 0) {
            families.emplace(id, std::make_pair(id, conv.product));
            families.emplace(0, std::make_pair(id, conv.product));
            continue;
        }
        float product = conv.product;
        int32_t base = conv.root;
        // Entries of smaller id are already resolved, so passing through one
        // multiplies by its whole product and jumps straight to its root.
        while (true) {
            const auto it = table.find(base);
            if (it == table.end() || it->second.root == 0) break;
            product = product * it->second.product;
            base = it->second.root;
        }
        conv = UnitConversion{base, product};
        families.emplace(base, std::make_pair(id, product));
    }
}

int32_t LoadUnits(RecordCache& cache, HostDatabase* db) {
    cache.units_.clear();
    cache.conversions_.clear();
    cache.families_.clear();
    if (!db) return 1;
    if (HostTable* table = db->Units()) {
        for (table->MoveFirst(); !table->IsEnd(); table->MoveNext()) {
            HostRecord* record = table->Current();
            if (!record || record->IsSkipped()) continue;
            UnitEntry entry;
            entry.record = record;
            entry.category = record->GetCategory();
            entry.id = record->Named().GetId();
            entry.index = record->Named().GetIndex();
            entry.factor = ReadFloat(*record, prop::UnitValue, 0, 1.0f);
            entry.baseUnit = ReadInt32(*record, prop::UnitParentId);
            entry.name = ReadName(record->Named());
            cache.conversions_[entry.id] = UnitConversion{entry.baseUnit, entry.factor};
            cache.units_.insert_or_assign(entry.id, std::move(entry));
        }
    }
    ResolveUnitChains(cache.conversions_, cache.families_);
    return 0;
}

int32_t FamilyRoot(const UnitConversionTable& table, int32_t unit) {
    const auto it = table.find(unit);
    if (it == table.end() || it->second.root == 0) return unit;
    return it->second.root;
}

std::vector<std::pair<int32_t, float>> FamilyOf(const UnitConversionTable& table, const UnitFamilyIndex& families,
                                                int32_t unit) {
    std::vector<std::pair<int32_t, float>> members;
    const auto [first, last] = families.equal_range(FamilyRoot(table, unit));
    for (auto it = first; it != last; ++it) members.push_back(it->second);
    return members;
}

float UnitRatio(const UnitConversionTable& table, int32_t a, int32_t b) {
    const auto ia = table.find(a);
    const auto ib = table.find(b);
    if (ia == table.end() || ib == table.end() || ib->second.product == 0.0f) return 1.0f;
    return ia->second.product / ib->second.product;
}

double ConvertAmount(const UnitConversionTable& table, double x, int32_t a, int32_t b) {
    return x * static_cast<double>(UnitRatio(table, a, b));
}

}  // namespace orv
