#pragma once
// The file format of the host database: how our files are recognised, the
// current schema version and the forward migrations that bring an older file
// up to it.

#include <sqlite3.h>

#include <cstdint>
#include <string>

namespace orv::hostdb {

// PRAGMA application_id of our files: "ORVD".
inline constexpr int32_t kApplicationId = 0x4F525644;
// PRAGMA user_version written by this program.
inline constexpr int32_t kSchemaVersion = 2;
// The first schema version with the change_counts table.
inline constexpr int32_t kChangeCountsVersion = 2;
// Every list (group targets, item amounts) holds at most this many elements.
inline constexpr int32_t kMaxListElements = 31;
// Category slots per kind, numbered 0..15; slot 0 is named "Unfiled".
inline constexpr int32_t kCategorySlots = 16;
inline constexpr const char* kUnfiledCategory = "Unfiled";

// What a path holds before we touch it.
enum class FileState {
    Missing,     // no file: a new database
    Empty,       // zero bytes: a new database
    Sqlite,      // starts with the SQLite header
    Foreign,     // anything else (including files too short for a header)
    Unreadable,  // a directory, or a file we may not read
};
FileState InspectFile(const std::string& path, std::string* detail);

// Brings a database at `fromVersion` up to kSchemaVersion, one step per
// version, inside the caller's transaction. Sets user_version.
bool MigrateSchema(sqlite3* db, int32_t fromVersion, std::string* error);

// Creates any category slot that is missing (0..15 of each kind).
bool EnsureCategorySlots(sqlite3* db, std::string* error);

}  // namespace orv::hostdb
