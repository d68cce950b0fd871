// What the host offers beyond the numbered interfaces: change versions per
// record kind, all-or-nothing changes, busy and read-only write results, and
// the database file's path.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <tuple>

#include "host/db/Schema.h"
#include "tests/host/TestFiles.h"

namespace orv::hostdb {
namespace {

using namespace testing;

constexpr int32_t kValues = static_cast<int32_t>(RecordKind::Value);
constexpr int32_t kUnits = static_cast<int32_t>(RecordKind::Unit);

FieldMap Value(int32_t id) {
    return Fields("ID=" + std::to_string(id) + " INDEX=" + std::to_string(id) +
                  " MATTERID=1 ITEMID=1 VALUE=6.100000 SECONDS=1700000000");
}

using ExtensionsTest = DatabaseTest;

TEST_F(ExtensionsTest, ChangeVersionsMoveForOwnAndOtherWritesOfTheirKindOnly) {
    HostExtensions& ext = *db_->Extensions();
    const uint64_t values = ext.ChangeVersion(kValues);
    const uint64_t units = ext.ChangeVersion(kUnits);
    const uint64_t settings = ext.ChangeVersion(changekind::kSettings);
    EXPECT_NE(values, 0u);
    EXPECT_EQ(ext.ChangeVersion(kValues), values) << "nothing changed";
    EXPECT_EQ(ext.ChangeVersion(99), 0u);

    // Another program adds a value.
    RawSql(db_->Path(),
           "INSERT INTO tracked_values (id, idx, item_id, value, seconds) VALUES (500, 500, 1, 2.5, 1700000000)");
    const uint64_t afterOther = ext.ChangeVersion(kValues);
    EXPECT_NE(afterOther, values);
    EXPECT_EQ(ext.ChangeVersion(kUnits), units);

    // Our own writes.
    ASSERT_EQ(db_->Units()->Find(1)->Named().SetName("gram"), 0);
    EXPECT_NE(ext.ChangeVersion(kUnits), units);
    EXPECT_EQ(ext.ChangeVersion(kValues), afterOther);
    EXPECT_EQ(ext.ChangeVersion(changekind::kSettings), settings);

    // A change undone returns no earlier answer.
    const uint64_t beforeChange = ext.ChangeVersion(kValues);
    ASSERT_EQ(ext.BeginChange(), 0);
    ASSERT_EQ(Add(*db_->Values(), Value(501)), 0);
    const uint64_t inChange = ext.ChangeVersion(kValues);
    ASSERT_EQ(ext.EndChange(0), 0);
    EXPECT_EQ((std::set{beforeChange, inChange, ext.ChangeVersion(kValues)}.size()), 3u) << "three distinct versions";
}

TEST_F(ExtensionsTest, AnOlderFileGetsTheChangeCounters) {
    const std::string path = dir_.File("orv.sqlite");
    db_.reset();
    // Back to the first schema version: no counters, no triggers.
    RawSql(path, "DROP TABLE change_counts; PRAGMA user_version = 1;");
    for (const char* kind : {"units", "targets", "item_groups", "items", "tracked_values", "categories", "settings"}) {
        for (const char* event : {"INSERT", "UPDATE", "DELETE"}) {
            RawSql(path, ("DROP TRIGGER count_" + std::string(kind) + "_" + event).c_str());
        }
    }
    Reopen();
    EXPECT_EQ(RawText(path, "PRAGMA user_version"), std::to_string(kSchemaVersion));
    const uint64_t values = db_->ChangeVersion(kValues);
    RawSql(path, "INSERT INTO tracked_values (id, idx) VALUES (7, 7)");
    EXPECT_NE(db_->ChangeVersion(kValues), values);
}

TEST_F(ExtensionsTest, AChangeIsAllOrNothingAndARollbackLeavesNoStaleRecord) {
    HostExtensions& ext = *db_->Extensions();
    HostRecord* item = db_->Items()->Find(1);
    HostRecord* unit = db_->Units()->Find(1);
    ASSERT_TRUE(item && unit);
    const float amount = GetFloat(*item, prop::ItemDefaultValue);
    const std::string unitName = Name(unit->Named());

    ASSERT_EQ(ext.BeginChange(), 0);
    EXPECT_NE(ext.BeginChange(), 0) << "changes do not nest";
    ASSERT_EQ(SetFloat(*item, prop::ItemDefaultValue, amount + 3), 0);
    ASSERT_EQ(Add(*db_->Values(), Value(1)), 0);
    ASSERT_TRUE(db_->Values()->Find(1));
    ASSERT_EQ(unit->Delete(1), 0);
    // Another program sees none of it yet.
    EXPECT_EQ(RawText(db_->Path(), "SELECT count(*) FROM tracked_values"), "0");
    ASSERT_EQ(ext.EndChange(0), 0);

    // The cached rows are brought back, the removal is undone.
    EXPECT_EQ(std::tuple(GetFloat(*item, prop::ItemDefaultValue), db_->Values()->Find(1), unit->IsSkipped(),
                         Name(unit->Named())),
              std::tuple(amount, nullptr, 0, unitName));
    EXPECT_NE(ext.EndChange(1), 0) << "no change open";

    ASSERT_EQ(ext.BeginChange(), 0);
    ASSERT_EQ(SetFloat(*item, prop::ItemDefaultValue, amount + 5), 0);
    ASSERT_EQ(Add(*db_->Values(), Value(2)), 0);
    ASSERT_EQ(ext.EndChange(1), 0);
    Reopen();
    EXPECT_FLOAT_EQ(GetFloat(*db_->Items()->Find(1), prop::ItemDefaultValue), amount + 5);
    EXPECT_TRUE(db_->Values()->Find(2));
}

// A process killed right after its calls return: what it wrote outside a
// change is in the file, nothing of the change it had open is.
TEST(HostDatabaseExtensions, AKilledProcessKeepsItsWritesButNothingOfAnOpenChange) {
    TempDir dir;
    const std::string path = dir.File("orv.sqlite");
    std::string error;
    ASSERT_TRUE(SqliteHostDatabase::Open(path, &error)) << error;

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // No destructor, no close, no checkpoint.
        auto db = SqliteHostDatabase::Open(path, nullptr);
        if (!db || Add(*db->Values(), Value(1)) != 0) _exit(2);
        HostRecord* item = db->Items()->Find(1);
        if (!item || SetFloat(*item, prop::ItemDefaultValue, 7.25f) != 0) _exit(3);
        if (db->BeginChange() != 0 || Add(*db->Values(), Value(2)) != 0) _exit(4);
        if (SetFloat(*item, prop::ItemDefaultValue, 99) != 0) _exit(5);
        raise(SIGKILL);
        _exit(6);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "child exited with " << WEXITSTATUS(status);

    auto db = SqliteHostDatabase::Open(path, &error);
    ASSERT_TRUE(db) << error;
    HostRecord* value = db->Values()->Find(1);
    ASSERT_TRUE(value);
    EXPECT_EQ(std::tuple(GetFloat(*value, prop::ValueValue), db->Values()->Find(2),
                         GetFloat(*db->Items()->Find(1), prop::ItemDefaultValue)),
              std::tuple(6.1f, nullptr, 7.25f));
}

// Every kind of write the host offers, each refused with `result`; the unit
// keeps its name.
void ExpectEveryWriteRefused(SqliteHostDatabase& db, int32_t result) {
    HostRecord* unit = db.Units()->Find(1);
    ASSERT_TRUE(unit);
    EXPECT_EQ(Add(*db.Values(), Value(1)), result);
    EXPECT_EQ(unit->Named().SetName("gram"), result);
    EXPECT_EQ(SetFloat(*unit, prop::UnitValue, 2), result);
    EXPECT_EQ(unit->SetCategory(2), result);
    EXPECT_EQ(unit->Commit(), result);
    EXPECT_EQ(unit->Delete(1), result);
    EXPECT_EQ(db.BeginChange(), result);
    ASSERT_EQ(db.UnitCategories()->MoveFirst(), 0);
    EXPECT_EQ(db.UnitCategories()->Current()->Named().SetName("Mass"), result);
    char buffer[2 * 1024] = {};
    std::strcpy(buffer, "NAME");
    std::strcpy(buffer + 512, "ORVORV");
    EXPECT_EQ(db.SettingsStore()->Write(buffer, 1), result);
    EXPECT_EQ(Name(unit->Named()), "g");
}

TEST(HostDatabaseExtensions, WritesPastTheBusyTimeoutAreRefusedAsBusy) {
    TempDir dir;
    const std::string path = dir.File("orv.sqlite");
    SqliteHostDatabase::OpenOptions options;
    options.busyTimeoutMs = 50;
    std::string error;
    auto db = SqliteHostDatabase::Open(path, options, &error);
    ASSERT_TRUE(db) << error;
    HostRecord* unit = db->Units()->Find(1);
    ASSERT_TRUE(unit);

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    ExpectEveryWriteRefused(*db, hostresult::kBusy);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    EXPECT_EQ(db->Values()->Find(1), nullptr);
    ASSERT_EQ(db->Units()->Find(1), unit);
    EXPECT_EQ(unit->Commit(), 0) << "writes go through again once the other program let go";
}

TEST(HostDatabaseExtensions, AFileWeMayNotWriteOpensReadOnlyAndStaysUnchanged) {
    struct Case {
        const char* name;
        std::function<void(const std::string& file, const std::string& folder)> lock;
        bool option;
    };
    const Case cases[] = {
        {"read-only option", [](const std::string&, const std::string&) {}, true},
        {"file mode 0444", [](const std::string& file, const std::string&) { ::chmod(file.c_str(), 0444); }, false},
        {"read-only folder", [](const std::string&, const std::string& folder) { ::chmod(folder.c_str(), 0555); },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string folder = dir.File("data");
        std::filesystem::create_directory(folder);
        const std::string path = folder + "/orv.sqlite";
        std::string error;
        {
            auto db = SqliteHostDatabase::Open(path, &error);
            ASSERT_TRUE(db) << error;
            ASSERT_EQ(Add(*db->Values(), Value(1)), 0);
        }
        ASSERT_FALSE(std::filesystem::exists(path + "-wal"));
        c.lock(path, folder);
        const std::string before = ReadBytes(path);

        SqliteHostDatabase::OpenOptions options;
        options.readOnly = c.option;
        auto db = SqliteHostDatabase::Open(path, options, &error);
        ASSERT_TRUE(db) << error;
        EXPECT_TRUE(db->Values()->Find(1)) << "everything can still be viewed";
        EXPECT_EQ(db->IsReadOnly(), 1);
        ExpectEveryWriteRefused(*db, hostresult::kReadOnly);
        db.reset();
        ::chmod(folder.c_str(), 0755);
        EXPECT_EQ(ReadBytes(path), before);
        EXPECT_FALSE(std::filesystem::exists(path + "-wal"));
        EXPECT_FALSE(std::filesystem::exists(path + "-shm"));
    }
}

TEST(HostDatabaseExtensions, ANewFileInAReadOnlyFolderSaysWhy) {
    TempDir dir;
    const std::string folder = dir.File("locked");
    std::filesystem::create_directory(folder);
    ::chmod(folder.c_str(), 0555);
    std::string error;
    EXPECT_EQ(SqliteHostDatabase::Open(folder + "/orv.sqlite", &error), nullptr);
    ::chmod(folder.c_str(), 0755);
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_EQ(error.find("is not an ORV database"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

}  // namespace
}  // namespace orv::hostdb
