#include "settings/ViewSettings.h"

#include <gtest/gtest.h>

#include "settings/FakeSettingsStore.h"
#include "settings/RecordingKeyValueStore.h"
#include "util/FakeHostDatabase.h"

namespace orv {
namespace {

constexpr const char* kPath = "Software\\OrvMain\\ORV\\ORVDesktop\\Base\\General";

// Every record-stored key with a distinct value.
FieldMap FullRecord() {
    return {{"ID", "1330794322"},
            {"ORVVIEWCURPAGE", "2"},
            {"ORVCHARTSNPERIOD", "3"},
            {"ORVCHARTSSECONDS", "-5"},
            {"ORVCHARTSTARGETID", "41"},
            {"ORVTABLESNPERIOD", "4"},
            {"ORVTABLESSECONDS", "1219795200"},
            {"ORVTABLESTARGETID", "43"}};
}

class ViewSettingsTest : public ::testing::Test {
protected:
    ViewSettingsTest() { db.settingsStore = &settingsStore; }

    // Display values in both scopes, different from the defaults and from
    // each other, so a test can tell which scope was read.
    void FillBothScopes(bool markUser) {
        const char* names[] = {"ORVCHARTDOSCALE", "ORVSHOWGRID",    "ORVGRIDSTEP",
                               "ORVISHORGRID",    "ORVHORGRIDSTEP", "ORVCHARTSHOWAVGLINE"};
        for (int i = 0; i < 6; ++i) {
            kv.Set(KeyScope::User, kPath, "ORV", names[i], 100 + i);
            kv.Set(KeyScope::System, kPath, "ORV", names[i], 200 + i);
        }
        if (markUser) kv.Set(KeyScope::User, kPath, "inner", "written_here", 1);
    }

    test::FakeHostDatabase db;
    test::FakeSettingsStore settingsStore;
    test::RecordingKeyValueStore kv;
    ViewSettings settings{&kv};
};

TEST_F(ViewSettingsTest, DefaultsWithoutRecordEvenIfTheStoreHasValues) {
    FillBothScopes(true);
    settings.Load(&db);
    EXPECT_EQ(settings.display, ChartDisplaySettings{});
    EXPECT_EQ(settings.currentPage, 0);
    EXPECT_EQ(settings.charts, PageSelection{});
    EXPECT_EQ(settings.tables, PageSelection{});

    // Neither does a database without a settings store, nor no database.
    db.settingsStore = nullptr;
    settingsStore.Put("ORVORV", FullRecord());
    settings.Load(&db);
    settings.Load(nullptr);
    EXPECT_EQ(settings.display, ChartDisplaySettings{});
    EXPECT_EQ(settings.currentPage, 0);

    // Nor does a record that cannot be read.
    db.settingsStore = &settingsStore;
    settingsStore.Put("ORVORV", FullRecord()).readResult = -1;
    settings.Load(&db);
    EXPECT_EQ(settings.display, ChartDisplaySettings{});
    EXPECT_EQ(settings.currentPage, 0);
}

TEST_F(ViewSettingsTest, LoadsRecordAndMarkedUserScope) {
    settingsStore.Put("ORVORV", FullRecord());
    FillBothScopes(true);
    settings.Load(&db);
    EXPECT_EQ(settings.display, (ChartDisplaySettings{100, 101, 102, 103, 104, 105}));
    EXPECT_EQ(settings.currentPage, 2);
    EXPECT_EQ(settings.charts, (PageSelection{3, -5, 41}));
    EXPECT_EQ(settings.tables, (PageSelection{4, 1219795200, 43}));
}

TEST_F(ViewSettingsTest, UnmarkedUserScopeReadsTheSystemScope) {
    settingsStore.Put("ORVORV", FullRecord());
    FillBothScopes(false);
    settings.Load(&db);
    EXPECT_EQ(settings.display, (ChartDisplaySettings{200, 201, 202, 203, 204, 205}));

    kv.Set(KeyScope::User, kPath, "inner", "written_here", 0);
    settings.Load(&db);
    EXPECT_EQ(settings.display.gridStep, 202);
}

TEST_F(ViewSettingsTest, MarkedUserScopeDoesNotFallBackPerValue) {
    settingsStore.Put("ORVORV", FullRecord());
    FillBothScopes(true);
    kv.values.erase({KeyScope::User, kPath, "ORV", "ORVGRIDSTEP"});
    settings.display.gridStep = 25;
    settings.Load(&db);
    EXPECT_EQ(settings.display.gridStep, 25);  // kept, not the system scope's 202
    EXPECT_EQ(settings.display.showGrid, 101);
}

TEST_F(ViewSettingsTest, MissingKeyKeepsItsFieldAndTextsGiveLeadingIntegers) {
    FieldMap record = FullRecord();
    record.erase("ORVCHARTSSECONDS");
    record["ORVTABLESNPERIOD"] = "  2 days";
    record["ORVTABLESTARGETID"] = "none";
    settingsStore.Put("ORVORV", record);
    settings.charts.seconds = 77;
    settings.Load(&db);
    EXPECT_EQ(settings.charts, (PageSelection{3, 77, 41}));
    EXPECT_EQ(settings.tables.period, 2);
    EXPECT_EQ(settings.tables.targetId, 0);
}

TEST_F(ViewSettingsTest, EntryCountBeyondTheBufferIsClamped) {
    settingsStore.Put("ORVORV", FullRecord()).reportedCount = 100000;
    settings.Load(&db);
    EXPECT_EQ(settings.tables.targetId, 43);
}

TEST_F(ViewSettingsTest, SavesExactlyNineFields) {
    settings.currentPage = 5;
    settings.charts = {1, 1219795200, 7};
    settings.tables = {2, -1, 9};
    ASSERT_EQ(settings.Save(&db), 0);
    ASSERT_EQ(settingsStore.writes, 1);
    EXPECT_EQ(settingsStore.lastWriteCount, 9);
    const FieldMap expected = {{"NAME", "ORVORV"},
                               {"ID", "1330794322"},
                               {"ORVVIEWCURPAGE", "5"},
                               {"ORVCHARTSNPERIOD", "1"},
                               {"ORVCHARTSSECONDS", "1219795200"},
                               {"ORVCHARTSTARGETID", "7"},
                               {"ORVTABLESNPERIOD", "2"},
                               {"ORVTABLESSECONDS", "-1"},
                               {"ORVTABLESTARGETID", "9"}};
    EXPECT_EQ(settingsStore.records.at("ORVORV")->fields, expected);
}

TEST_F(ViewSettingsTest, StoreValuesWrittenAfterTheMarkInOrder) {
    settings.display = {11, 12, 13, 14, 15, 16};
    settings.Save(&db);
    const std::vector<std::string> expected = {
        "inner/written_here=1", "ORV/ORVCHARTDOSCALE=11", "ORV/ORVCHARTSHOWAVGLINE=16", "ORV/ORVSHOWGRID=12",
        "ORV/ORVGRIDSTEP=13",   "ORV/ORVISHORGRID=14",    "ORV/ORVHORGRIDSTEP=15"};
    EXPECT_EQ(kv.writes, expected);
    EXPECT_EQ(kv.ReadInt(KeyScope::User, kPath, "ORV", "ORVGRIDSTEP"), 13);
    EXPECT_FALSE(kv.ReadInt(KeyScope::System, kPath, "ORV", "ORVGRIDSTEP"));
}

TEST_F(ViewSettingsTest, WithoutSettingsStoreOnlyTheDisplaySettingsAreWritten) {
    db.settingsStore = nullptr;
    settings.display.gridStep = 20;
    EXPECT_EQ(settings.Save(&db), 0);
    EXPECT_EQ(settings.Save(nullptr), 0);
    EXPECT_EQ(settingsStore.writes, 0);
    EXPECT_EQ(kv.writes.size(), 14u);
    EXPECT_EQ(kv.ReadInt(KeyScope::User, kPath, "ORV", "ORVGRIDSTEP"), 20);
}

TEST_F(ViewSettingsTest, FailingKeyValueStoreStillWritesTheRecord) {
    kv.failWrites = true;
    settings.currentPage = 3;
    EXPECT_EQ(settings.Save(&db), 0);
    EXPECT_EQ(settingsStore.records.at("ORVORV")->fields.at("ORVVIEWCURPAGE"), "3");

    ViewSettings detached;  // no key-value store at all
    detached.currentPage = 4;
    EXPECT_EQ(detached.Save(&db), 0);
    EXPECT_EQ(settingsStore.records.at("ORVORV")->fields.at("ORVVIEWCURPAGE"), "4");
}

}  // namespace
}  // namespace orv
