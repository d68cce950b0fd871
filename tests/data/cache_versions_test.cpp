// The record cache on a host that offers change versions: a loader reads its
// table again only when the version of its kind (or of the categories)
// changed since its last load from the same database. Records are written
// straight into the host's tables, as another program would, so only the
// versions tell the cache about them.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "FakeExtensions.h"
#include "TestDatabase.h"

namespace orv {
namespace {

int32_t Kind(RecordKind kind) { return static_cast<int32_t>(kind); }

class CacheVersionsTest : public ::testing::Test, protected test::TestDatabase {
protected:
    void SetUp() override {
        versions_.versions.fill(1);
        SetCurrentHostExtensions(&versions_);
    }
    void TearDown() override { SetCurrentHostExtensions(nullptr); }

    // A new record of the kind, written straight into the host table.
    void AddDirectly(RecordKind kind, const std::string& name) {
        static int32_t nextId = 5000;
        const std::string id = std::to_string(++nextId);
        FieldMap fields{{"ID", id}, {"NAME", name}};
        if (kind == RecordKind::Unit || kind == RecordKind::Target || kind == RecordKind::Value) fields["INDEX"] = id;
        ASSERT_EQ(TableOf(*db, kind)->Add(&fields), 0);
    }

    test::FakeExtensions versions_;
};

// How many records each loader of a kind shows.
struct KindCase {
    RecordKind kind;
    std::function<void(RecordCache&, HostDatabase*)> load;
    std::function<std::size_t(const RecordCache&)> shown;
};

TEST_F(CacheVersionsTest, ALoaderReadsItsTableOnlyWhenItsKindsVersionChanged) {
    const std::vector<std::pair<const char*, KindCase>> cases = {
        {"values", {RecordKind::Value, &RecordCache::LoadValues, [](auto& c) { return c.ValuesInTime().size(); }}},
        {"items", {RecordKind::Item, &RecordCache::LoadItems, [](auto& c) { return c.ItemsByGroup().size(); }}},
        {"item names",
         {RecordKind::Item, &RecordCache::LoadItemNames, [](auto& c) { return std::size_t(c.ItemNames().size()); }}},
        {"groups", {RecordKind::Group, &RecordCache::LoadGroups, [](auto& c) { return c.Groups().size(); }}},
        {"group names",
         {RecordKind::Group, &RecordCache::LoadGroupNames, [](auto& c) { return std::size_t(c.GroupNames().size()); }}},
        {"targets", {RecordKind::Target, &RecordCache::LoadTargets, [](auto& c) { return c.Targets().size(); }}},
        {"target names",
         {RecordKind::Target, &RecordCache::LoadTargetNames, [](auto& c) { return c.TargetIdsByName().size(); }}},
        {"units",
         {RecordKind::Unit, [](RecordCache& c, HostDatabase* db) { c.LoadUnits(db); },
          [](auto& c) { return c.Conversions().size(); }}},
        {"unit names",
         {RecordKind::Unit, &RecordCache::LoadUnitNames, [](auto& c) { return c.UnitIdsByName().size(); }}},
    };
    for (const auto& [name, c] : cases) {
        SCOPED_TRACE(name);
        c.load(cache, db.get());
        const std::size_t before = c.shown(cache);
        const uint64_t generation = cache.Generation();
        AddDirectly(c.kind, std::string("new ") + name);

        c.load(cache, db.get());
        EXPECT_EQ(c.shown(cache), before) << "unchanged version: nothing read";
        EXPECT_EQ(cache.Generation(), generation);
        for (const RecordKind other :
             {RecordKind::Unit, RecordKind::Target, RecordKind::Group, RecordKind::Item, RecordKind::Value}) {
            if (other != c.kind) versions_.Bump(Kind(other));
        }
        versions_.Bump(changekind::kCategories);
        c.load(cache, db.get());
        EXPECT_EQ(c.shown(cache), before) << "only other kinds changed";

        versions_.Bump(Kind(c.kind));
        c.load(cache, db.get());
        EXPECT_EQ(c.shown(cache), before + 1);
        EXPECT_NE(cache.Generation(), generation);
    }
}

TEST_F(CacheVersionsTest, CategoriesFollowTheirOwnVersion) {
    cache.LoadUnitCategories(db.get());
    cache.LoadValueCategories(db.get());
    HostCategoryTable* table = db->UnitCategories();
    table->MoveFirst();
    table->MoveNext();
    ASSERT_EQ(table->Current()->Named().SetName("Renamed"), 0);

    versions_.Bump(Kind(RecordKind::Unit));
    cache.LoadUnitCategories(db.get());
    EXPECT_NE(cache.UnitCategories().names.NameOf(1), "Renamed");
    versions_.Bump(changekind::kCategories);
    cache.LoadUnitCategories(db.get());
    EXPECT_EQ(cache.UnitCategories().names.NameOf(1), "Renamed");

    // A rename in place that never reached the host is undone by the next load.
    cache.MutableCategories(RecordKind::Unit)->names.Rename(1, "Refused");
    cache.LoadUnitCategories(db.get());
    EXPECT_EQ(cache.UnitCategories().names.NameOf(1), "Renamed");
}

TEST_F(CacheVersionsTest, EveryLoaderReadsAgainWithoutUsableVersions) {
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"no extensions", [&] { SetCurrentHostExtensions(nullptr); }},
        {"version 0: not counted", [&] { versions_.versions[Kind(RecordKind::Value)] = 0; }},
        {"cache invalidated", [&] { cache.Invalidate(); }},
        {"cache cleared", [&] { cache.Clear(); }},
    };
    for (const auto& [name, prepare] : cases) {
        SCOPED_TRACE(name);
        SetCurrentHostExtensions(&versions_);
        versions_.versions[Kind(RecordKind::Value)] = 1;
        cache.LoadValues(db.get());
        const std::size_t before = cache.Values().size();
        AddDirectly(RecordKind::Value, name);
        prepare();
        cache.LoadValues(db.get());
        EXPECT_EQ(cache.Values().size(), before + 1);
    }

    // Another database with the same versions is loaded afresh.
    test::TestDatabase other;
    SetCurrentHostExtensions(&versions_);
    cache.LoadValues(db.get());
    ASSERT_FALSE(cache.Values().empty());
    cache.LoadValues(other.db.get());
    EXPECT_TRUE(cache.Values().empty());
}

}  // namespace
}  // namespace orv
