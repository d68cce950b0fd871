// The record cache on a host that offers change versions: a loader reads its
// table again only when the version of its kind (or of the categories)
// changed since its last load from the same database. Records are written
// straight into the host's tables, as another program would, so only the
// versions tell the cache about them.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "FakeExtensions.h"
#include "data/RecordCache.h"
#include "data/RecordChanges.h"
#include "host/db/SqliteHostDatabase.h"

namespace orv {
namespace {

int32_t Kind(RecordKind kind) { return static_cast<int32_t>(kind); }

class CacheVersionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        db_ = hostdb::SqliteHostDatabase::Open(":memory:", &error);
        ASSERT_TRUE(db_) << error;
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
        ASSERT_EQ(TableOf(*db_, kind)->Add(&fields), 0);
    }

    std::unique_ptr<hostdb::SqliteHostDatabase> db_;
    test::FakeExtensions versions_;
    RecordCache cache_;
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
        c.load(cache_, db_.get());
        const std::size_t before = c.shown(cache_);
        const uint64_t generation = cache_.Generation();
        AddDirectly(c.kind, std::string("new ") + name);

        c.load(cache_, db_.get());
        EXPECT_EQ(c.shown(cache_), before) << "unchanged version: nothing read";
        EXPECT_EQ(cache_.Generation(), generation);
        for (const RecordKind other :
             {RecordKind::Unit, RecordKind::Target, RecordKind::Group, RecordKind::Item, RecordKind::Value}) {
            if (other != c.kind) versions_.Bump(Kind(other));
        }
        versions_.Bump(changekind::kCategories);
        c.load(cache_, db_.get());
        EXPECT_EQ(c.shown(cache_), before) << "only other kinds changed";

        versions_.Bump(Kind(c.kind));
        c.load(cache_, db_.get());
        EXPECT_EQ(c.shown(cache_), before + 1);
        EXPECT_NE(cache_.Generation(), generation);
    }
}

TEST_F(CacheVersionsTest, CategoriesFollowTheirOwnVersion) {
    cache_.LoadUnitCategories(db_.get());
    cache_.LoadValueCategories(db_.get());
    HostCategoryTable* table = db_->UnitCategories();
    table->MoveFirst();
    table->MoveNext();
    ASSERT_EQ(table->Current()->Named().SetName("Renamed"), 0);

    versions_.Bump(Kind(RecordKind::Unit));
    cache_.LoadUnitCategories(db_.get());
    EXPECT_NE(cache_.UnitCategories().names.NameOf(1), "Renamed");
    versions_.Bump(changekind::kCategories);
    cache_.LoadUnitCategories(db_.get());
    EXPECT_EQ(cache_.UnitCategories().names.NameOf(1), "Renamed");

    // A rename in place that never reached the host is undone by the next load.
    cache_.MutableCategories(RecordKind::Unit)->names.Rename(1, "Refused");
    cache_.LoadUnitCategories(db_.get());
    EXPECT_EQ(cache_.UnitCategories().names.NameOf(1), "Renamed");
}

TEST_F(CacheVersionsTest, EveryLoaderReadsAgainWithoutUsableVersions) {
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"no extensions", [&] { SetCurrentHostExtensions(nullptr); }},
        {"version 0: not counted", [&] { versions_.versions[Kind(RecordKind::Value)] = 0; }},
        {"cache invalidated", [&] { cache_.Invalidate(); }},
        {"cache cleared", [&] { cache_.Clear(); }},
    };
    for (const auto& [name, prepare] : cases) {
        SCOPED_TRACE(name);
        SetCurrentHostExtensions(&versions_);
        versions_.versions[Kind(RecordKind::Value)] = 1;
        cache_.LoadValues(db_.get());
        const std::size_t before = cache_.Values().size();
        AddDirectly(RecordKind::Value, name);
        prepare();
        cache_.LoadValues(db_.get());
        EXPECT_EQ(cache_.Values().size(), before + 1);
    }

    // Another database with the same versions is loaded afresh.
    std::string error;
    auto other = hostdb::SqliteHostDatabase::Open(":memory:", &error);
    ASSERT_TRUE(other) << error;
    SetCurrentHostExtensions(&versions_);
    cache_.LoadValues(db_.get());
    ASSERT_FALSE(cache_.Values().empty());
    cache_.LoadValues(other.get());
    EXPECT_TRUE(cache_.Values().empty());
}

}  // namespace
}  // namespace orv
