#pragma once
// Whether a path names the open database's file (or one of its journal
// files), compared by file identity: a symbolic link, a hard link or a path
// such as "dir/../orv.sqlite" names the same file as the database's own path.

#include <string>

namespace orv {

class HostExtensions;

// True when `path` is the database file of `host` or its "-wal", "-shm" or
// "-journal" companion. False when the host offers no path (no extensions,
// an in-memory database) or `path` does not exist.
bool IsDatabaseFile(const std::string& path, HostExtensions* host);

}  // namespace orv
