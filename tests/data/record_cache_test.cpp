// The record cache and the shared change operations on a real SQLite host
// database, emptied of its starter structure first.

#include <gtest/gtest.h>

#include <tuple>

#include "FailingHost.h"
#include "TestDatabase.h"
#include "data/HostAccess.h"
#include "data/ModifiedFlag.h"

namespace orv {
namespace {

class RecordCacheTest : public ::testing::Test, protected test::TestDatabase {
protected:
    void SetUp() override {
        ClearModifiedFlag();
        unit = Unit("g", 0, 1.0f);
        target = Target("T", unit);
    }
    // Values by time, or of one item, as their ids.
    std::vector<int32_t> TimeOrder() const {
        std::vector<int32_t> ids;
        for (const auto& [seconds, value] : cache.ValuesInTime()) ids.push_back(value->id);
        return ids;
    }
    std::vector<int32_t> ItemOrder(int32_t item) const {
        std::vector<int32_t> ids;
        const auto& index = cache.ValuesPerItem();
        for (auto it = index.lower_bound({item, 0}); it != index.end() && it->first.first == item; ++it)
            ids.push_back(it->second->id);
        return ids;
    }

    int32_t unit = 0, target = 0;
};

TEST_F(RecordCacheTest, AddingAssignsIdAndIndexAndReloadsTheKind) {
    EXPECT_EQ(ModifiedFlag(), 1);
    const int32_t kg = Unit("kg", unit, 1000.0f);
    EXPECT_EQ(kg, unit + 1);
    ASSERT_NE(cache.FindUnit(kg), nullptr) << "units reloaded after the add";
    EXPECT_EQ(cache.FindUnit(kg)->index, cache.FindUnit(unit)->index + 1);

    // A refused add (unparsable field) writes nothing.
    const std::size_t before = cache.Units().size();
    EXPECT_EQ(AddRecord(*db, cache, RecordKind::Unit, {{field::Name, "x"}, {field::Factor, "abc"}}), kChangeRefused);
    cache.LoadUnits(db.get());
    EXPECT_EQ(cache.Units().size(), before);
}

TEST_F(RecordCacheTest, EveryKindLoadsWithItsFields) {
    const int32_t bg = Target("Glucose", unit, 1);
    const int32_t food = Group("Food", {target, bg}, unit);
    const int32_t bread = Item("Bread", food, {0.49f, 0.0f});
    const int32_t v = Value(bread, food, 1000000, 60.0f, "lunch");
    cache.LoadAll(db.get());

    const GroupRecord& group = cache.Groups().at(food);
    EXPECT_EQ(std::tuple(group.targets, group.unitId), std::tuple(std::vector<int32_t>{target, bg}, unit));
    const ItemRecord& item = cache.Items().at(bread);
    EXPECT_EQ(std::tuple(item.matterId, item.values, cache.ItemDefaultValue(bread)),
              std::tuple(food, std::vector<float>{0.49f, 0.0f}, 1.5f));
    EXPECT_FALSE(cache.Targets().at(bg).IsSum());
    const ValueRecord& value = cache.Values().at(v);  // 1970-01-12 13:46:40
    EXPECT_EQ(std::tuple(value.notes, value.date.day, value.date.hour, value.itemIndex),
              std::tuple("lunch", 12, 13, 1));

    // The multimaps link the kinds.
    EXPECT_EQ(cache.GroupsByTarget().count(bg), 1u);
    EXPECT_EQ(cache.ItemsByGroup().count(food), 1u);
    EXPECT_TRUE(cache.ItemHasValues(bread));
    EXPECT_EQ(cache.TargetIdsByName().at("Glucose"), bg);
    EXPECT_EQ(cache.GroupCategories().NumberOf("Unfiled"), 0);
}

TEST_F(RecordCacheTest, SkippedRecordsAppearNowhere) {
    const int32_t hiddenUnit = Unit("hidden", unit, 2.0f);
    const int32_t hiddenTarget = Target("HiddenT", unit);
    const int32_t group = Group("Food", {target}, unit);
    const int32_t hiddenGroup = Group("HiddenG", {hiddenTarget}, unit);
    const int32_t item = Item("Bread", group, {1.0f});
    const int32_t hiddenItem = Item("HiddenI", group, {1.0f});
    Value(item, group, 100, 1.0f);
    const int32_t hiddenValue = Value(hiddenItem, group, 200, 1.0f);
    const std::pair<RecordKind, int32_t> hidden[] = {{RecordKind::Unit, hiddenUnit},
                                                     {RecordKind::Target, hiddenTarget},
                                                     {RecordKind::Group, hiddenGroup},
                                                     {RecordKind::Item, hiddenItem},
                                                     {RecordKind::Value, hiddenValue}};
    for (const auto& [kind, id] : hidden) ASSERT_EQ(db->SetSkipped(kind, id, true), 0);
    cache.LoadAll(db.get());

    // Not by id, by name, in a family or in an index; a target only a hidden
    // group lists is not referenced.
    EXPECT_EQ(std::tuple(cache.FindUnit(hiddenUnit), cache.Conversions().count(hiddenUnit),
                         cache.UnitIdsByName().count("hidden"), cache.FindTarget(hiddenTarget),
                         cache.TargetIdsByName().count("HiddenT"), cache.TargetIsReferenced(hiddenTarget)),
              std::tuple(nullptr, 0u, 0u, nullptr, 0u, false));
    EXPECT_EQ(std::tuple(cache.GroupNames().Contains(hiddenGroup), cache.ItemNames().Contains(hiddenItem),
                         cache.ItemsByGroup().count(group), cache.FindValue(hiddenValue), cache.ValuesInTime().size(),
                         cache.ValuesPerItem().size()),
              std::tuple(false, false, 1u, nullptr, 1u, 1u));
}

TEST_F(RecordCacheTest, ValueIndexesCompareUnsignedAndKeepLoadOrder) {
    const int32_t group = Group("G", {target}, unit);
    const int32_t a = Item("A", group, {1.0f});
    const int32_t b = Item("B", group, {1.0f});
    const int32_t v1 = Value(a, group, 0x80000000u + 5, 1.0f);  // 2038 and after: negative as int32
    const int32_t v2 = Value(a, group, 1000, 2.0f);
    const int32_t v3 = Value(b, group, 1000, 3.0f);  // same second as v2
    const int32_t v4 = Value(a, group, 1000, 4.0f);  // same key as v2
    const int32_t v5 = Value(b, group, 0xFFFFFFF0u, 5.0f);
    test::FailingHost twice(db.get());
    twice.counter.listTwice = true;  // as a damaged host table might: each value is kept once
    cache.LoadValues(&twice);

    EXPECT_EQ(TimeOrder(), (std::vector<int32_t>{v2, v3, v4, v1, v5}));
    EXPECT_EQ(ItemOrder(a), (std::vector<int32_t>{v2, v4, v1}));
    EXPECT_EQ(ItemOrder(b), (std::vector<int32_t>{v3, v5}));
    EXPECT_EQ(cache.Values().at(v1).date.year, 2038);
}

TEST_F(RecordCacheTest, ValuesLoadedOutOfIdOrderAreFoundByIdInLoadOrder) {
    // Ids as another program may have chosen them: descending in load order.
    for (const int32_t id : {900, 700, 800}) {
        FieldMap fields{{field::Id, IntText(id)}, {field::Name, IntText(id)}, {field::Index, IntText(id)},
                        {field::MatterId, "1"},   {field::ItemId, "1"},       {field::Seconds, "1000"}};
        ASSERT_EQ(db->Values()->Add(&fields), 0);
    }
    cache.LoadValues(db.get());
    std::vector<int32_t> byId;
    for (const auto& [id, value] : cache.Values()) byId.push_back(value.id);
    EXPECT_EQ(byId, (std::vector<int32_t>{700, 800, 900}));
    EXPECT_EQ(TimeOrder(), (std::vector<int32_t>{900, 700, 800})) << "equal seconds keep load order";
    EXPECT_EQ(ItemOrder(1), (std::vector<int32_t>{900, 700, 800}));
    for (const int32_t id : {700, 800, 900}) ASSERT_NE(cache.FindValue(id), nullptr) << id;
    EXPECT_EQ(cache.FindValue(750), nullptr);
}

TEST_F(RecordCacheTest, EditsWriteThroughAndCommit) {
    const int32_t t2 = Target("B", unit);
    const int32_t group = Group("G", {target}, unit);
    ClearModifiedFlag();
    HostRecord* record = cache.FindGroup(group)->record;
    ASSERT_EQ(RecordEdit(record)
                  .UInt8(prop::GroupCount, 2)
                  .Int32List(prop::GroupTargets, {t2, target})
                  .UInt8(prop::GroupAttrs, 3)
                  .Name("Renamed")
                  .Category(4)
                  .Apply(),
              kChangeOk);
    EXPECT_EQ(ModifiedFlag(), 1);
    ReloadKind(cache, db.get(), RecordKind::Group);
    const GroupRecord& g = cache.Groups().at(group);
    EXPECT_EQ(std::tuple(g.targets, g.attrs, g.category, cache.GroupNames().NameOf(group)),
              std::tuple(std::vector<int32_t>{t2, target}, 3, 4, "Renamed"));

    // A refused write ends the edit; ApplyEdit also takes back what was
    // written before it.
    EXPECT_EQ(RecordEdit(record).UInt8(prop::GroupAttrs, 5).Int32(0x999, 1).Name("Never").Apply(), kChangeRefused);
    cache.LoadGroups(db.get());
    EXPECT_EQ(std::tuple(cache.Groups().at(group).attrs, cache.Groups().at(group).name), std::tuple(5, "Renamed"));
    EXPECT_EQ(ApplyEdit(RecordEdit(record).UInt8(prop::GroupAttrs, 6).Int32(0x999, 1)), kChangeRefused);
    cache.LoadGroups(db.get());
    EXPECT_EQ(cache.Groups().at(group).attrs, 5);
    EXPECT_EQ(RecordEdit(nullptr).Name("x").Apply(), kChangeNoHost);
}

TEST_F(RecordCacheTest, UnitsResolveThroughTheHost) {
    const int32_t kg = Unit(" kg.", unit, 1000.0f);
    const int32_t t = Unit("t", kg, 1000.0f);
    const int32_t mg = Unit("mg", unit, 0.001f);
    EXPECT_EQ(cache.Conversions().at(t).product, 1000000.0f);
    EXPECT_EQ(FamilyOf(cache.Conversions(), cache.Families(), mg).size(), 4u);
    EXPECT_EQ(cache.UnitIdsByName().at("kg"), kg) << "spaces and points are cut from the key";
    EXPECT_EQ(LoadUnits(cache, nullptr), 1);
    EXPECT_TRUE(cache.Units().empty());
    EXPECT_TRUE(cache.Families().empty());
}

}  // namespace
}  // namespace orv
