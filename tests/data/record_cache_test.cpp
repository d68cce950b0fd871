// The record cache and the shared change operations on a real SQLite host
// database, emptied of its starter structure first.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/FieldText.h"
#include "data/HostAccess.h"
#include "data/ModifiedFlag.h"
#include "data/RecordCache.h"
#include "data/RecordChanges.h"
#include "host/db/SqliteHostDatabase.h"

namespace orv {
namespace {

class RecordCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        db_ = hostdb::SqliteHostDatabase::Open(":memory:", &error);
        ASSERT_TRUE(db_) << error;
        // Start from nothing: remove the starter records.
        for (RecordKind kind :
             {RecordKind::Value, RecordKind::Item, RecordKind::Group, RecordKind::Target, RecordKind::Unit}) {
            HostTable* table = TableOf(*db_, kind);
            std::vector<HostRecord*> records;
            for (table->MoveFirst(); !table->IsEnd(); table->MoveNext()) records.push_back(table->Current());
            for (HostRecord* record : records) ASSERT_EQ(record->Delete(1), 0);
        }
        ClearModifiedFlag();
    }

    int32_t Add(RecordKind kind, FieldMap fields) {
        int32_t id = 0;
        EXPECT_EQ(AddRecord(*db_, cache_, kind, std::move(fields), &id), kChangeOk);
        return id;
    }
    int32_t AddUnit(const std::string& name, int32_t base, float factor) {
        return Add(RecordKind::Unit, {{field::Name, name},
                                      {field::ParentUnitId, IntText(base)},
                                      {field::Factor, RealText(factor)},
                                      {field::CategoryId, "0"},
                                      {field::CreatorId, "0"}});
    }
    int32_t AddTarget(const std::string& name, int32_t unit, int32_t type = 0) {
        return Add(RecordKind::Target, {{field::Name, name},
                                        {field::UnitId, IntText(unit)},
                                        {field::Type, IntText(type)},
                                        {field::CategoryId, "0"}});
    }
    int32_t AddGroup(const std::string& name, const std::vector<int32_t>& targets, int32_t unit = 0) {
        return Add(RecordKind::Group, {{field::Name, name},
                                       {field::ParentId, "0"},
                                       {field::Count, IntText(static_cast<int64_t>(targets.size()))},
                                       {field::UnitId, IntText(unit)},
                                       {field::GroupAttrs, "0"},
                                       {field::CategoryId, "0"},
                                       {field::Type, "0"},
                                       {field::Targets, IntListText(targets)}});
    }
    int32_t AddItem(const std::string& name, int32_t group, const std::vector<float>& amounts) {
        return Add(RecordKind::Item, {{field::Name, name},
                                      {field::MatterId, IntText(group)},
                                      {field::Count, IntText(static_cast<int64_t>(amounts.size()))},
                                      {field::DefaultValue, "1.5"},
                                      {field::Values, RealListText(amounts)}});
    }
    int32_t AddValue(int32_t item, int32_t group, uint32_t seconds, float value, const std::string& notes = {}) {
        return Add(RecordKind::Value, {{field::Name, notes},
                                       {field::CreatorId, "0"},
                                       {field::MatterId, IntText(group)},
                                       {field::ItemId, IntText(item)},
                                       {field::Value, RealText(value)},
                                       {field::ItemIndex, "1"},
                                       {field::CategoryId, "0"},
                                       {field::Seconds, IntText(static_cast<int32_t>(seconds))}});
    }

    std::vector<int32_t> TimeOrder() const {
        std::vector<int32_t> ids;
        for (const auto& [seconds, value] : cache_.ValuesInTime()) ids.push_back(value->id);
        return ids;
    }
    std::vector<int32_t> ItemOrder(int32_t item) const {
        std::vector<int32_t> ids;
        const auto& index = cache_.ValuesPerItem();
        for (auto it = index.lower_bound({item, 0}); it != index.end() && it->first.first == item; ++it)
            ids.push_back(it->second->id);
        return ids;
    }

    std::unique_ptr<hostdb::SqliteHostDatabase> db_;
    RecordCache cache_;
};

TEST_F(RecordCacheTest, AddingAssignsIdAndIndexAndReloadsTheKind) {
    const int32_t g = AddUnit("g", 0, 1.0f);
    EXPECT_EQ(ModifiedFlag(), 1);
    const int32_t kg = AddUnit("kg", g, 1000.0f);
    EXPECT_EQ(kg, g + 1);
    ASSERT_NE(cache_.FindUnit(kg), nullptr) << "units reloaded after the add";
    EXPECT_EQ(cache_.FindUnit(kg)->index, cache_.FindUnit(g)->index + 1);
    EXPECT_EQ(cache_.UnitNames().size(), 2);
    EXPECT_EQ(cache_.Conversions().at(kg).root, g);

    // A refused add (unparsable field) writes nothing and reloads nothing.
    const std::size_t before = cache_.Units().size();
    EXPECT_EQ(AddRecord(*db_, cache_, RecordKind::Unit, {{field::Name, "x"}, {field::Factor, "abc"}}), kChangeRefused);
    cache_.LoadUnits(db_.get());
    EXPECT_EQ(cache_.Units().size(), before);
}

TEST_F(RecordCacheTest, EveryKindLoadsWithItsFields) {
    const int32_t g = AddUnit("g", 0, 1.0f);
    const int32_t carbs = AddTarget("Carbohydrates", g, 0);
    const int32_t bg = AddTarget("Glucose", g, 1);
    const int32_t food = AddGroup("Food", {carbs, bg}, g);
    const int32_t bread = AddItem("Bread", food, {0.49f, 0.0f});
    const int32_t v = AddValue(bread, food, 1000000, 60.0f, "lunch");
    cache_.LoadAll(db_.get());

    const GroupRecord& group = cache_.Groups().at(food);
    EXPECT_EQ(group.name, "Food");
    EXPECT_EQ(group.targets, (std::vector<int32_t>{carbs, bg}));
    EXPECT_EQ(group.unitId, g);
    const ItemRecord& item = cache_.Items().at(bread);
    EXPECT_EQ(item.matterId, food);
    EXPECT_EQ(item.values, (std::vector<float>{0.49f, 0.0f}));
    EXPECT_FLOAT_EQ(item.defaultValue, 1.5f);
    EXPECT_FLOAT_EQ(cache_.ItemDefaultValue(bread), 1.5f);
    EXPECT_FALSE(cache_.Targets().at(bg).IsSum());
    const ValueRecord& value = cache_.Values().at(v);
    EXPECT_EQ(value.notes, "lunch");
    EXPECT_EQ(value.seconds, 1000000);
    EXPECT_EQ(value.date.day, 12);  // 1970-01-12 13:46:40
    EXPECT_EQ(value.date.hour, 13);
    EXPECT_EQ(value.itemIndex, 1);

    // The multimaps link the kinds.
    EXPECT_TRUE(cache_.TargetIsReferenced(carbs));
    EXPECT_EQ(cache_.GroupsByTarget().count(bg), 1u);
    EXPECT_EQ(cache_.ItemsByGroup().count(food), 1u);
    EXPECT_TRUE(cache_.ItemHasValues(bread));
    EXPECT_EQ(cache_.TargetIdsByName().at("Glucose"), bg);

    // Categories: sixteen slots per kind, slot 0 "Unfiled".
    EXPECT_EQ(cache_.UnitCategories().byNumber.size(), 16u);
    EXPECT_EQ(cache_.UnitCategories().names.NameOf(0), "Unfiled");
    EXPECT_EQ(cache_.GroupCategories().NumberOf("Unfiled"), 0);
    EXPECT_EQ(cache_.ValueCategoryNames().size(), 16);
}

TEST_F(RecordCacheTest, ListsOfThirtyOneAndOfNone) {
    std::vector<int32_t> targets;
    std::vector<float> amounts;
    const int32_t unit = AddUnit("g", 0, 1.0f);
    for (int i = 0; i < 31; ++i) {
        targets.push_back(AddTarget("T" + std::to_string(i), unit));
        amounts.push_back(0.25f * static_cast<float>(i) + 0.125f);
    }
    const int32_t full = AddGroup("Full", targets, unit);
    const int32_t empty = AddGroup("Empty", {}, unit);
    const int32_t item = AddItem("Many", full, amounts);
    cache_.LoadAll(db_.get());
    EXPECT_EQ(cache_.Groups().at(full).targets, targets);
    EXPECT_EQ(cache_.Items().at(item).values, amounts);
    EXPECT_EQ(cache_.Groups().at(empty).count, 0);
    EXPECT_TRUE(cache_.Groups().at(empty).targets.empty());
}

TEST_F(RecordCacheTest, SkippedRecordsAppearNowhere) {
    const int32_t unit = AddUnit("g", 0, 1.0f);
    const int32_t hiddenUnit = AddUnit("hidden", unit, 2.0f);
    const int32_t target = AddTarget("Carbs", unit);
    const int32_t hiddenTarget = AddTarget("HiddenT", unit);
    const int32_t group = AddGroup("Food", {target}, unit);
    const int32_t hiddenGroup = AddGroup("HiddenG", {hiddenTarget}, unit);
    const int32_t item = AddItem("Bread", group, {1.0f});
    const int32_t hiddenItem = AddItem("HiddenI", group, {1.0f});
    AddValue(item, group, 100, 1.0f);
    const int32_t hiddenValue = AddValue(hiddenItem, group, 200, 1.0f);
    ASSERT_EQ(db_->SetSkipped(RecordKind::Unit, hiddenUnit, true), 0);
    ASSERT_EQ(db_->SetSkipped(RecordKind::Target, hiddenTarget, true), 0);
    ASSERT_EQ(db_->SetSkipped(RecordKind::Group, hiddenGroup, true), 0);
    ASSERT_EQ(db_->SetSkipped(RecordKind::Item, hiddenItem, true), 0);
    ASSERT_EQ(db_->SetSkipped(RecordKind::Value, hiddenValue, true), 0);
    cache_.LoadAll(db_.get());

    EXPECT_EQ(cache_.FindUnit(hiddenUnit), nullptr);
    EXPECT_FALSE(cache_.Conversions().count(hiddenUnit));
    EXPECT_FALSE(cache_.UnitNames().Contains(hiddenUnit));
    EXPECT_FALSE(cache_.UnitIdsByName().count("hidden"));
    EXPECT_EQ(cache_.FindTarget(hiddenTarget), nullptr);
    EXPECT_FALSE(cache_.TargetNames().Contains(hiddenTarget));
    EXPECT_FALSE(cache_.TargetIdsByName().count("HiddenT"));
    EXPECT_EQ(cache_.FindGroup(hiddenGroup), nullptr);
    EXPECT_FALSE(cache_.GroupNames().Contains(hiddenGroup));
    EXPECT_FALSE(cache_.TargetIsReferenced(hiddenTarget)) << "only a hidden group lists it";
    EXPECT_EQ(cache_.FindItem(hiddenItem), nullptr);
    EXPECT_FALSE(cache_.ItemNames().Contains(hiddenItem));
    EXPECT_EQ(cache_.ItemsByGroup().count(group), 1u);
    EXPECT_EQ(cache_.FindValue(hiddenValue), nullptr);
    EXPECT_EQ(cache_.ValuesInTime().size(), 1u);
    EXPECT_EQ(cache_.ValuesPerItem().size(), 1u);
}

TEST_F(RecordCacheTest, ValueIndexesCompareUnsignedAndKeepLoadOrder) {
    const int32_t unit = AddUnit("g", 0, 1.0f);
    const int32_t target = AddTarget("T", unit);
    const int32_t group = AddGroup("G", {target}, unit);
    const int32_t a = AddItem("A", group, {1.0f});
    const int32_t b = AddItem("B", group, {1.0f});
    const uint32_t late = 0x80000000u + 5;  // 2038 and after: negative as int32
    const int32_t v1 = AddValue(a, group, late, 1.0f);
    const int32_t v2 = AddValue(a, group, 1000, 2.0f);
    const int32_t v3 = AddValue(b, group, 1000, 3.0f);  // same second as v2
    const int32_t v4 = AddValue(a, group, 1000, 4.0f);  // same key as v2
    const int32_t v5 = AddValue(b, group, 0xFFFFFFF0u, 5.0f);
    cache_.LoadValues(db_.get());

    EXPECT_EQ(TimeOrder(), (std::vector<int32_t>{v2, v3, v4, v1, v5}));
    EXPECT_EQ(ItemOrder(a), (std::vector<int32_t>{v2, v4, v1}));
    EXPECT_EQ(ItemOrder(b), (std::vector<int32_t>{v3, v5}));
    EXPECT_EQ(cache_.Values().at(v1).date.year, 2038);
}

TEST_F(RecordCacheTest, ValuesLoadedOutOfIdOrderAreFoundByIdInLoadOrder) {
    // Ids as another program may have chosen them: descending in load order.
    for (const int32_t id : {900, 700, 800}) {
        FieldMap fields{{field::Id, IntText(id)}, {field::Name, IntText(id)}, {field::Index, IntText(id)},
                        {field::MatterId, "1"},   {field::ItemId, "1"},       {field::Value, "1.0"},
                        {field::ItemIndex, "1"},  {field::CategoryId, "0"},   {field::CreatorId, "0"},
                        {field::Seconds, "1000"}};
        ASSERT_EQ(db_->Values()->Add(&fields), 0);
    }
    cache_.LoadValues(db_.get());
    std::vector<int32_t> byId;
    for (const auto& [id, value] : cache_.Values()) byId.push_back(value.id);
    EXPECT_EQ(byId, (std::vector<int32_t>{700, 800, 900}));
    EXPECT_EQ(TimeOrder(), (std::vector<int32_t>{900, 700, 800})) << "equal seconds keep load order";
    EXPECT_EQ(ItemOrder(1), (std::vector<int32_t>{900, 700, 800}));
    for (const int32_t id : {700, 800, 900}) ASSERT_NE(cache_.FindValue(id), nullptr) << id;
    EXPECT_EQ(cache_.FindValue(750), nullptr);
}

TEST_F(RecordCacheTest, EditsWriteThroughAndCommit) {
    const int32_t unit = AddUnit("g", 0, 1.0f);
    const int32_t t1 = AddTarget("A", unit);
    const int32_t t2 = AddTarget("B", unit);
    const int32_t group = AddGroup("G", {t1}, unit);
    ClearModifiedFlag();
    HostRecord* record = cache_.FindGroup(group)->record;
    ASSERT_EQ(RecordEdit(record)
                  .UInt8(prop::GroupCount, 2)
                  .Int32List(prop::GroupTargets, {t2, t1})
                  .UInt8(prop::GroupAttrs, 3)
                  .Name("Renamed")
                  .Category(4)
                  .Apply(),
              kChangeOk);
    EXPECT_EQ(ModifiedFlag(), 1);
    ReloadKind(cache_, db_.get(), RecordKind::Group);
    const GroupRecord& g = cache_.Groups().at(group);
    EXPECT_EQ(g.targets, (std::vector<int32_t>{t2, t1}));
    EXPECT_EQ(g.attrs, 3);
    EXPECT_EQ(g.name, "Renamed");
    EXPECT_EQ(g.category, 4);
    EXPECT_EQ(cache_.GroupNames().NameOf(group), "Renamed");

    // A refused write is reported and ends the edit; ApplyEdit also takes
    // back what was written before it.
    EXPECT_EQ(RecordEdit(record).UInt8(prop::GroupAttrs, 5).Int32(0x999, 1).Name("Never").Apply(), kChangeRefused);
    cache_.LoadGroups(db_.get());
    EXPECT_EQ(cache_.Groups().at(group).attrs, 5);
    EXPECT_EQ(cache_.Groups().at(group).name, "Renamed");
    EXPECT_EQ(ApplyEdit(RecordEdit(record).UInt8(prop::GroupAttrs, 6).Int32(0x999, 1)), kChangeRefused);
    cache_.LoadGroups(db_.get());
    EXPECT_EQ(cache_.Groups().at(group).attrs, 5);
    EXPECT_EQ(RecordEdit(nullptr).Name("x").Apply(), kChangeNoHost);
}

TEST_F(RecordCacheTest, RemovingAGroupRemovesItsItemsAndTheirValues) {
    const int32_t unit = AddUnit("g", 0, 1.0f);
    const int32_t target = AddTarget("T", unit);
    const int32_t doomed = AddGroup("Doomed", {target}, unit);
    const int32_t kept = AddGroup("Kept", {target}, unit);
    const int32_t i1 = AddItem("I1", doomed, {1.0f});
    const int32_t i2 = AddItem("I2", doomed, {1.0f});
    const int32_t i3 = AddItem("I3", kept, {1.0f});
    AddValue(i1, doomed, 10, 1.0f);
    AddValue(i2, doomed, 20, 1.0f);
    const int32_t survivor = AddValue(i3, kept, 30, 1.0f);
    cache_.LoadAll(db_.get());
    ClearModifiedFlag();

    EXPECT_EQ(RemoveGroup(*db_, cache_, doomed), kChangeOk);
    EXPECT_EQ(ModifiedFlag(), 1);
    EXPECT_EQ(cache_.FindGroup(doomed), nullptr);
    EXPECT_FALSE(cache_.GroupNames().Contains(doomed));
    EXPECT_EQ(cache_.FindItem(i1), nullptr);
    EXPECT_EQ(cache_.FindItem(i2), nullptr);
    EXPECT_FALSE(cache_.ItemNames().Contains(i1));
    ASSERT_EQ(cache_.Values().size(), 1u);
    EXPECT_EQ(cache_.Values().begin()->first, survivor);
    // The host agrees: nothing of the group is left in its tables.
    EXPECT_EQ(db_->Groups()->Find(doomed), nullptr);
    EXPECT_EQ(db_->Items()->Find(i2), nullptr);
    EXPECT_NE(db_->Items()->Find(i3), nullptr);
}

TEST_F(RecordCacheTest, UnitsResolveThroughTheHost) {
    const int32_t g = AddUnit("g", 0, 1.0f);
    const int32_t kg = AddUnit(" kg.", g, 1000.0f);
    const int32_t t = AddUnit("t", kg, 1000.0f);
    const int32_t mg = AddUnit("mg", g, 0.001f);
    EXPECT_EQ(cache_.Conversions().at(t).product, 1000000.0f);
    EXPECT_EQ(cache_.Conversions().at(mg).product, 0.001f);
    EXPECT_DOUBLE_EQ(ConvertAmount(cache_.Conversions(), 2, t, kg), 2000.0);
    EXPECT_EQ(FamilyOf(cache_.Conversions(), cache_.Families(), mg).size(), 4u);
    EXPECT_EQ(cache_.UnitIdsByName().at("kg"), kg) << "spaces and points are cut from the key";
    EXPECT_EQ(LoadUnits(cache_, nullptr), 1);
    EXPECT_TRUE(cache_.Units().empty());
    EXPECT_TRUE(cache_.Families().empty());
}

}  // namespace
}  // namespace orv
