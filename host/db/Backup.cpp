#include "host/db/Backup.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "host/db/FileIdentity.h"

namespace orv::hostdb {
namespace {

constexpr int kPagesPerStep = 32;
constexpr int kBusyRetries = 100;
constexpr int kBusyPauseMs = 50;

// A temporary file in the destination's folder, removed with its journal
// unless it was renamed into place.
class TempFile {
public:
    explicit TempFile(const std::string& destination) : path_(destination + ".XXXXXX") {
        const int fd = ::mkstemp(path_.data());
        if (fd < 0) {
            error_ = std::strerror(errno);
            path_.clear();
            return;
        }
        ::close(fd);
    }
    ~TempFile() {
        if (path_.empty()) return;
        for (const char* suffix : {"", "-journal", "-wal", "-shm"}) ::unlink((path_ + suffix).c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& Path() const { return path_; }
    const std::string& Error() const { return error_; }
    void Release() { path_.clear(); }

private:
    std::string path_;
    std::string error_;
};

bool SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Runs the backup steps into the open destination connection.
bool CopyPages(sqlite3* source, sqlite3* target, const BackupProgress& progress, std::string* reason) {
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
    if (!backup) {
        *reason = sqlite3_errmsg(target);
        return false;
    }
    int rc = SQLITE_OK;
    int retries = 0;
    while (true) {
        rc = sqlite3_backup_step(backup, kPagesPerStep);
        if (rc == SQLITE_DONE) break;
        if (rc == SQLITE_OK) {
            retries = 0;
            if (progress) progress(sqlite3_backup_remaining(backup), sqlite3_backup_pagecount(backup));
            continue;
        }
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && ++retries <= kBusyRetries) {
            sqlite3_sleep(kBusyPauseMs);
            continue;
        }
        break;
    }
    const int finished = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE || finished != SQLITE_OK) {
        *reason = sqlite3_errstr(rc != SQLITE_DONE ? rc : finished);
        return false;
    }
    return true;
}

}  // namespace

bool BackupDatabase(sqlite3* source, const std::string& sourcePath, const std::string& destination,
                    const BackupProgress& progress, std::string* error) {
    std::string scratch;
    if (!error) error = &scratch;
    if (destination.empty()) {
        *error = "No backup file given.";
        return false;
    }
    if (SameFile(destination, sourcePath)) {
        *error = "'" + destination + "' is the open database itself; a backup must go to another file.";
        return false;
    }
    std::error_code ec;
    if (std::filesystem::is_directory(destination, ec)) {
        *error = "Cannot back up to '" + destination + "': it is a folder.";
        return false;
    }
    TempFile temp(destination);
    if (temp.Path().empty()) {
        *error = "Cannot back up to '" + destination + "': cannot create a file in the folder '" +
                 FolderOf(destination) + "' (" + temp.Error() + ").";
        return false;
    }
    sqlite3* target = nullptr;
    std::string reason;
    bool copied = false;
    if (sqlite3_open_v2(temp.Path().c_str(), &target, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        reason = target ? sqlite3_errmsg(target) : "out of memory";
    } else {
        sqlite3_exec(target, "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr);
        copied = CopyPages(source, target, progress, &reason);
    }
    if (sqlite3_close(target) != SQLITE_OK && copied) {
        copied = false;
        reason = "the copy could not be closed";
    }
    if (!copied) {
        *error = "Cannot back up to '" + destination + "': " + reason + ".";
        return false;
    }
    if (::rename(temp.Path().c_str(), destination.c_str()) != 0) {
        *error = "Cannot back up to '" + destination + "': " + std::strerror(errno) + ".";
        return false;
    }
    temp.Release();
    if (!SyncFolder(FolderOf(destination))) {
        *error = "The backup '" + destination + "' was written, but its folder could not be flushed to disk.";
        return false;
    }
    return true;
}

}  // namespace orv::hostdb
