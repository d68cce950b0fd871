// The import plan and its write on a real host database with the starter
// structure: refusals with their lines, merging with stored values (across
// units of a family), exact amounts, and the all-or-nothing write.

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>

#include "data/HostExtensions.h"
#include "data/RecordCache.h"
#include "exchange/ValueExport.h"
#include "exchange/ValueImport.h"
#include "host/TestFiles.h"

namespace orv::exchange {
namespace {

using hostdb::SqliteHostDatabase;

const std::string kHeader = "date,group,item,amount,unit,notes\r\n";

// A batch of the host database that refuses its `failAt`-th write (the
// commit counts as the last write); 0 never fails.
class FailingBatch final : public ImportSink {
public:
    FailingBatch(SqliteHostDatabase& db, int failAt) : batch_(db), failAt_(failAt) {}
    int32_t Add(RecordKind kind, const FieldMap& fields) override {
        if (++writes_ == failAt_) return hostresult::kStorageError;
        return batch_.Add(kind, fields);
    }
    bool Commit(std::string* error) override {
        if (++writes_ == failAt_) {
            *error = "disk full";
            return false;
        }
        return batch_.Commit(error);
    }
    int Writes() const { return writes_; }

private:
    SqliteHostDatabase::Batch batch_;
    int failAt_;
    int writes_ = 0;
};

class ValueImport : public hostdb::testing::DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        cache_.LoadAll(db_.get());
    }

    ImportPlan Plan(const std::string& rows) {
        ImportPlan plan;
        std::string error;
        EXPECT_TRUE(PlanImport(kHeader + rows, *db_, cache_, &plan, &error)) << error;
        return plan;
    }

    void Import(const std::string& rows) {
        const ImportPlan plan = Plan(rows);
        {
            FailingBatch sink(*db_, 0);
            std::string error;
            ASSERT_TRUE(WriteImport(plan, *db_, sink, &error)) << error;
        }
        cache_.LoadAll(db_.get());
    }

    std::string Export() {
        cache_.LoadAll(db_.get());
        return ValuesCsv(cache_);
    }

    RecordCache cache_;
};

TEST_F(ValueImport, EveryRefusedRowIsReportedWithItsLineAndReason) {
    const ImportPlan plan = Plan(
        "2024-03-01 08:00:00,Food,Apple,150,g,\"notes on\ntwo lines\"\r\n"  // 2-3
        "2024-02-30 08:00:00,Food,Apple,150,g,\r\n"                         // 4
        "2024-03-01 8:00:00,Food,Apple,150,g,\r\n"                          // 5
        "2024-03-01 08:00:00,Drinks,Tea,1,g,\r\n"                           // 6
        "2024-03-01 08:00:00,Food,,150,g,\r\n"                              // 7
        "2024-03-01 08:00:00,Food,Apple,150,furlong,\r\n"                   // 8
        "2024-03-01 08:00:00,Food,Apple,150,mmol/L,\r\n"                    // 9
        "2024-03-01 08:00:00,Food,Apple,1.5.0,g,\r\n"                       // 10
        "2024-03-01 08:00:00,Food,Apple,inf,g,\r\n"                         // 11
        "2024-03-01 08:00:00,Food,Apple,150,g\r\n"                          // 12
        "2024-03-02 08:00:00,Food,Apple,150,g,\r\n");                       // 13
    const std::pair<int, Refusal> expected[] = {
        {4, Refusal::BadDate},    {5, Refusal::BadDate},     {6, Refusal::UnknownGroup},
        {7, Refusal::NoItem},     {8, Refusal::UnknownUnit}, {9, Refusal::ForeignUnit},
        {10, Refusal::BadAmount}, {11, Refusal::BadAmount},  {12, Refusal::FieldCount},
    };
    std::vector<std::pair<int, Refusal>> refused;
    for (const auto& row : plan.refused) refused.emplace_back(row.line, row.reason);
    EXPECT_EQ(refused, std::vector(std::begin(expected), std::end(expected)));
    EXPECT_EQ(plan.rows, 11);
    ASSERT_EQ(plan.newValues.size(), 2u);
    EXPECT_EQ(plan.newValues[1].line, 13);
    const std::string preview = PreviewText(plan);
    EXPECT_NE(preview.find("11 rows: 2 new, 0 already stored (skipped), 9 refused."), std::string::npos) << preview;
    EXPECT_NE(preview.find("Line 9: unit of another family (mmol/L)"), std::string::npos) << preview;
}

TEST_F(ValueImport, ExportIsOneQuotedRecordPerValueInTimeOrderWithExactAmounts) {
    Import(
        "2024-03-02 09:30:00,Food,\"Egg, boiled\",0.1,g,\"said \"\"hi\"\"\nthen left\"\r\n"
        "2024-03-01 08:00:00,Food,Apple,0.33333334,g,\r\n"
        "2024-03-01 08:00:01,Food,Apple,1e-07,g,\r\n"
        "2024-03-01 08:00:02,Food,Apple,16777217,g,\r\n"
        "2024-03-01 08:00:03,Insulin,Rapid-acting insulin,2.5e+30,IU,\r\n");
    EXPECT_EQ(Export(), kHeader +
                            "2024-03-01 08:00:00,Food,Apple,0.33333334,g,\r\n"
                            "2024-03-01 08:00:01,Food,Apple,1e-07,g,\r\n"
                            "2024-03-01 08:00:02,Food,Apple,16777216,g,\r\n"
                            "2024-03-01 08:00:03,Insulin,Rapid-acting insulin,2.5e+30,IU,\r\n"
                            "2024-03-02 09:30:00,Food,\"Egg, boiled\",0.1,g,\"said \"\"hi\"\"\nthen left\"\r\n");
}

TEST_F(ValueImport, StoredValuesAreSkippedAndASecondImportAddsNothing) {
    Import("2024-03-01 08:00:00,Food,Apple,150,g,snack\r\n");
    const std::string rows =
        "2024-03-01 08:00:00,Food,Apple,0.15,kg,snack\r\n"  // stored, given in kg
        "2024-03-01 08:00:00,Food,Apple,150,g,lunch\r\n"    // other notes: new
        "2024-03-01 12:00:00,Food,Apple,150,g,\r\n"         // twice in the file:
        "2024-03-01 12:00:00,Food,Apple,150,g,\r\n"         // both are new
        "2024-03-01 13:00:00,Food,Rye bread,60,g,\r\n"      // a new item,
        "2024-03-02 13:00:00,Food,Rye bread,70,g,\r\n";     // created once
    const ImportPlan first = Plan(rows);
    EXPECT_EQ(std::tuple(first.duplicates, first.newValues.size(), first.newItems.size()), std::tuple(1, 5u, 1u));
    Import(rows);
    EXPECT_EQ(cache_.Values().size(), 6u);

    const ImportPlan second = Plan(rows);
    EXPECT_EQ(std::tuple(second.duplicates, second.newValues.size(), second.newItems.size()), std::tuple(6, 0u, 0u));
    const ImportPlan third = Plan(rows + "2024-03-01 12:00:00,Food,Apple,150,g,\r\n");
    EXPECT_EQ(third.newValues.size(), 1u) << "held three times, stored twice";

    // The new item is Food's, with no amounts yet, and holds both its values.
    const auto found = std::find_if(cache_.Items().begin(), cache_.Items().end(),
                                    [](const auto& entry) { return entry.second.name == "Rye bread"; });
    ASSERT_NE(found, cache_.Items().end());
    const ItemRecord& rye = found->second;
    const GroupRecord* food = cache_.FindGroup(rye.matterId);
    ASSERT_NE(food, nullptr);
    EXPECT_EQ(food->name, "Food");
    EXPECT_EQ(rye.values, std::vector<float>(food->targets.size(), 0.0f));
    EXPECT_EQ(std::count_if(cache_.Values().begin(), cache_.Values().end(),
                            [&](const auto& entry) { return entry.second.itemId == rye.id; }),
              2);
}

TEST_F(ValueImport, AFailedWriteAnywhereLeavesTheDatabaseUnchanged) {
    Import("2024-03-01 08:00:00,Food,Apple,150,g,\r\n");
    const std::string before = Export();
    const std::size_t itemsBefore = cache_.Items().size();
    const std::string rows =
        "2024-03-02 08:00:00,Food,Apple,150,g,\r\n"
        "2024-03-02 09:00:00,Food,Rye bread,60,g,\r\n"
        "2024-03-02 10:00:00,Insulin,Rapid-acting insulin,4,IU,\r\n";
    const ImportPlan plan = Plan(rows);
    const int writes = 1 + 3 + 1;  // the new item, the values, the commit
    for (int failAt = 1; failAt <= writes; ++failAt) {
        {
            FailingBatch sink(*db_, failAt);
            std::string error;
            EXPECT_FALSE(WriteImport(plan, *db_, sink, &error)) << "failing write " << failAt;
            EXPECT_NE(error.find("nothing was imported"), std::string::npos) << "failing write " << failAt;
            EXPECT_EQ(sink.Writes(), failAt) << "stops at the failing write";
        }
        Reopen();
        EXPECT_EQ(Export(), before) << "failing write " << failAt;
        EXPECT_EQ(cache_.Items().size(), itemsBefore) << "failing write " << failAt;
    }
    Import(rows);
    EXPECT_EQ(cache_.Values().size(), 4u);
}

}  // namespace
}  // namespace orv::exchange
