#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "data/UnitConversion.h"

namespace orv {
namespace {

// Units as (id, root, product of factors), in ascending id.
using Resolution = std::vector<std::tuple<int32_t, int32_t, float>>;

// Builds the raw definitions (unit -> (base unit, factor)) and resolves them.
struct Units {
    UnitConversionTable table;
    UnitFamilyIndex families;

    Units& Define(int32_t id, int32_t base, float factor) {
        table[id] = UnitConversion{base, factor};
        return *this;
    }
    Units& Resolve() {
        ResolveUnitChains(table, families);
        return *this;
    }
    std::vector<int32_t> Family(int32_t unit) const {
        std::vector<int32_t> ids;
        for (const auto& [id, product] : FamilyOf(table, families, unit)) ids.push_back(id);
        return ids;
    }
    Resolution Resolved() const {
        Resolution rows;
        for (const auto& [id, conversion] : table) rows.emplace_back(id, conversion.root, conversion.product);
        return rows;
    }
    std::vector<int32_t> BaseUnits() const {
        std::vector<int32_t> ids;
        const auto [first, last] = families.equal_range(0);
        for (auto it = first; it != last; ++it) ids.push_back(it->second.first);
        return ids;
    }
};

TEST(UnitChains, MassFamilyResolvesToGrams) {
    // g = 1 (base), kg = 1000 g, t = 1000 kg, mg = 0.001 g
    Units u;
    u.Define(1, 0, 1.0f).Define(2, 1, 1000.0f).Define(3, 2, 1000.0f).Define(4, 1, 0.001f).Resolve();
    // A base unit keeps root 0.
    EXPECT_EQ(u.Resolved(), (Resolution{{1, 0, 1.0f}, {2, 1, 1000.0f}, {3, 1, 1000000.0f}, {4, 1, 0.001f}}));
    EXPECT_DOUBLE_EQ(ConvertAmount(u.table, 2, 3, 2), 2000.0);
    EXPECT_EQ(u.BaseUnits(), std::vector<int32_t>{1});
    EXPECT_EQ(FamilyRoot(u.table, 3), 1);
    EXPECT_EQ(u.Family(4), (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST(UnitChains, ProductsAreFormedInFloatInChainOrder) {
    // A chain whose float product differs from the double product: each step
    // must round to 32 bits as it goes.
    Units u;
    u.Define(1, 0, 1.0f).Define(2, 1, 0.1f).Define(3, 2, 0.1f).Define(4, 3, 3.3f).Resolve();
    const float p3 = 0.1f * 0.1f;
    EXPECT_EQ(u.Resolved(), (Resolution{{1, 0, 1.0f}, {2, 1, 0.1f}, {3, 1, p3}, {4, 1, 3.3f * p3}}));
    EXPECT_EQ(UnitRatio(u.table, 4, 2), (3.3f * p3) / 0.1f);
}

TEST(UnitChains, FamilyListsMembersInAscendingIdWhateverTheChainOrder) {
    // 9 is the root; 2 is defined through 7, which is defined in 9.
    Units u;
    u.Define(2, 7, 10.0f).Define(5, 9, 2.0f).Define(7, 9, 3.0f).Define(9, 0, 1.0f).Resolve();
    EXPECT_EQ(u.Family(2), (std::vector<int32_t>{2, 5, 7, 9}));
    EXPECT_EQ(u.table.at(2).product, 30.0f);
}

TEST(UnitChains, BaseUnitsNeverShareAFamily) {
    Units u;
    u.Define(1, 0, 1.0f).Define(2, 0, 1.0f).Define(3, 1, 5.0f).Resolve();
    EXPECT_EQ(u.Family(1), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(u.Family(2), std::vector<int32_t>{2});
    EXPECT_EQ(u.BaseUnits(), (std::vector<int32_t>{1, 2}));

    Units empty;
    empty.Resolve();
    EXPECT_TRUE(empty.families.empty());
    EXPECT_TRUE(empty.Family(1).empty());
    EXPECT_EQ(UnitRatio(empty.table, 1, 2), 1.0f);
}

TEST(UnitChains, RemovedBaseUnitKeysTheFamilyByTheMissingId) {
    // Unit 10 was removed; 11 and 12 were defined in it, 13 in 12.
    Units u;
    u.Define(11, 10, 2.0f).Define(12, 10, 4.0f).Define(13, 12, 0.5f).Define(20, 0, 1.0f).Resolve();
    EXPECT_EQ(u.Resolved(), (Resolution{{11, 10, 2.0f}, {12, 10, 4.0f}, {13, 10, 2.0f}, {20, 0, 1.0f}}));
    EXPECT_EQ(FamilyRoot(u.table, 11), 10);
    EXPECT_EQ(u.Family(11), (std::vector<int32_t>{11, 12, 13}));
    EXPECT_DOUBLE_EQ(ConvertAmount(u.table, 3, 12, 11), 6.0);
    EXPECT_EQ(u.BaseUnits(), std::vector<int32_t>{20}) << "the missing unit is no base unit";
}

TEST(UnitChains, CyclesEndAndTheSmallestMemberBecomesTheRoot) {
    // 3 -> 5 -> 4 -> 3 is a cycle; 1 leads into it; 8 is defined in itself.
    Units u;
    u.Define(1, 5, 2.0f).Define(3, 5, 10.0f).Define(4, 3, 6.0f).Define(5, 4, 7.0f).Define(8, 8, 3.0f).Resolve();
    // A unit defined in itself is its own base.
    EXPECT_EQ(u.Resolved(), (Resolution{{1, 3, 84.0f}, {3, 0, 1.0f}, {4, 3, 6.0f}, {5, 3, 42.0f}, {8, 0, 1.0f}}));
    EXPECT_EQ(u.Family(5), (std::vector<int32_t>{1, 3, 4, 5}));
    EXPECT_EQ(u.BaseUnits(), (std::vector<int32_t>{3, 8}));
}

}  // namespace
}  // namespace orv
