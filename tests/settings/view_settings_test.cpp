#include "settings/ViewSettings.h"

#include <gtest/gtest.h>

#include <tuple>

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

// Every field a load fills, to compare two settings at once.
auto Fields(const ViewSettings& s) { return std::tuple(s.display, s.currentPage, s.charts, s.tables); }

class ViewSettingsTest : public ::testing::Test {
protected:
    ViewSettingsTest() { db.settingsStore = &settingsStore; }

    // Display values in both scopes, different from the defaults and from
    // each other, so a test can tell which scope was read.
    void FillBothScopes(bool markUser) {
        for (std::size_t i = 0; i < ViewSettings::kStoreKeyCount; ++i) {
            kv.Set(KeyScope::User, kPath, "ORV", ViewSettings::kKeys[i], 100 + static_cast<int32_t>(i));
            kv.Set(KeyScope::System, kPath, "ORV", ViewSettings::kKeys[i], 200 + static_cast<int32_t>(i));
        }
        if (markUser) kv.Set(KeyScope::User, kPath, "inner", "written_here", 1);
    }

    test::FakeHostDatabase db;
    test::FakeSettingsStore settingsStore;
    test::RecordingKeyValueStore kv;
    ViewSettings settings{&kv};
};

TEST_F(ViewSettingsTest, WithoutAReadableRecordNothingIsLoaded) {
    FillBothScopes(true);
    const ViewSettings defaults;
    settings.Load(&db);  // no record
    settingsStore.Put("ORVORV", FullRecord()).readResult = -1;
    settings.Load(&db);  // a record that cannot be read
    settings.Load(nullptr);
    db.settingsStore = nullptr;
    settings.Load(&db);  // no settings store
    EXPECT_EQ(Fields(settings), Fields(defaults));
}

TEST_F(ViewSettingsTest, TheRecordAndTheMarkedScopeAreRead) {
    settingsStore.Put("ORVORV", FullRecord());
    FillBothScopes(true);
    settings.Load(&db);
    EXPECT_EQ(Fields(settings), std::tuple(ChartDisplaySettings{100, 101, 102, 103, 104, 105}, 2,
                                           PageSelection{3, -5, 41}, PageSelection{4, 1219795200, 43}));

    // A marked user scope does not fall back to the system scope per value.
    kv.values.erase({KeyScope::User, kPath, "ORV", "ORVGRIDSTEP"});
    settings.display.gridStep = 25;
    settings.Load(&db);
    EXPECT_EQ(settings.display.gridStep, 25);

    // Unmarked (or marked 0), the system scope is read.
    kv.Set(KeyScope::User, kPath, "inner", "written_here", 0);
    settings.Load(&db);
    EXPECT_EQ(settings.display, (ChartDisplaySettings{200, 201, 202, 203, 204, 205}));
}

TEST_F(ViewSettingsTest, MissingKeysKeepTheirFieldsAndTextsGiveLeadingIntegers) {
    FieldMap record = FullRecord();
    record.erase("ORVCHARTSSECONDS");
    record["ORVTABLESNPERIOD"] = "  2 days";
    record["ORVTABLESTARGETID"] = "none";
    settingsStore.Put("ORVORV", record).reportedCount = 100000;  // a count beyond the buffer is clamped
    settings.charts.seconds = 77;
    settings.Load(&db);
    EXPECT_EQ(std::tuple(settings.charts, settings.tables),
              std::tuple(PageSelection{3, 77, 41}, PageSelection{2, 1219795200, 0}));
}

TEST_F(ViewSettingsTest, SavingWritesTheRecordAndTheMarkBeforeTheDisplayValues) {
    settings.display = {11, 12, 13, 14, 15, 16};
    settings.currentPage = 5;
    settings.charts = {1, 1219795200, 7};
    settings.tables = {2, -1, 9};
    ASSERT_EQ(settings.Save(&db), 0);
    // NAME, ID and the seven page keys, and no empty entries past them.
    EXPECT_EQ(settingsStore.records.at("ORVORV")->fields.size(), 9u);
    ViewSettings loaded(&kv);
    loaded.Load(&db);
    EXPECT_EQ(Fields(loaded), Fields(settings));
    EXPECT_EQ(settingsStore.records.at("ORVORV")->fields.at("ID"), "1330794322");
    EXPECT_EQ(kv.writes.front(), "inner/written_here=1");
    EXPECT_FALSE(kv.ReadInt(KeyScope::System, kPath, "ORV", "ORVGRIDSTEP"));
}

TEST_F(ViewSettingsTest, EachStoreIsWrittenWithoutTheOther) {
    db.settingsStore = nullptr;
    settings.display.gridStep = 20;
    EXPECT_EQ(settings.Save(&db), 0);
    EXPECT_EQ(settings.Save(nullptr), 0);
    EXPECT_EQ(kv.writes.size(), 14u);
    EXPECT_EQ(kv.ReadInt(KeyScope::User, kPath, "ORV", "ORVGRIDSTEP"), 20);

    db.settingsStore = &settingsStore;
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
