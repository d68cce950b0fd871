// The record cache and the shared change operations on a real SQLite host
// database, emptied of its starter structure first.

#include <gtest/gtest.h>

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
    EXPECT_EQ(group.targets, (std::vector<int32_t>{target, bg}));
    EXPECT_EQ(group.unitId, unit);
    const ItemRecord& item = cache.Items().at(bread);
    EXPECT_EQ(item.matterId, food);
    EXPECT_EQ(item.values, (std::vector<float>{0.49f, 0.0f}));
    EXPECT_FLOAT_EQ(cache.ItemDefaultValue(bread), 1.5f);
    EXPECT_FALSE(cache.Targets().at(bg).IsSum());
    const ValueRecord& value = cache.Values().at(v);
    EXPECT_EQ(value.notes, "lunch");
    EXPECT_EQ(value.date.day, 12);  // 1970-01-12 13:46:40
    EXPECT_EQ(value.date.hour, 13);
    EXPECT_EQ(value.itemIndex, 1);

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

    EXPECT_EQ(cache.FindUnit(hiddenUnit), nullptr);
    EXPECT_FALSE(cache.Conversions().count(hiddenUnit));
    EXPECT_FALSE(cache.UnitIdsByName().count("hidden"));
    EXPECT_EQ(cache.FindTarget(hiddenTarget), nullptr);
    EXPECT_FALSE(cache.TargetIdsByName().count("HiddenT"));
    EXPECT_FALSE(cache.GroupNames().Contains(hiddenGroup));
    EXPECT_FALSE(cache.TargetIsReferenced(hiddenTarget)) << "only a hidden group lists it";
    EXPECT_FALSE(cache.ItemNames().Contains(hiddenItem));
    EXPECT_EQ(cache.ItemsByGroup().count(group), 1u);
    EXPECT_EQ(cache.FindValue(hiddenValue), nullptr);
    EXPECT_EQ(cache.ValuesInTime().size(), 1u);
    EXPECT_EQ(cache.ValuesPerItem().size(), 1u);
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
    cache.LoadValues(db.get());

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

TEST_F(RecordCacheTest, ARecordListedTwiceIsLoadedOnce) {
    const int32_t group = Group("G", {target}, unit);
    const int32_t item = Item("A", group, {1.0f});
    for (const uint32_t seconds : {300u, 100u, 200u}) Value(item, group, seconds, 1.0f);
    test::FailingHost host(db.get());
    host.counter.listTwice = true;
    cache.LoadValues(&host);
    EXPECT_EQ(cache.Values().size(), 3u);
    EXPECT_EQ(cache.ValuesInTime().size(), 3u);
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
    EXPECT_EQ(g.targets, (std::vector<int32_t>{t2, target}));
    EXPECT_EQ(g.attrs, 3);
    EXPECT_EQ(g.category, 4);
    EXPECT_EQ(cache.GroupNames().NameOf(group), "Renamed");

    // A refused write ends the edit; ApplyEdit also takes back what was
    // written before it.
    EXPECT_EQ(RecordEdit(record).UInt8(prop::GroupAttrs, 5).Int32(0x999, 1).Name("Never").Apply(), kChangeRefused);
    cache.LoadGroups(db.get());
    EXPECT_EQ(cache.Groups().at(group).attrs, 5);
    EXPECT_EQ(cache.Groups().at(group).name, "Renamed");
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
