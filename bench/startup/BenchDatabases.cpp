#include "bench/startup/BenchDatabases.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "host/db/DemoData.h"
#include "host/db/SqliteHostDatabase.h"

namespace orv::bench {
namespace {

std::string TempFile(const char* name) {
    return (std::filesystem::temp_directory_path() /
            ("orv-start-bench-" + std::to_string(getpid()) + "-" + name + ".sqlite"))
        .string();
}

// A database file that lives as long as the program.
class BenchFile {
public:
    BenchFile(const char* name, bool large) : path_(TempFile(name)) {
        std::string error;
        bool ok = false;
        if (large) {
            hostdb::GenerateOptions options;
            options.valueCount = 100'000;
            options.itemCount = 2'000;
            options.seed = 7;
            options.endSeconds = 1'700'000'000;
            ok = hostdb::GenerateDatabase(path_, options, &error);
        } else {
            // Opening a new file writes the starter structure.
            ok = hostdb::SqliteHostDatabase::Open(path_, &error) != nullptr;
        }
        if (!ok) {
            std::fprintf(stderr, "cannot write %s: %s\n", path_.c_str(), error.c_str());
            std::abort();
        }
    }
    ~BenchFile() {
        std::error_code ec;
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path_ + suffix, ec);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

const std::string& StarterDatabase() {
    static const BenchFile file("starter", false);
    return file.Path();
}

const std::string& LargeDatabase() {
    static const BenchFile file("large", true);
    return file.Path();
}

DataVersionExtensions::DataVersionExtensions(const std::string& path) : path_(path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return;
    sqlite3_prepare_v2(db_, "PRAGMA data_version", -1, &version_, nullptr);
}

DataVersionExtensions::~DataVersionExtensions() {
    sqlite3_finalize(version_);
    sqlite3_close_v2(db_);
}

uint64_t DataVersionExtensions::ChangeVersion(int32_t) {
    if (!version_) return 0;
    uint64_t version = 0;
    if (sqlite3_step(version_) == SQLITE_ROW) version = static_cast<uint64_t>(sqlite3_column_int64(version_, 0)) + 1;
    sqlite3_reset(version_);
    return version;
}

int32_t DataVersionExtensions::DatabasePath(char* buffer, int32_t capacity) {
    const auto length = static_cast<int32_t>(path_.size());
    if (!buffer || capacity <= length) return -1;
    std::memcpy(buffer, path_.c_str(), path_.size() + 1);
    return length;
}

}  // namespace orv::bench
