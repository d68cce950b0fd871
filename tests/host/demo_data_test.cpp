// Generated sample databases: reproducible, consistent with their structure,
// spanning the months asked for and ending at the given moment.

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

#include "host/db/DemoData.h"
#include "host/db/HostCalendar.h"
#include "host/db/StarterData.h"
#include "tests/host/TestFiles.h"
#include "tests/support/Dates.h"

namespace orv::hostdb {
namespace {

using testing::GetFloat;
using testing::GetInt;
using testing::TempDir;

struct Value {
    int32_t id, index, group, item, itemIndex;
    uint32_t seconds;
    float amount;
    std::string notes;
    auto Key() const { return std::tie(id, index, group, item, itemIndex, seconds, amount, notes); }
    bool operator==(const Value& other) const { return Key() == other.Key(); }
};

std::vector<Value> ReadValues(const std::string& path) {
    std::string error;
    auto db = SqliteHostDatabase::Open(path, &error);
    EXPECT_TRUE(db) << error;
    std::vector<Value> values;
    if (!db) return values;
    HostTable& table = *db->Values();
    for (table.MoveFirst(); !table.IsEnd(); table.MoveNext()) {
        HostRecord& r = *table.Current();
        values.push_back(Value{r.Named().GetId(), r.Named().GetIndex(), GetInt(r, prop::ValueMatterId),
                               GetInt(r, prop::ValueItemId), GetInt(r, prop::ValueItemIndex, 2),
                               static_cast<uint32_t>(GetInt(r, prop::ValueSeconds)), GetFloat(r, prop::ValueValue),
                               testing::Name(r.Named())});
    }
    return values;
}

int32_t HostSeconds(int year, int month, int day, int hour) {
    const HostDateTime d = test::MakeDate(year, month, day, hour);
    int32_t seconds = 0;
    EXPECT_EQ(HostDateToSeconds(&seconds, &d), 0);
    return seconds;
}

constexpr uint32_t kDay = 86400;

TEST(DemoData, SameSeedSameDatabaseOtherSeedOtherValuesCountsMetExactly) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    GenerateOptions options;
    options.valueCount = 3000;
    options.itemCount = 200;
    options.seed = 5;
    options.endSeconds = HostSeconds(2030, 1, 1, 12);
    std::string error;
    ASSERT_TRUE(GenerateDatabase(dir.File("a.sqlite"), options, &error)) << error;
    ASSERT_TRUE(GenerateDatabase(dir.File("b.sqlite"), options, &error)) << error;
    options.seed = 6;
    ASSERT_TRUE(GenerateDatabase(dir.File("c.sqlite"), options, &error)) << error;
    const auto a = ReadValues(dir.File("a.sqlite"));
    EXPECT_EQ(a.size(), 3000u) << "the value count is met exactly";
    EXPECT_EQ(a, ReadValues(dir.File("b.sqlite")));
    EXPECT_NE(a, ReadValues(dir.File("c.sqlite")));
    // The item count too: made-up foods fill the food group.
    auto db = SqliteHostDatabase::Open(dir.File("a.sqlite"), &error);
    ASSERT_TRUE(db) << error;
    EXPECT_EQ(db->Items()->MaxId(), 200);
    HostRecord* madeUp = db->Items()->Find(200);
    ASSERT_TRUE(madeUp);
    EXPECT_EQ(GetInt(*madeUp, prop::ItemMatterId), starter::kFoodGroup);
    EXPECT_EQ(GetInt(*madeUp, prop::ItemCount, 2), 4);
}

TEST(DemoData, ValuesSpanTheMonthsAndFitTheStructure) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    GenerateOptions options;
    options.days = 130;
    options.seed = 11;
    options.endSeconds = HostSeconds(2024, 3, 10, 18);
    const uint32_t end = static_cast<uint32_t>(options.endSeconds);
    std::string error;
    ASSERT_TRUE(GenerateDatabase(dir.File("demo.sqlite"), options, &error)) << error;
    const auto values = ReadValues(dir.File("demo.sqlite"));
    ASSERT_FALSE(values.empty());

    auto db = SqliteHostDatabase::Open(dir.File("demo.sqlite"), &error);
    ASSERT_TRUE(db) << error;
    std::map<uint32_t, int> foodsPerMeal;
    int readings = 0;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const Value& v = values[k];
        ASSERT_EQ(v.id, static_cast<int32_t>(k + 1));
        if (k > 0) {
            ASSERT_GE(v.seconds, values[k - 1].seconds) << "values are entered in time order";
        }
        HostRecord* item = db->Items()->Find(v.item);
        ASSERT_TRUE(item) << v.item;
        EXPECT_EQ(v.group, GetInt(*item, prop::ItemMatterId));
        EXPECT_EQ(v.itemIndex, item->Named().GetIndex());
        EXPECT_GT(v.amount, 0.0f);
        if (v.group == starter::kBloodGlucoseGroup) {
            ++readings;
            EXPECT_GE(v.amount, 3.0f);
            EXPECT_LE(v.amount, 15.0f);
        }
        if (v.group == starter::kFoodGroup) ++foodsPerMeal[v.seconds];
    }
    EXPECT_LE(values.back().seconds, end);
    EXPECT_GE(values.back().seconds, end - kDay);
    EXPECT_LE(values.front().seconds, end - 120 * kDay);
    EXPECT_GE(values.front().seconds, end - 131 * kDay);
    EXPECT_GE(readings, 4 * 129);  // several readings a day
    int mixedMeals = 0;
    for (const auto& [at, foods] : foodsPerMeal) mixedMeals += foods >= 2 ? 1 : 0;
    EXPECT_GE(mixedMeals, 2 * 129);  // at least lunch and dinner of several foods
}

TEST(DemoData, AnExistingFileIsNeverReplaced) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    const std::string path = dir.File("mine.sqlite");
    std::string error;
    ASSERT_TRUE(SqliteHostDatabase::Open(path, &error)) << error;
    const std::string before = testing::ReadBytes(path);
    EXPECT_FALSE(WriteDemoDatabase(path, &error));
    EXPECT_NE(error.find(path), std::string::npos);
    EXPECT_EQ(testing::ReadBytes(path), before);

    // A zero-byte file is taken, and the demo ends now.
    const std::string empty = dir.File("empty.sqlite");
    testing::WriteBytes(empty, "");
    ASSERT_TRUE(WriteDemoDatabase(empty, &error)) << error;
    const auto values = ReadValues(empty);
    ASSERT_FALSE(values.empty());
    const uint32_t now = static_cast<uint32_t>(CurrentHostSeconds());
    EXPECT_LE(values.back().seconds, now);
    EXPECT_GE(values.back().seconds, now - 2 * kDay);
    EXPECT_LE(values.front().seconds, now - 121 * kDay);
}

}  // namespace
}  // namespace orv::hostdb
