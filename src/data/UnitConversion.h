#pragma once
// Unit families: each unit's definition chain is followed to its root base
// unit, giving the product of the factors on the way. Two units of one family
// convert by the ratio of their products. All products are 32-bit floats,
// multiplied in chain order, so results match what was stored bit for bit.

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace orv {

class HostDatabase;
class RecordCache;

struct UnitConversion {
    int32_t root = 0;      // 0 for a base unit
    float product = 1.0f;  // factor product along the chain, root excluded
};

// unit id -> (root, product), iterated in ascending id.
using UnitConversionTable = std::map<int32_t, UnitConversion>;
// root id -> (unit id, product); base units also under key 0. Equal keys keep
// insertion order, which is ascending unit id.
using UnitFamilyIndex = std::multimap<int32_t, std::pair<int32_t, float>>;

// Rebuilds the unit entries, the conversion table and the family index of the
// cache from the host's units table. 1 when there is no database (the three
// stay empty), 0 otherwise.
int32_t LoadUnits(RecordCache& cache, HostDatabase* db);

// Resolves raw definitions (unit -> (base unit, factor)) in place and builds
// the family index. Split from LoadUnits so it can be exercised on its own.
void ResolveUnitChains(UnitConversionTable& table, UnitFamilyIndex& families);

// The root of `unit`, or `unit` itself when it is a base unit (root 0).
int32_t FamilyRoot(const UnitConversionTable& table, int32_t unit);
// The members of the unit's family, root included, in ascending id.
std::vector<std::pair<int32_t, float>> FamilyOf(const UnitConversionTable& table, const UnitFamilyIndex& families,
                                                int32_t unit);
// product(a) / product(b) as a 32-bit float; 1 when either unit is unknown.
float UnitRatio(const UnitConversionTable& table, int32_t a, int32_t b);
// x in unit a expressed in unit b: x times the 32-bit ratio.
double ConvertAmount(const UnitConversionTable& table, double x, int32_t a, int32_t b);

}  // namespace orv
