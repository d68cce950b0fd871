// Records of every kind through the host interfaces: adding from a FieldMap,
// reading and changing every numbered property and the named facet, lists,
// refused input, ids and indexes, the skip flag, deleted records and the
// settings store.

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <tuple>
#include <vector>

#include "data/FieldText.h"
#include "data/RecordBuffer.h"
#include "tests/host/TestFiles.h"

namespace orv::hostdb {
namespace {

using namespace testing;

using RecordsTest = DatabaseTest;

// A record of every kind added from a FieldMap; each numbered property read
// back, changed, and read again from the file.
TEST_F(RecordsTest, EveryPropertyReadsBackAndChangesPersist) {
    const std::pair<RecordKind, const char*> records[] = {
        {RecordKind::Unit, "ID=40 NAME=cup INDEX=13 PUNITID=9 PCATEGORYID=3 PVALUE=240.0"},
        {RecordKind::Target, "ID=7 NAME=Fibre INDEX=8 UNITID=1 TYPE=0 PCATEGORYID=2"},
        {RecordKind::Group,
         "ID=20 NAME=Drinks PARENTID=4 COUNT=2 UNITID=9 GROUPATTRS=200 PCATEGORYID=1 TYPE=3 TARGETS=2;5"},
        {RecordKind::Item, "ID=300 NAME=Cola MATTERID=20 COUNT=2 DEFAULTVALUE=330.000000 VALUES=0.106000;0.420000"},
        {RecordKind::Value,
         "ID=1 NAME=iced INDEX=1 MATTERID=20 ITEMID=300 VALUE=500.000000 ITEMINDEX=65535 SECONDS=-1"},
    };
    for (const auto& [kind, text] : records) ASSERT_EQ(Add(*db_->Table(kind), Fields(text)), 0) << text;

    struct Row {
        RecordKind kind;
        int32_t id, property, size, element;
        bool real;
        double added, changed;  // 0 changed: left as it is
    };
    const Row rows[] = {
        {RecordKind::Unit, 40, prop::UnitParentId, 4, 0, false, 9, 10},
        {RecordKind::Unit, 40, prop::UnitValue, 4, 0, true, 240, 0.25},
        {RecordKind::Target, 7, prop::TargetUnitId, 4, 0, false, 1, 3},
        {RecordKind::Target, 7, prop::TargetType, 4, 0, false, 0, 1},
        {RecordKind::Group, 20, prop::GroupParentId, 4, 0, false, 4, 0},
        {RecordKind::Group, 20, prop::GroupUnitId, 4, 0, false, 9, 0},
        {RecordKind::Group, 20, prop::GroupType, 4, 0, false, 3, 0},
        {RecordKind::Group, 20, prop::GroupCount, 1, 0, false, 2, 0},
        {RecordKind::Group, 20, prop::GroupAttrs, 1, 0, false, 200, 7},
        {RecordKind::Group, 20, prop::GroupTargets, 4, 0, false, 2, 11},
        {RecordKind::Group, 20, prop::GroupTargets, 4, 1, false, 5, 0},
        {RecordKind::Item, 300, prop::ItemMatterId, 4, 0, false, 20, 0},
        {RecordKind::Item, 300, prop::ItemCount, 2, 0, false, 2, 0},
        {RecordKind::Item, 300, prop::ItemDefaultValue, 4, 0, true, 330, 0},
        {RecordKind::Item, 300, prop::ItemValues, 4, 0, true, 0.106, 0.5},
        {RecordKind::Item, 300, prop::ItemValues, 4, 1, true, 0.42, 0},
        {RecordKind::Value, 1, prop::ValueMatterId, 4, 0, false, 20, 0},
        {RecordKind::Value, 1, prop::ValueItemId, 4, 0, false, 300, 0},
        {RecordKind::Value, 1, prop::ValueValue, 4, 0, true, 500, 250.5},
        {RecordKind::Value, 1, prop::ValueItemIndex, 2, 0, false, 65535, 12},
        {RecordKind::Value, 1, prop::ValueSeconds, 4, 0, false, 4294967295.0, 2147483648.0},  // read unsigned
    };
    // Reads exactly `size` bytes: the rest of the buffer is left as it was.
    const auto read = [this](const Row& row) {
        HostRecord* record = db_->Table(row.kind)->Find(row.id);
        if (!record) return -1.0;
        uint8_t buffer[8] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
        if (record->GetProperty(row.property, buffer, row.size, row.element) != 0) return -2.0;
        for (std::size_t k = static_cast<std::size_t>(row.size); k < sizeof buffer; ++k)
            if (buffer[k] != 0xEE) return -3.0;
        float real = 0;
        uint32_t whole = 0;
        std::memcpy(row.real ? static_cast<void*>(&real) : &whole, buffer, static_cast<std::size_t>(row.size));
        return row.real ? static_cast<double>(real) : static_cast<double>(whole);
    };
    for (const Row& row : rows) {
        EXPECT_FLOAT_EQ(read(row), row.added)
            << "property " << std::hex << row.property << " of " << std::dec << row.id;
        if (row.changed == 0) continue;
        HostRecord& record = *db_->Table(row.kind)->Find(row.id);
        const float real = static_cast<float>(row.changed);
        const uint32_t whole = static_cast<uint32_t>(row.changed);
        EXPECT_EQ(record.SetProperty(row.property, row.real ? static_cast<const void*>(&real) : &whole, row.size,
                                     row.element),
                  0);
    }
    HostRecord* cup = db_->Units()->Find(40);
    EXPECT_EQ(cup->Named().SetName("mug"), 0);
    EXPECT_EQ(cup->SetCategory(15), 0);
    EXPECT_EQ(cup->Commit(), 0);

    Reopen();  // every change is in the file
    for (const Row& row : rows) {
        EXPECT_FLOAT_EQ(read(row), row.changed == 0 ? row.added : row.changed)
            << "property " << std::hex << row.property << " of " << std::dec << row.id;
    }
    cup = db_->Units()->Find(40);
    // Groups and items have no INDEX field: their sort position is the id.
    EXPECT_EQ(std::tuple(Name(cup->Named()), cup->GetCategory(), cup->Named().GetIndex(), cup->IsSkipped(),
                         db_->Targets()->Find(7)->GetCategory(), Name(db_->Values()->Find(1)->Named()),
                         db_->Groups()->Find(20)->Named().GetIndex(), db_->Items()->Find(300)->Named().GetIndex()),
              std::tuple("mug", 15, 13, 0, 2, "iced", 20, 300));
}

// COUNT decides a list's length: up to 31 elements round-trip, growing adds
// zeros, shrinking drops the tail, a 32nd element does not fit.
TEST_F(RecordsTest, ListsFollowTheirCount) {
    std::vector<int32_t> targets;
    std::vector<float> amounts;
    for (int32_t k = 0; k < 31; ++k) {
        targets.push_back(1000 + k * 37);
        amounts.push_back(0.125f * static_cast<float>(k) - 1.5f);
    }
    ASSERT_EQ(Add(*db_->Groups(), {{"ID", "50"}, {"COUNT", "31"}, {"TARGETS", IntListText(targets)}}), 0);
    ASSERT_EQ(
        Add(*db_->Items(), {{"ID", "60"}, {"MATTERID", "50"}, {"COUNT", "31"}, {"VALUES", RealListText(amounts)}}), 0);
    Reopen();
    HostRecord* g = db_->Groups()->Find(50);
    HostRecord* i = db_->Items()->Find(60);
    ASSERT_TRUE(g && i);
    for (int32_t k = 0; k < 31; ++k) {
        EXPECT_EQ(GetInt(*g, prop::GroupTargets, 4, k), targets[static_cast<std::size_t>(k)]);
        EXPECT_EQ(GetFloat(*i, prop::ItemValues, k), amounts[static_cast<std::size_t>(k)]);
    }
    int32_t out = 0;
    EXPECT_LT(g->GetProperty(prop::GroupTargets, &out, 4, 31), 0);
    EXPECT_LT(SetInt(*g, prop::GroupCount, 32, 1), 0);
    EXPECT_EQ(GetInt(*g, prop::GroupCount, 1), 31);

    ASSERT_EQ(SetInt(*g, prop::GroupCount, 0, 1), 0);
    EXPECT_LT(g->GetProperty(prop::GroupTargets, &out, 4, 0), 0);
    EXPECT_LT(SetInt(*g, prop::GroupTargets, 3, 4, 0), 0);
    ASSERT_EQ(SetInt(*g, prop::GroupCount, 2, 1), 0);
    EXPECT_EQ(GetInt(*g, prop::GroupTargets, 4, 1), 0);

    // An item whose COUNT exceeds its list gets zero amounts for the rest.
    ASSERT_EQ(Add(*db_->Items(), {{"ID", "71"}, {"MATTERID", "50"}, {"COUNT", "3"}, {"VALUES", "2.5"}}), 0);
    EXPECT_FLOAT_EQ(GetFloat(*db_->Items()->Find(71), prop::ItemValues, 0), 2.5f);
    EXPECT_FLOAT_EQ(GetFloat(*db_->Items()->Find(71), prop::ItemValues, 2), 0.0f);
}

TEST_F(RecordsTest, RefusedFieldMapsWriteNothing) {
    const std::vector<std::pair<RecordKind, FieldMap>> refused = {
        {RecordKind::Unit, {{"ID", "90"}, {"NAME", "x"}, {"PVALUE", "1,5"}}},
        {RecordKind::Unit, {{"ID", "90"}, {"NAME", "x"}, {"PUNITID", "2x"}}},
        {RecordKind::Unit, {{"NAME", "no id"}}},
        {RecordKind::Unit, {{"ID", "1"}, {"NAME", "duplicate of g"}}},
        {RecordKind::Target, {{"ID", "90"}, {"PCATEGORYID", "16"}}},
        {RecordKind::Target, {{"ID", "ninety"}}},
        {RecordKind::Group, {{"ID", "90"}, {"COUNT", "2"}, {"TARGETS", "1;2;"}}},
        {RecordKind::Group, {{"ID", "90"}, {"COUNT", "1"}, {"TARGETS", "1;2"}}},
        {RecordKind::Group, {{"ID", "90"}, {"COUNT", "32"}}},
        {RecordKind::Group, {{"ID", "90"}, {"GROUPATTRS", "256"}}},
        {RecordKind::Item, {{"ID", "90"}, {"VALUES", "1.0;abc"}}},
        {RecordKind::Item, {{"ID", "90"}, {"DEFAULTVALUE", "nan"}}},
        {RecordKind::Value, {{"ID", "90"}, {"ITEMINDEX", "65536"}}},
        {RecordKind::Value, {{"ID", "90"}, {"SECONDS", "4294967296"}}},
        {RecordKind::Value, {{"ID", "90"}, {"VALUE", "1e300"}}},
    };
    // Every write reaches the file or its log, so equal bytes mean nothing was added.
    const std::string before = ReadBytes(dir_.File("orv.sqlite")) + ReadBytes(dir_.File("orv.sqlite-wal"));
    for (const auto& [kind, fields] : refused) {
        EXPECT_LT(db_->Table(kind)->Add(&fields), 0) << fields.begin()->first << "=" << fields.begin()->second;
    }
    EXPECT_LT(db_->Units()->Add(nullptr), 0);
    EXPECT_EQ(Name(db_->Units()->Find(1)->Named()), "g");
    EXPECT_EQ(ReadBytes(dir_.File("orv.sqlite")) + ReadBytes(dir_.File("orv.sqlite-wal")), before);
}

TEST_F(RecordsTest, MaxIdAndMaxIndexGiveFreeNumbers) {
    HostTable& values = *db_->Values();
    EXPECT_EQ(values.MaxId(), 0);
    EXPECT_EQ(values.MaxIndex(), 0);
    ASSERT_EQ(Add(values, FieldMap{{"ID", "5"}, {"INDEX", "9"}}), 0);
    ASSERT_EQ(Add(values, FieldMap{{"ID", "3"}, {"INDEX", "2"}}), 0);
    EXPECT_EQ(values.MaxId(), 5);
    EXPECT_EQ(values.MaxIndex(), 9);
    // Without INDEX a value goes after the last one.
    ASSERT_EQ(Add(values, FieldMap{{"ID", "6"}}), 0);
    EXPECT_EQ(values.Find(6)->Named().GetIndex(), 10);
}

TEST_F(RecordsTest, PropertyMisuseIsRefusedAndChangesNothing) {
    HostRecord* g = db_->Groups()->Find(2);  // Food: four targets
    ASSERT_TRUE(g);
    int32_t out = 0;
    EXPECT_LT(g->GetProperty(prop::UnitValue, &out, 4, 0), 0);    // a unit's property
    EXPECT_LT(g->GetProperty(prop::GroupCount, &out, 4, 0), 0);   // one byte, not four
    EXPECT_LT(g->GetProperty(prop::GroupUnitId, &out, 4, 1), 0);  // a scalar has no element 1
    EXPECT_LT(g->GetProperty(prop::GroupTargets, &out, 4, -1), 0);
    EXPECT_LT(SetInt(*g, prop::GroupTargets, 1, 4, 4), 0);
    EXPECT_LT(SetInt(*g, prop::GroupUnitId, 1, 2), 0);
    EXPECT_LT(g->SetCategory(16), 0);
    EXPECT_LT(g->Named().SetName(nullptr), 0);
    EXPECT_LT(g->Delete(0), 0);
    HostRecord* item = db_->Items()->Find(1);
    EXPECT_LT(SetFloat(*item, prop::ItemDefaultValue, std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(db_->Categories(RecordKind::Item), nullptr);  // items have no categories

    Reopen();
    g = db_->Groups()->Find(2);
    ASSERT_TRUE(g);
    EXPECT_EQ(std::tuple(GetInt(*g, prop::GroupCount, 1), GetInt(*g, prop::GroupUnitId), g->GetCategory(),
                         GetFloat(*db_->Items()->Find(1), prop::ItemDefaultValue)),
              std::tuple(4, 1, 0, 5.5f));
}

TEST_F(RecordsTest, NamesAreCutOnCharacterBoundaries) {
    HostRecord* unit = db_->Units()->Find(1);
    ASSERT_EQ(unit->Named().SetName("Cr\xC3\xA8me"), 0);  // "Crème"
    char buffer[8];
    std::memset(buffer, 'X', sizeof buffer);
    ASSERT_EQ(unit->Named().GetName(buffer, 4), 0);  // room for 3 bytes: "Cr" and half an è
    EXPECT_STREQ(buffer, "Cr");
    EXPECT_EQ(buffer[4], 'X');
    ASSERT_EQ(unit->Named().GetName(buffer, 5), 0);
    EXPECT_STREQ(buffer, "Cr\xC3\xA8");
    EXPECT_LT(unit->Named().GetName(buffer, 0), 0);
}

TEST_F(RecordsTest, RecordObjectsOutliveTheirRecords) {
    HostTable& units = *db_->Units();
    HostRecord* kg = units.Find(2);
    ASSERT_TRUE(kg);
    EXPECT_EQ(units.Find(2), kg);  // one object per record
    units.MoveFirst();
    units.MoveNext();
    EXPECT_EQ(units.Current(), kg);

    ASSERT_EQ(kg->Delete(1), 0);
    EXPECT_EQ(units.Find(2), nullptr);
    EXPECT_NE(kg->IsSkipped(), 0);
    int32_t out = 0;
    EXPECT_LT(kg->GetProperty(prop::UnitParentId, &out, 4, 0), 0);
    EXPECT_LT(SetInt(*kg, prop::UnitParentId, 3), 0);
    EXPECT_LT(kg->Named().SetName("kilo"), 0);
    EXPECT_LT(kg->Delete(1), 0);
    EXPECT_EQ(kg->Named().GetId(), 2);
    for (units.MoveFirst(); !units.IsEnd(); units.MoveNext()) EXPECT_NE(units.Current()->Named().GetId(), 2);
    Reopen();
    EXPECT_EQ(db_->Units()->Find(2), nullptr);
}

using StoreTest = DatabaseTest;

TEST_F(StoreTest, SettingsRecordRoundTripsThroughTheRecordBuffer) {
    EXPECT_EQ(db_->SettingsStore()->Find("ORVORV"), nullptr);
    const auto write = [this](const FieldMap& fields) {
        RecordBuffer out;
        int32_t count = out.capacity();
        ASSERT_EQ(out.Encode(fields, &count), 0);
        ASSERT_EQ(db_->SettingsStore()->Write(out.data(), count), 0);
    };
    const auto read = [](HostSettingsRecord& record) {
        RecordBuffer in;
        int32_t count = in.capacity();
        FieldMap fields;
        EXPECT_EQ(record.Read(in.data(), &count), 0);
        EXPECT_EQ(in.Decode(fields, count), 0);
        return fields;
    };
    const FieldMap written = {{"NAME", "ORVORV"}, {"ID", "1"}, {"ORVCHARTSNPERIOD", "3"}, {"NOTE", "caf\xC3\xA9"}};
    write(written);
    Reopen();
    HostSettingsRecord* record = db_->SettingsStore()->Find("ORVORV");
    ASSERT_TRUE(record);
    EXPECT_EQ(db_->SettingsStore()->Find("ORVORV"), record);
    EXPECT_EQ(read(*record), written);

    // Writing again replaces the whole record: a field left out is gone.
    const FieldMap replaced = {{"NAME", "ORVORV"}, {"ORVCHARTSNPERIOD", "5"}};
    write(replaced);
    EXPECT_EQ(read(*record), replaced);

    // Too few entries offered: refused, the count is not trusted.
    RecordBuffer small(1);
    int32_t count = 1;
    EXPECT_LT(record->Read(small.data(), &count), 0);
}

}  // namespace
}  // namespace orv::hostdb
