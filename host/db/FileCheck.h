#pragma once
// Looking at an existing database file before it is opened for use: whether
// it is one of ours at a version this program can use, whether it is intact,
// and whether it may be written. Nothing here writes to the file, and a check
// leaves no -wal or -shm file behind that was not there before.

#include <cstdint>
#include <string>

namespace orv::hostdb {

// A "file:" URI for `path` with the query `query` (e.g. "mode=ro"), with the
// characters a URI gives meaning to escaped.
std::string SqliteFileUri(const std::string& path, const std::string& query);

// True when a -wal or -shm file lies beside `path`: another connection uses
// it, or one left committed pages in the log.
bool HasCompanionFiles(const std::string& path);

// Opens the SQLite file `path` without writing to it and checks that it is
// one of our databases, at a version this program knows, and that SQLite's
// quick check finds it intact. On success *version holds its schema version.
// On failure *error says what is wrong and that the file was left unchanged.
bool CheckDatabaseFile(const std::string& path, int busyTimeoutMs, int32_t* version, std::string* error);

// True when this program should not write to `path` (an existing file): the
// file or its folder has no write permission for us, or carries no write
// permission bits at all (a file its owner made read-only stays read-only
// for the administrator too).
bool ShouldOpenReadOnly(const std::string& path);

// Why a new database cannot be created at `path`, or empty when its folder
// exists and may be written.
std::string CannotCreateReason(const std::string& path);

}  // namespace orv::hostdb
