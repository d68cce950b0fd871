// The database file: a new file's starter structure, refusing files that are
// not ours, backups, and waiting for another
// program that holds the write lock.

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "tests/host/TestFiles.h"

namespace orv::hostdb {
namespace {

using namespace testing;

TEST(HostDatabaseFile, NewDatabaseHasARealisticStarterStructure) {
    TempDir dir;
    const std::string path = dir.File("new.sqlite");
    WriteBytes(path, "");  // a zero-byte file is a new database too
    std::string error;
    auto db = SqliteHostDatabase::Open(path, &error);
    ASSERT_TRUE(db) << error;
    EXPECT_EQ(RawText(path, "PRAGMA journal_mode"), "wal");

    // Every unit's base is itself a base unit; every group lists existing
    // targets and unit; every item has one amount per target of its group.
    HostTable& units = *db->Units();
    for (units.MoveFirst(); !units.IsEnd(); units.MoveNext()) {
        const int32_t base = GetInt(*units.Current(), prop::UnitParentId);
        if (base != 0) {
            EXPECT_EQ(GetInt(*units.Find(base), prop::UnitParentId), 0) << base;
        }
    }
    HostTable& groups = *db->Groups();
    for (groups.MoveFirst(); !groups.IsEnd(); groups.MoveNext()) {
        HostRecord& g = *groups.Current();
        for (int32_t k = 0; k < GetInt(g, prop::GroupCount, 1); ++k)
            EXPECT_TRUE(db->Targets()->Find(GetInt(g, prop::GroupTargets, 4, k)));
        EXPECT_TRUE(units.Find(GetInt(g, prop::GroupUnitId)));
    }
    HostTable& items = *db->Items();
    for (items.MoveFirst(); !items.IsEnd(); items.MoveNext()) {
        HostRecord& item = *items.Current();
        HostRecord* group = groups.Find(GetInt(item, prop::ItemMatterId));
        ASSERT_TRUE(group) << Name(item.Named());
        EXPECT_EQ(GetInt(item, prop::ItemCount, 2), GetInt(*group, prop::GroupCount, 1)) << Name(item.Named());
    }
    db->Values()->MoveFirst();
    EXPECT_TRUE(db->Values()->IsEnd());
    EXPECT_EQ(db->Values()->Current(), nullptr);
}

// Files that are not ours, and one of ours cut to half its length (a page
// overwritten in the middle is the command-line test's case): refused with
// the path and why, and left as they were.
TEST(HostDatabaseFile, FilesThatAreNotOursOrDamagedAreRefusedAndLeftAlone) {
    TempDir dir;
    WriteBytes(dir.File("notes.txt"), "Shopping list\nbread\nmilk\n");
    WriteBytes(dir.File("short.bin"), "SQLite f");
    RawSql(dir.File("other-app.sqlite"), "CREATE TABLE contacts (name TEXT); INSERT INTO contacts VALUES ('Ann');");
    RawSql(dir.File("other-id.sqlite"), "PRAGMA application_id = 1234; CREATE TABLE t (x); PRAGMA journal_mode = WAL;");
    RawSql(dir.File("blank-sqlite.sqlite"), "PRAGMA user_version = 7;");
    ASSERT_TRUE(SqliteHostDatabase::Open(dir.File("newer.sqlite"), nullptr));
    RawSql(dir.File("newer.sqlite"), "PRAGMA user_version = 99;");
    const std::string cut = ReadBytes(WriteSample(dir.File("cut.sqlite"), 3000));
    ASSERT_GT(cut.size(), 40000u);
    WriteBytes(dir.File("cut.sqlite"), cut.substr(0, cut.size() / 2));

    // The file, then what the refusal says: what it is, and that it was kept.
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"notes.txt", "not an ORV database", "left unchanged"},
        {"short.bin", "not an ORV database", "left unchanged"},
        {"other-app.sqlite", "not an ORV database", "left unchanged"},
        {"other-id.sqlite", "not an ORV database", "left unchanged"},
        {"blank-sqlite.sqlite", "not an ORV database", "left unchanged"},
        {"newer.sqlite", "not an ORV database", "left unchanged"},
        {"cut.sqlite", "damaged", "not changed"},
    };
    for (const auto& [name, what, kept] : rows) {
        const std::string path = dir.File(name);
        const std::string before = ReadBytes(path);
        std::string error;
        EXPECT_EQ(SqliteHostDatabase::Open(path, &error), nullptr) << path;
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_NE(error.find(what), std::string::npos) << error;
        EXPECT_NE(error.find(kept), std::string::npos) << error;
        EXPECT_TRUE(ReadBytes(path) == before) << path << " was changed";
        EXPECT_FALSE(std::filesystem::exists(path + "-wal")) << path;
        EXPECT_FALSE(std::filesystem::exists(path + "-shm")) << path;
    }

    std::string error;
    EXPECT_EQ(SqliteHostDatabase::Open(dir.File(""), &error), nullptr);  // the directory itself
    EXPECT_FALSE(error.empty());
}

TEST(HostDatabaseFile, ABackupTakenWhileAnotherProgramWritesHoldsOneCommittedState) {
    TempDir dir;
    const std::string path = WriteSample(dir.File("orv.sqlite"), 3000);
    const std::string backup = dir.File("backup.sqlite");
    std::string error;
    auto db = SqliteHostDatabase::Open(path, &error);
    ASSERT_TRUE(db) << error;

    int steps = 0;
    const bool ok = db->BackupTo(backup, &error, [&](int, int) {
        if (++steps == 1) {
            RawSql(path,
                   "INSERT INTO tracked_values (id, idx, item_id, value, seconds) VALUES (90000, 90000, 1, 4.5, 7);"
                   "UPDATE items SET default_value = 42 WHERE id = 1;");
        }
    });
    ASSERT_TRUE(ok) << error;
    EXPECT_GT(steps, 1) << "the copy ran in several steps";
    EXPECT_EQ(RawText(backup, "PRAGMA quick_check"), "ok");
    EXPECT_EQ(RawText(backup, "SELECT count(*) FROM tracked_values"), "3001");
    EXPECT_EQ(RawText(backup, "SELECT default_value FROM items WHERE id = 1"), "42.0");
    auto copy = SqliteHostDatabase::Open(backup, &error);
    ASSERT_TRUE(copy) << error;
    EXPECT_TRUE(copy->Values()->Find(90000));

    // Never onto the open database (other spellings: the command-line test).
    EXPECT_FALSE(db->BackupTo(path, &error));
    EXPECT_NE(error.find("open database"), std::string::npos) << error;
    db.reset();
    EXPECT_EQ(RawText(path, "SELECT count(*) FROM tracked_values"), "3001");
}

}  // namespace
}  // namespace orv::hostdb
