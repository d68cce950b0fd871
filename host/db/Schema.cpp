#include "host/db/Schema.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/db/SqliteStatement.h"

namespace orv::hostdb {
namespace {

// Version 0 -> 1: the record tables, the category slots and the settings
// store. Every record table keeps host order in `seq` (the rowid, so VACUUM
// keeps it) and the host id in `id`. Lists are packed little-endian 4-byte
// elements. Value seconds are stored unsigned so SQL ordering matches the
// host's time scale.
bool MigrateTo1(sqlite3* db, std::string* error) {
    static const char* kSql = R"sql(
CREATE TABLE units (
  seq INTEGER PRIMARY KEY,
  id INTEGER NOT NULL UNIQUE,
  idx INTEGER NOT NULL,
  name TEXT NOT NULL DEFAULT '',
  category INTEGER NOT NULL DEFAULT 0,
  creator_id INTEGER NOT NULL DEFAULT 0,
  skipped INTEGER NOT NULL DEFAULT 0,
  confirmed INTEGER NOT NULL DEFAULT 0,
  parent_unit_id INTEGER NOT NULL DEFAULT 0,
  factor REAL NOT NULL DEFAULT 1
);
CREATE INDEX units_by_idx ON units(idx);
CREATE TABLE targets (
  seq INTEGER PRIMARY KEY,
  id INTEGER NOT NULL UNIQUE,
  idx INTEGER NOT NULL,
  name TEXT NOT NULL DEFAULT '',
  category INTEGER NOT NULL DEFAULT 0,
  creator_id INTEGER NOT NULL DEFAULT 0,
  skipped INTEGER NOT NULL DEFAULT 0,
  confirmed INTEGER NOT NULL DEFAULT 0,
  unit_id INTEGER NOT NULL DEFAULT 0,
  type INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX targets_by_idx ON targets(idx);
CREATE TABLE item_groups (
  seq INTEGER PRIMARY KEY,
  id INTEGER NOT NULL UNIQUE,
  idx INTEGER NOT NULL,
  name TEXT NOT NULL DEFAULT '',
  category INTEGER NOT NULL DEFAULT 0,
  creator_id INTEGER NOT NULL DEFAULT 0,
  skipped INTEGER NOT NULL DEFAULT 0,
  confirmed INTEGER NOT NULL DEFAULT 0,
  parent_id INTEGER NOT NULL DEFAULT 0,
  unit_id INTEGER NOT NULL DEFAULT 0,
  type INTEGER NOT NULL DEFAULT 0,
  attrs INTEGER NOT NULL DEFAULT 0,
  targets BLOB NOT NULL DEFAULT x''
);
CREATE INDEX item_groups_by_idx ON item_groups(idx);
CREATE TABLE items (
  seq INTEGER PRIMARY KEY,
  id INTEGER NOT NULL UNIQUE,
  idx INTEGER NOT NULL,
  name TEXT NOT NULL DEFAULT '',
  category INTEGER NOT NULL DEFAULT 0,
  creator_id INTEGER NOT NULL DEFAULT 0,
  skipped INTEGER NOT NULL DEFAULT 0,
  confirmed INTEGER NOT NULL DEFAULT 0,
  group_id INTEGER NOT NULL DEFAULT 0,
  default_value REAL NOT NULL DEFAULT 0,
  amounts BLOB NOT NULL DEFAULT x''
);
CREATE INDEX items_by_idx ON items(idx);
CREATE TABLE tracked_values (
  seq INTEGER PRIMARY KEY,
  id INTEGER NOT NULL UNIQUE,
  idx INTEGER NOT NULL,
  name TEXT NOT NULL DEFAULT '',
  category INTEGER NOT NULL DEFAULT 0,
  creator_id INTEGER NOT NULL DEFAULT 0,
  skipped INTEGER NOT NULL DEFAULT 0,
  confirmed INTEGER NOT NULL DEFAULT 0,
  group_id INTEGER NOT NULL DEFAULT 0,
  item_id INTEGER NOT NULL DEFAULT 0,
  value REAL NOT NULL DEFAULT 0,
  item_index INTEGER NOT NULL DEFAULT 0,
  seconds INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX tracked_values_by_idx ON tracked_values(idx);
CREATE INDEX tracked_values_by_item ON tracked_values(item_id, seconds);
CREATE TABLE categories (
  id INTEGER PRIMARY KEY,
  kind TEXT NOT NULL,
  number INTEGER NOT NULL,
  name TEXT NOT NULL DEFAULT '',
  UNIQUE (kind, number)
);
CREATE TABLE settings (
  record TEXT NOT NULL,
  field TEXT NOT NULL,
  value TEXT NOT NULL,
  PRIMARY KEY (record, field)
) WITHOUT ROWID;
)sql";
    return Exec(db, kSql, error) && EnsureCategorySlots(db, error);
}

// Version 1 -> 2: a change counter per record kind (kinds 0..4 as the module
// numbers them, 5 categories, 6 settings), bumped by triggers on every
// inserted, changed or removed row, so that every program writing the file,
// ours or another, moves the counter of what it changed.
bool MigrateTo2(sqlite3* db, std::string* error) {
    static constexpr struct {
        const char* table;
        int kind;
    } kCounted[] = {{"units", 0},          {"targets", 1},    {"item_groups", 2}, {"items", 3},
                    {"tracked_values", 4}, {"categories", 5}, {"settings", 6}};
    std::string sql =
        "CREATE TABLE change_counts (kind INTEGER PRIMARY KEY, count INTEGER NOT NULL DEFAULT 0);\n"
        "INSERT INTO change_counts (kind) VALUES (0), (1), (2), (3), (4), (5), (6);\n";
    for (const auto& counted : kCounted) {
        for (const char* event : {"INSERT", "UPDATE", "DELETE"}) {
            const std::string kind = std::to_string(counted.kind);
            sql += std::string("CREATE TRIGGER count_") + counted.table + "_" + event + " AFTER " + event + " ON " +
                   counted.table + " BEGIN UPDATE change_counts SET count = count + 1 WHERE kind = " + kind +
                   "; END;\n";
        }
    }
    return Exec(db, sql.c_str(), error);
}

using MigrationStep = bool (*)(sqlite3*, std::string*);
// Step i brings a database from version i to version i + 1.
constexpr MigrationStep kSteps[] = {&MigrateTo1, &MigrateTo2};
static_assert(sizeof kSteps / sizeof kSteps[0] == kSchemaVersion, "one migration step per schema version");

}  // namespace

FileState InspectFile(const std::string& path, std::string* detail) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) return FileState::Missing;
        if (detail) *detail = std::strerror(errno);
        return FileState::Unreadable;
    }
    if (S_ISDIR(info.st_mode)) {
        if (detail) *detail = "it is a directory";
        return FileState::Unreadable;
    }
    if (info.st_size == 0) return FileState::Empty;

    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (detail) *detail = std::strerror(errno);
        return FileState::Unreadable;
    }
    static constexpr char kMagic[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f',
                                        'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};
    char header[16] = {};
    const std::size_t got = std::fread(header, 1, sizeof header, file);
    std::fclose(file);
    if (got == sizeof header && std::memcmp(header, kMagic, sizeof header) == 0) return FileState::Sqlite;
    if (detail) *detail = "it is not an SQLite database file";
    return FileState::Foreign;
}

bool MigrateSchema(sqlite3* db, int32_t fromVersion, std::string* error) {
    if (fromVersion < 0 || fromVersion > kSchemaVersion) {
        if (error) *error = "unknown schema version " + std::to_string(fromVersion);
        return false;
    }
    for (int32_t version = fromVersion; version < kSchemaVersion; ++version) {
        if (!kSteps[version](db, error)) return false;
        const std::string setVersion = "PRAGMA user_version = " + std::to_string(version + 1);
        if (!Exec(db, setVersion.c_str(), error)) return false;
    }
    return true;
}

bool EnsureCategorySlots(sqlite3* db, std::string* error) {
    Statement insert(db, "INSERT OR IGNORE INTO categories (kind, number, name) VALUES (?1, ?2, ?3)");
    if (!insert.Ok()) {
        if (error) *error = sqlite3_errmsg(db);
        return false;
    }
    for (const char* kind : {"unit", "value", "group", "target"}) {
        for (int32_t number = 0; number < kCategorySlots; ++number) {
            insert.Reset().Bind(1, std::string_view(kind)).Bind(2, int64_t{number});
            insert.Bind(3, std::string_view(number == 0 ? kUnfiledCategory : ""));
            if (!insert.Run()) {
                if (error) *error = sqlite3_errmsg(db);
                return false;
            }
        }
    }
    return true;
}

}  // namespace orv::hostdb
