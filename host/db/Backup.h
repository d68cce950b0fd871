#pragma once
// A copy of an open database through SQLite's online backup, written to a
// temporary file beside the destination and renamed into place when it is
// complete, so a failed backup leaves no half-written file and an earlier
// backup at the destination stays as it was until the new one is whole.

#include <sqlite3.h>

#include <functional>
#include <string>

namespace orv::hostdb {

// Called after every step with the pages still to copy and the pages in all.
using BackupProgress = std::function<void(int remaining, int total)>;

// Copies the main database of `source` (the file `sourcePath`) to
// `destination`. Writes by other connections meanwhile restart the copy, so
// the result holds one committed state. Refuses a destination that is the
// source file itself. False with the reason in *error.
bool BackupDatabase(sqlite3* source, const std::string& sourcePath, const std::string& destination,
                    const BackupProgress& progress, std::string* error);

}  // namespace orv::hostdb
