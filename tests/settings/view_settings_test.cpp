// The view settings on the stores they live in: the per-user key-value store
// on its two files (the user's, and the system's an administrator fills) and
// the settings record of a SQLite host database.

#include "settings/ViewSettings.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <tuple>

#include "data/RecordBuffer.h"
#include "host/db/SqliteHostDatabase.h"
#include "platform/QtKeyValueStore.h"

namespace orv {
namespace {

constexpr const char* kPath = ViewSettings::kStorePath;
// The same place as an ini file key.
const QString kIniKey = QStringLiteral("Software/OrvMain/ORV/ORVDesktop/Base/General/ORV/");

// Every record-stored key with a distinct value.
FieldMap FullRecord() {
    return {{"NAME", "ORVORV"},         {"ID", "1330794322"},
            {"ORVVIEWCURPAGE", "2"},    {"ORVCHARTSNPERIOD", "3"},
            {"ORVCHARTSSECONDS", "-5"}, {"ORVCHARTSTARGETID", "41"},
            {"ORVTABLESNPERIOD", "4"},  {"ORVTABLESSECONDS", "1219795200"},
            {"ORVTABLESTARGETID", "43"}};
}

// Every field a load fills, to compare two settings at once.
auto Fields(const ViewSettings& s) { return std::tuple(s.display, s.currentPage, s.charts, s.tables); }

class ViewSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        std::string error;
        db = hostdb::SqliteHostDatabase::Open(":memory:", &error);
        ASSERT_TRUE(db) << error;
    }

    QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // What an administrator would put in the system file.
    void WriteSystem(const char* name, const QVariant& value) {
        QSettings system(File("system.ini"), QSettings::IniFormat);
        system.setValue(kIniKey + name, value);
    }

    // Display values in both scopes, different from the defaults and from
    // each other, so a test can tell which scope was read.
    void FillBothScopes(bool markUser) {
        for (std::size_t i = 0; i < ViewSettings::kStoreKeyCount; ++i) {
            ASSERT_TRUE(kv.WriteInt(kPath, "ORV", ViewSettings::kKeys[i], 100 + static_cast<int32_t>(i)));
            WriteSystem(ViewSettings::kKeys[i], 200 + static_cast<int>(i));
        }
        ASSERT_TRUE(!markUser || kv.MarkWrittenHere(kPath));
    }

    void PutRecord(const FieldMap& fields) {
        RecordBuffer buffer(RecordBuffer::kDefaultEntries);
        int32_t count = buffer.capacity();
        ASSERT_EQ(buffer.Encode(fields, &count), 0);
        ASSERT_EQ(db->SettingsStore()->Write(buffer.data(), count), 0);
    }

    FieldMap StoredRecord() {
        FieldMap fields;
        HostSettingsRecord* record = db->SettingsStore()->Find(ViewSettings::kRecordName);
        if (!record) return fields;
        RecordBuffer buffer(RecordBuffer::kDefaultEntries);
        int32_t count = buffer.capacity();
        EXPECT_EQ(record->Read(buffer.data(), &count), 0);
        buffer.Decode(fields, count);
        return fields;
    }

    QTemporaryDir dir;
    std::unique_ptr<hostdb::SqliteHostDatabase> db;
    QtKeyValueStore kv{File("user.ini"), File("system.ini")};
    ViewSettings settings{&kv};
};

TEST_F(ViewSettingsTest, TheKeyValueStoreWritesTheUserFileAndReadsNumbersOfBothScopes) {
    ASSERT_TRUE(kv.WriteInt(kPath, "ORV", "ORVGRIDSTEP", 15));
    EXPECT_EQ(kv.ReadInt(KeyScope::User, kPath, "ORV", "ORVGRIDSTEP"), 15);
    EXPECT_EQ(QSettings(File("user.ini"), QSettings::IniFormat).value(kIniKey + "ORVGRIDSTEP").toInt(), 15);

    WriteSystem("ORVSHOWGRID", 0);
    WriteSystem("BIG", "4294967295");
    WriteSystem("TEXT", "ten");
    WriteSystem("HUGE", "99999999999");
    EXPECT_EQ(kv.ReadInt(KeyScope::System, kPath, "ORV", "ORVSHOWGRID"), 0);
    EXPECT_EQ(kv.ReadInt(KeyScope::System, kPath, "ORV", "BIG"), -1);  // a DWORD keeps its bits
    for (const char* name : {"TEXT", "HUGE", "MISSING", "ORVGRIDSTEP"})
        EXPECT_FALSE(kv.ReadInt(KeyScope::System, kPath, "ORV", name)) << name;
    EXPECT_FALSE(kv.ReadInt(KeyScope::User, kPath, "ORV", "ORVSHOWGRID"));

    // A user file that cannot be made: a plain file stands where its folder should be.
    ASSERT_TRUE(QFile(File("plain")).open(QIODevice::WriteOnly));
    QtKeyValueStore broken(File("plain") + "/sub/user.ini", File("system.ini"));
    EXPECT_FALSE(broken.WriteInt(kPath, "ORV", "ORVGRIDSTEP", 5));
    EXPECT_FALSE(broken.ReadInt(KeyScope::User, kPath, "ORV", "ORVGRIDSTEP"));
}

TEST_F(ViewSettingsTest, WithoutARecordNothingIsLoaded) {
    FillBothScopes(true);
    const ViewSettings defaults;
    settings.Load(db.get());
    settings.Load(nullptr);
    EXPECT_EQ(Fields(settings), Fields(defaults));
}

TEST_F(ViewSettingsTest, TheRecordAndTheMarkedScopeAreRead) {
    PutRecord(FullRecord());
    FillBothScopes(true);
    settings.Load(db.get());
    EXPECT_EQ(Fields(settings), std::tuple(ChartDisplaySettings{100, 101, 102, 103, 104, 105}, 2,
                                           PageSelection{3, -5, 41}, PageSelection{4, 1219795200, 43}));

    // A marked user scope does not fall back to the system scope per value.
    QSettings(File("user.ini"), QSettings::IniFormat).remove(kIniKey + "ORVGRIDSTEP");
    settings.display.gridStep = 25;
    settings.Load(db.get());
    EXPECT_EQ(settings.display.gridStep, 25);

    // Unmarked (or marked 0), the system scope is read.
    ASSERT_TRUE(kv.WriteInt(kPath, "inner", "written_here", 0));
    settings.Load(db.get());
    EXPECT_EQ(settings.display, (ChartDisplaySettings{200, 201, 202, 203, 204, 205}));
}

TEST_F(ViewSettingsTest, MissingKeysKeepTheirFieldsAndTextsGiveLeadingIntegers) {
    FieldMap record = FullRecord();
    record.erase("ORVCHARTSSECONDS");
    record["ORVTABLESNPERIOD"] = "  2 days";
    record["ORVTABLESTARGETID"] = "none";
    PutRecord(record);
    settings.charts.seconds = 77;
    settings.Load(db.get());
    EXPECT_EQ(std::tuple(settings.charts, settings.tables),
              std::tuple(PageSelection{3, 77, 41}, PageSelection{2, 1219795200, 0}));
}

TEST_F(ViewSettingsTest, SavingWritesTheRecordTheMarkAndTheDisplayValues) {
    settings.display = {11, 12, 13, 14, 15, 16};
    settings.currentPage = 5;
    settings.charts = {1, 1219795200, 7};
    settings.tables = {2, -1, 9};
    ASSERT_EQ(settings.Save(db.get()), 0);
    // NAME, ID and the seven page keys, and no empty entries past them.
    const FieldMap stored = StoredRecord();
    EXPECT_EQ(std::pair(stored.size(), stored.at("ID")), std::pair(std::size_t{9}, std::string("1330794322")));
    ViewSettings loaded(&kv);
    loaded.Load(db.get());
    EXPECT_EQ(Fields(loaded), Fields(settings));
    EXPECT_TRUE(kv.IsWrittenHere(kPath));
    EXPECT_FALSE(kv.ReadInt(KeyScope::System, kPath, "ORV", "ORVGRIDSTEP"));
}

TEST_F(ViewSettingsTest, EachStoreIsWrittenWithoutTheOther) {
    settings.display.gridStep = 20;
    EXPECT_EQ(settings.Save(nullptr), 0);
    EXPECT_EQ(kv.ReadInt(KeyScope::User, kPath, "ORV", "ORVGRIDSTEP"), 20);

    QtKeyValueStore broken(File("user.ini") + "/sub/user.ini", File("system.ini"));  // cannot be written
    settings.SetKeyValueStore(&broken);
    settings.currentPage = 3;
    EXPECT_EQ(settings.Save(db.get()), 0);
    EXPECT_EQ(StoredRecord().at("ORVVIEWCURPAGE"), "3");
    ViewSettings detached;  // no key-value store at all
    detached.currentPage = 4;
    EXPECT_EQ(detached.Save(db.get()), 0);
    EXPECT_EQ(StoredRecord().at("ORVVIEWCURPAGE"), "4");
}

}  // namespace
}  // namespace orv
