// The full record-cache load of a generated database of about ten years of
// one person's readings and meals (100,000 values, 2,000 items), beside a
// bare SQLite scan of the same rows in the same run: the cache should stay
// within one and a half times the scan.

#include <benchmark/benchmark.h>

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "data/RecordCache.h"
#include "host/db/DemoData.h"
#include "host/db/SqliteHostDatabase.h"

namespace {

// The generated database, removed again when the program ends.
class GeneratedDatabase {
public:
    GeneratedDatabase()
        : path_((std::filesystem::temp_directory_path() / ("orv-cache-bench-" + std::to_string(getpid()) + ".sqlite"))
                    .string()) {
        orv::hostdb::GenerateOptions options;
        options.valueCount = 100000;
        options.itemCount = 2000;
        options.seed = 7;
        std::string error;
        if (!orv::hostdb::GenerateDatabase(path_, options, &error)) {
            std::fprintf(stderr, "cannot generate %s: %s\n", path_.c_str(), error.c_str());
            std::abort();
        }
    }
    ~GeneratedDatabase() {
        std::error_code ec;
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path_ + suffix, ec);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

const std::string& DatabasePath() {
    static const GeneratedDatabase database;
    return database.Path();
}

// Every column of every record table, read row by row: the least any loader
// of the same rows could do.
void BM_BareSqliteScan(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(DatabasePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    int64_t rows = 0;
    for (auto _ : state) {
        for (const char* table : {"item_groups", "items", "targets", "units", "tracked_values"}) {
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(db, (std::string("SELECT * FROM ") + table + " ORDER BY seq").c_str(), -1, &stmt,
                               nullptr);
            const int columns = sqlite3_column_count(stmt);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                for (int c = 0; c < columns; ++c) {
                    if (sqlite3_column_type(stmt, c) == SQLITE_TEXT || sqlite3_column_type(stmt, c) == SQLITE_BLOB) {
                        benchmark::DoNotOptimize(sqlite3_column_blob(stmt, c));
                        benchmark::DoNotOptimize(sqlite3_column_bytes(stmt, c));
                    } else {
                        benchmark::DoNotOptimize(sqlite3_column_int64(stmt, c));
                    }
                }
                ++rows;
            }
            sqlite3_finalize(stmt);
        }
    }
    state.counters["rows"] = static_cast<double>(rows) / static_cast<double>(state.iterations());
    sqlite3_close(db);
}
BENCHMARK(BM_BareSqliteScan)->Unit(benchmark::kMillisecond);

// The same rows through the host interfaces into the cache, every loader.
void BM_RecordCacheFullLoad(benchmark::State& state) {
    std::string error;
    auto db = orv::hostdb::SqliteHostDatabase::Open(DatabasePath(), &error);
    if (!db) {
        state.SkipWithError(error.c_str());
        return;
    }
    orv::RecordCache cache;
    for (auto _ : state) {
        cache.LoadAll(db.get());
        benchmark::DoNotOptimize(cache.Values().size());
    }
    state.counters["values"] = static_cast<double>(cache.Values().size());
    state.counters["items"] = static_cast<double>(cache.Items().size());
}
BENCHMARK(BM_RecordCacheFullLoad)->Unit(benchmark::kMillisecond);

// The values alone: what a change of the values costs when the host tells
// the kinds apart.
void BM_RecordCacheValuesLoad(benchmark::State& state) {
    std::string error;
    auto db = orv::hostdb::SqliteHostDatabase::Open(DatabasePath(), &error);
    if (!db) {
        state.SkipWithError(error.c_str());
        return;
    }
    orv::RecordCache cache;
    for (auto _ : state) {
        cache.LoadValues(db.get());
        benchmark::DoNotOptimize(cache.Values().size());
    }
}
BENCHMARK(BM_RecordCacheValuesLoad)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
