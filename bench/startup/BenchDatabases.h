#pragma once
// Ground shared by the start-up and page benchmarks: the starter database and
// the 100,000-value sample database generated side by side in a temporary
// folder, and change versions read from SQLite's data_version through a
// second connection to the same file.

#include <sqlite3.h>

#include <cstdint>
#include <string>

#include "data/HostExtensions.h"

namespace orv::bench {

// Paths of the two databases, generated on first use and removed at exit.
const std::string& StarterDatabase();
const std::string& LargeDatabase();

// Change versions of a database file as seen from a connection of its own:
// every commit by the host's connection (or by any other program) changes
// SQLite's data_version here. One counter for every kind, so a change of
// any kind reloads every part; enough to measure what costs nothing when
// nothing changed. The change operations are plain pass-throughs.
class DataVersionExtensions final : public HostExtensions {
public:
    explicit DataVersionExtensions(const std::string& path);
    ~DataVersionExtensions();
    DataVersionExtensions(const DataVersionExtensions&) = delete;
    DataVersionExtensions& operator=(const DataVersionExtensions&) = delete;

    uint64_t ChangeVersion(int32_t kind) override;
    int32_t BeginChange() override { return 0; }
    int32_t EndChange(int32_t) override { return 0; }
    int32_t IsReadOnly() override { return 0; }
    int32_t DatabasePath(char* buffer, int32_t capacity) override;

private:
    std::string path_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* version_ = nullptr;
};

}  // namespace orv::bench
