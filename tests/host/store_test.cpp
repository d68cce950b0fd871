// Category slots and the settings store.

#include <gtest/gtest.h>

#include <set>

#include "data/RecordBuffer.h"
#include "tests/host/TestFiles.h"

namespace orv::hostdb {
namespace {

using testing::Name;
using StoreTest = testing::DatabaseTest;

TEST_F(StoreTest, EachKindHasSixteenSlotsWithUnfiledFirst) {
    HostCategoryTable* tables[] = {db_->UnitCategories(), db_->ValueCategories(), db_->GroupCategories(),
                                   db_->TargetCategories()};
    std::set<int32_t> hostIds;
    for (HostCategoryTable* table : tables) {
        ASSERT_TRUE(table);
        int32_t expected = 0;
        for (table->MoveFirst(); !table->IsEnd(); table->MoveNext(), ++expected) {
            HostCategory* category = table->Current();
            ASSERT_TRUE(category);
            EXPECT_EQ(category->Named().GetIndex(), expected);
            EXPECT_EQ(Name(category->Named()), expected == 0 ? "Unfiled" : "");
            EXPECT_TRUE(hostIds.insert(category->Named().GetId()).second);
        }
        EXPECT_EQ(expected, 16);
    }
    EXPECT_EQ(db_->Categories(RecordKind::Item), nullptr);
}

TEST_F(StoreTest, RenamingACategoryIsKeptAndOnlyTouchesItsKind) {
    HostCategoryTable& groups = *db_->GroupCategories();
    groups.MoveFirst();
    for (int k = 0; k < 5; ++k) groups.MoveNext();
    HostCategory* five = groups.Current();
    ASSERT_TRUE(five);
    ASSERT_EQ(five->Named().SetName("Sweets"), 0);
    EXPECT_EQ(five->AfterRename(1), 0);
    EXPECT_EQ(Name(five->Named()), "Sweets");
    EXPECT_LT(five->Named().SetName(nullptr), 0);

    Reopen();
    HostCategoryTable& reopened = *db_->GroupCategories();
    reopened.MoveFirst();
    for (int k = 0; k < 5; ++k) reopened.MoveNext();
    EXPECT_EQ(Name(reopened.Current()->Named()), "Sweets");
    HostCategoryTable& units = *db_->UnitCategories();
    for (units.MoveFirst(); !units.IsEnd(); units.MoveNext()) EXPECT_NE(Name(units.Current()->Named()), "Sweets");
}

TEST_F(StoreTest, SettingsRecordRoundTripsThroughTheRecordBuffer) {
    HostSettingsStore& store = *db_->SettingsStore();
    EXPECT_EQ(store.Find("ORVORV"), nullptr);

    const FieldMap written = {{"NAME", "ORVORV"}, {"ID", "1"}, {"ORVCHARTSNPERIOD", "3"}, {"NOTE", "caf\xC3\xA9"}};
    RecordBuffer out;
    int32_t count = out.capacity();
    ASSERT_EQ(out.Encode(written, &count), 0);
    ASSERT_EQ(store.Write(out.data(), count), 0);

    Reopen();
    HostSettingsRecord* record = db_->SettingsStore()->Find("ORVORV");
    ASSERT_TRUE(record);
    EXPECT_EQ(db_->SettingsStore()->Find("ORVORV"), record);
    RecordBuffer in;
    count = in.capacity();
    ASSERT_EQ(record->Read(in.data(), &count), 0);
    FieldMap read;
    ASSERT_EQ(in.Decode(read, count), 0);
    EXPECT_EQ(read, written);

    // Writing again replaces the whole record: a field left out is gone.
    const FieldMap replaced = {{"NAME", "ORVORV"}, {"ORVCHARTSNPERIOD", "5"}};
    count = out.capacity();
    ASSERT_EQ(out.Encode(replaced, &count), 0);
    ASSERT_EQ(db_->SettingsStore()->Write(out.data(), count), 0);
    count = in.capacity();
    ASSERT_EQ(record->Read(in.data(), &count), 0);
    ASSERT_EQ(in.Decode(read, count), 0);
    EXPECT_EQ(read, replaced);

    // Too few entries offered: refused, the count is not trusted.
    RecordBuffer small(1);
    count = 1;
    EXPECT_LT(record->Read(small.data(), &count), 0);
}

TEST_F(StoreTest, SettingsWithoutNameAreRefused) {
    HostSettingsStore& store = *db_->SettingsStore();
    RecordBuffer buffer;
    int32_t count = buffer.capacity();
    ASSERT_EQ(buffer.Encode(FieldMap{{"ID", "1"}, {"X", "2"}}, &count), 0);
    EXPECT_LT(store.Write(buffer.data(), count), 0);
    count = buffer.capacity();
    ASSERT_EQ(buffer.Encode(FieldMap{{"NAME", ""}, {"X", "2"}}, &count), 0);
    EXPECT_LT(store.Write(buffer.data(), count), 0);
    EXPECT_LT(store.Write(buffer.data(), 0), 0);
    EXPECT_LT(store.Write(nullptr, 1), 0);
    EXPECT_EQ(store.Find(""), nullptr);
    EXPECT_EQ(store.Find(nullptr), nullptr);
}

}  // namespace
}  // namespace orv::hostdb
