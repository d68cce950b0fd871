// The changes of many records on a real SQLite host database behind a host
// that refuses its k-th write: whatever k, the stored records afterwards are
// those before, and with the host's extensions the change is ended with
// EndChange(0).

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <sstream>

#include "FailingHost.h"
#include "FakeExtensions.h"
#include "TestDatabase.h"
#include "data/ChangeMessages.h"

namespace orv {
namespace {

std::string Exact(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%a", static_cast<double>(value));
    return text;
}

// A small structure: units g and kg, targets Carbs and Fat in g, the groups
// Bread (Carbs, Fat; two items with values) and Cheese (Fat; one item).
struct Store : test::TestDatabase {
    Store() {
        g = Unit("g", 0, 1.0f);
        kg = Unit("kg", g, 1000.0f);
        carbs = Target("Carbs", g);
        fat = Target("Fat", g);
        bread = Group("Bread", {carbs, fat}, g);
        cheese = Group("Cheese", {fat}, g);
        const int32_t rye = Item("Rye", bread, {0.5f, 0.1f});
        const int32_t white = Item("White", bread, {0.6f, 0.05f});
        Item("Gouda", cheese, {0.3f});
        Value(rye, bread, 1000, 60.0f, "breakfast");
        Value(rye, bread, 2000, 30.0f, "");
        Value(white, bread, 3000, 45.5f, "lunch");
        host = std::make_unique<test::FailingHost>(db.get());
        cache.LoadAll(host.get());
    }

    // Everything stored, read afresh from the database itself.
    std::string Snapshot() {
        RecordCache fresh;
        fresh.LoadAll(db.get());
        std::ostringstream out;
        for (const auto& [id, t] : fresh.Targets())
            out << "T" << id << t.name << t.unitId << t.type << t.category << ";";
        for (const auto& [id, gr] : fresh.Groups()) {
            out << "G" << id << gr.index << gr.name << gr.unitId << gr.count << gr.category << ":";
            for (const int32_t t : gr.targets) out << t << ",";
        }
        for (const auto& [id, it] : fresh.Items()) {
            out << "I" << id << it.index << it.name << it.matterId << it.count << Exact(it.defaultValue) << ":";
            for (const float v : it.values) out << Exact(v) << ",";
        }
        for (const auto& [id, v] : fresh.Values()) {
            out << "V" << id << v.index << v.notes << v.itemId << v.matterId << v.itemIndex << v.seconds
                << Exact(v.value) << v.category << ";";
        }
        return out.str();
    }

    std::unique_ptr<test::FailingHost> host;
    int32_t g = 0, kg = 0, carbs = 0, fat = 0, bread = 0, cheese = 0;
};

struct ChangeCase {
    const char* name;
    std::function<int32_t(Store&)> run;
};

const ChangeCase kChanges[] = {
    {"group to kg with its targets swapped",
     [](Store& s) {
         GroupChange change;
         change.groupId = s.bread;
         change.name = "Bread (kg)";
         change.unitId = s.kg;
         change.targets = {s.fat, s.carbs};
         change.positions = {1, 0};
         return ChangeGroup(*s.host, s.cache, change);
     }},
    {"used target to kg",
     [](Store& s) {
         TargetRecord target = *s.cache.FindTarget(s.fat);
         target.unitId = s.kg;
         return ChangeTarget(*s.host, s.cache, target, true);
     }},
    {"group with items and values removed", [](Store& s) { return RemoveGroup(*s.host, s.cache, s.bread); }},
    {"one value edited",
     [](Store& s) {
         const ValueRecord& value = s.cache.Values().begin()->second;
         return ApplyEdit(RecordEdit(value.record)
                              .Int32(prop::ValueSeconds, 5000)
                              .Float(prop::ValueValue, 12.5f)
                              .Name("edited")
                              .Category(1));
     }},
};

TEST(RecordChanges, ARefusedWriteAtAnyStepLeavesEveryRecordAsBefore) {
    for (const ChangeCase& change : kChanges) {
        Store whole;
        const std::string before = whole.Snapshot();
        ASSERT_EQ(change.run(whole), kChangeOk) << change.name;
        ASSERT_NE(whole.Snapshot(), before) << change.name << ": the change changes something";
        const int writes = whole.host->counter.writes;
        ASSERT_GE(writes, 3) << change.name;

        for (int k = 1; k <= writes; ++k) {
            Store store;
            store.host->counter.failAt = k;
            EXPECT_EQ(change.run(store), hostresult::kBusy) << change.name << ", write " << k;
            EXPECT_EQ(store.Snapshot(), before) << change.name << ", write " << k;
        }
    }
}

TEST(RecordChanges, WithHostExtensionsTheHostEndsTheChange) {
    for (const ChangeCase& change : kChanges) {
        for (const int failAt : {0, 2}) {
            test::FakeExtensions extensions;
            SetCurrentHostExtensions(&extensions);
            Store store;
            store.host->counter.failAt = failAt;
            EXPECT_EQ(change.run(store), failAt ? hostresult::kBusy : kChangeOk) << change.name;
            EXPECT_EQ(extensions.begins, 1) << change.name;
            EXPECT_EQ(extensions.ends, std::vector<int32_t>{failAt ? 0 : 1}) << change.name << ", write " << failAt;
        }
        Store store;
        test::FakeExtensions readOnly;
        readOnly.readOnly = true;
        SetCurrentHostExtensions(&readOnly);
        EXPECT_EQ(change.run(store), hostresult::kReadOnly) << change.name;
        EXPECT_EQ(store.host->counter.writes, 0) << change.name;
    }
    SetCurrentHostExtensions(nullptr);
}

TEST(WriteFailureText, EachRefusalHasItsOwnTextAndAGoneRecordIsNamedByKind) {
    std::set<std::string> texts;
    for (const int32_t result :
         {hostresult::kBusy, hostresult::kGone, hostresult::kReadOnly, hostresult::kStorageError, kChangeRefused})
        texts.insert(WriteFailureText(result, RecordKind::Value));
    EXPECT_EQ(texts.size(), 5u);
    EXPECT_EQ(WriteFailureText(hostresult::kGone, RecordKind::Unit), "This unit was removed by another program.");
    // Host results the module does not know are plain refusals.
    EXPECT_EQ(HostWriteResult(-99), kChangeRefused);
    EXPECT_EQ(HostWriteResult(hostresult::kBusy), hostresult::kBusy);
}

}  // namespace
}  // namespace orv
