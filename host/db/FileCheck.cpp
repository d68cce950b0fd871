#include "host/db/FileCheck.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host/db/FileIdentity.h"
#include "host/db/Schema.h"
#include "host/db/SqliteStatement.h"

namespace orv::hostdb {
namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool HasWriteBits(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

std::string HexId(int64_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<uint32_t>(id));
    return text;
}

bool IsDamage(int rc) {
    const int primary = rc & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || primary == SQLITE_IOERR;
}

// Removes the -wal and -shm files that a check created beside `path`.
class CompanionGuard {
public:
    explicit CompanionGuard(std::string path)
        : path_(std::move(path)), hadWal_(Exists(path_ + "-wal")), hadShm_(Exists(path_ + "-shm")) {}
    ~CompanionGuard() {
        if (!cleanUp_) return;
        if (!hadWal_) ::unlink((path_ + "-wal").c_str());
        if (!hadShm_) ::unlink((path_ + "-shm").c_str());
    }
    CompanionGuard(const CompanionGuard&) = delete;
    CompanionGuard& operator=(const CompanionGuard&) = delete;

    bool HadAny() const { return hadWal_ || hadShm_; }
    void Keep() { cleanUp_ = false; }

private:
    std::string path_;
    bool hadWal_;
    bool hadShm_;
    bool cleanUp_ = true;
};

// The first problem of a quick check's report, without its heading.
std::string FirstProblem(std::string report) {
    static const std::string kHeading = "*** in database main ***\n";
    if (report.rfind(kHeading, 0) == 0) report.erase(0, kHeading.size());
    return report.substr(0, report.find('\n'));
}

}  // namespace

std::string SqliteFileUri(const std::string& path, const std::string& query) {
    std::string uri = "file:";
    for (const char c : path) {
        if (c == '?' || c == '#' || c == '%' || static_cast<unsigned char>(c) < 0x20) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
            uri += escaped;
        } else {
            uri += c;
        }
    }
    return query.empty() ? uri : uri + "?" + query;
}

bool HasCompanionFiles(const std::string& path) { return Exists(path + "-wal") || Exists(path + "-shm"); }

bool CheckDatabaseFile(const std::string& path, int busyTimeoutMs, int32_t* version, std::string* error) {
    // Without a log beside it the file alone is the whole database: read it
    // as immutable, which creates no companion files at all. With a log, read
    // through it, and remove whatever companion the check itself created.
    CompanionGuard companions(path);
    const std::string uri = SqliteFileUri(path, companions.HadAny() ? "mode=ro" : "immutable=1");
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    std::string reason;
    bool damaged = false;
    if (rc != SQLITE_OK) {
        reason = "it cannot be opened: " + std::string(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        damaged = IsDamage(rc);
    } else {
        sqlite3_busy_timeout(db, busyTimeoutMs);
        sqlite3_extended_result_codes(db, 1);
        Statement appId(db, "PRAGMA application_id");
        Statement userVersion(db, "PRAGMA user_version");
        if (!appId.Ok() || !userVersion.Ok() || appId.Step() != SQLITE_ROW || userVersion.Step() != SQLITE_ROW) {
            damaged = IsDamage(sqlite3_extended_errcode(db));
            reason = "it cannot be read: " + std::string(sqlite3_errmsg(db));
        } else if (appId.Int(0) != kApplicationId) {
            reason = "it is an SQLite database of another program (application id " + HexId(appId.Int(0)) + ")";
        } else if (userVersion.Int(0) > kSchemaVersion) {
            reason = "it was written by a newer version of this program (schema version " +
                     std::to_string(userVersion.Int(0)) + ", this program knows up to " +
                     std::to_string(kSchemaVersion) + ")";
        } else {
            if (version) *version = static_cast<int32_t>(userVersion.Int(0));
            Statement check(db, "PRAGMA quick_check");
            int step = check.Ok() ? check.Step() : sqlite3_extended_errcode(db);
            if (step != SQLITE_ROW) {
                damaged = true;
                reason = sqlite3_errmsg(db);
            } else if (check.Text(0) != "ok") {
                damaged = true;
                reason = FirstProblem(check.Text(0));
            }
        }
    }
    sqlite3_close_v2(db);
    if (reason.empty()) {
        companions.Keep();
        return true;
    }
    if (error) {
        *error = damaged ? "'" + path + "' is damaged and cannot be opened (" + reason +
                               "). The file was not changed; restore it from a backup."
                         : "'" + path + "' is not an ORV database that can be opened: " + reason +
                               ". It was left unchanged.";
    }
    return false;
}

bool ShouldOpenReadOnly(const std::string& path) {
    const std::string folder = FolderOf(path);
    return ::access(path.c_str(), W_OK) != 0 || !HasWriteBits(path) || ::access(folder.c_str(), W_OK) != 0 ||
           !HasWriteBits(folder);
}

std::string CannotCreateReason(const std::string& path) {
    const std::string folder = FolderOf(path);
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return "the folder '" + folder + "' does not exist";
    if (!S_ISDIR(info.st_mode)) return "'" + folder + "' is not a folder";
    if (::access(folder.c_str(), W_OK) != 0 || !HasWriteBits(folder)) {
        return "the folder '" + folder + "' is read-only, so no new database can be created in it";
    }
    return {};
}

}  // namespace orv::hostdb
