// Generating a large sample database (100,000 values, 2,000 items) and
// reading its values back: with bare SQLite, and through the host table as
// the module's loader does (walk, then every property of every value). Also
// what opening costs (the integrity check on open), asking for a change
// version when nothing changed, and a backup.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "host/db/DemoData.h"
#include "host/db/SqliteHostDatabase.h"

namespace {

using orv::hostdb::GenerateDatabase;
using orv::hostdb::GenerateOptions;
using orv::hostdb::SqliteHostDatabase;

GenerateOptions LargeOptions() {
    GenerateOptions options;
    options.valueCount = 100'000;
    options.itemCount = 2'000;
    options.seed = 42;
    options.endSeconds = 1'700'000'000;
    return options;
}

std::string BenchFile(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string("orv-hostdb-bench-") + std::to_string(getpid()) + "-" + name))
        .string();
}

// One large database shared by the reading benchmarks, removed at exit.
struct SharedFile {
    std::string path = BenchFile("shared.sqlite");
    SharedFile() {
        std::filesystem::remove(path);
        std::string error;
        if (!GenerateDatabase(path, LargeOptions(), &error)) std::fprintf(stderr, "%s\n", error.c_str());
    }
    ~SharedFile() {
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
    }
};

const std::string& SharedDatabase() {
    static const SharedFile shared;
    return shared.path;
}

void BM_Generate100kValues2kItems(benchmark::State& state) {
    const std::string path = BenchFile("generated.sqlite");
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(path);
        state.ResumeTiming();
        std::string error;
        if (!GenerateDatabase(path, LargeOptions(), &error)) state.SkipWithError(error.c_str());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_Generate100kValues2kItems)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BareScanOfValuesTable(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(SharedDatabase().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT id, idx, name, group_id, item_id, value, item_index, seconds FROM tracked_values",
                       -1, &stmt, nullptr);
    for (auto _ : state) {
        int64_t rows = 0;
        double sum = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            sum += sqlite3_column_double(stmt, 5);
            ++rows;
        }
        sqlite3_reset(stmt);
        benchmark::DoNotOptimize(sum);
        state.counters["rows"] = static_cast<double>(rows);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}
BENCHMARK(BM_BareScanOfValuesTable)->Unit(benchmark::kMillisecond);

void BM_HostTableLoadOfValues(benchmark::State& state) {
    std::string error;
    auto db = SqliteHostDatabase::Open(SharedDatabase(), &error);
    if (!db) {
        state.SkipWithError(error.c_str());
        return;
    }
    orv::HostTable& values = *db->Values();
    for (auto _ : state) {
        int64_t rows = 0;
        float sum = 0;
        for (values.MoveFirst(); !values.IsEnd(); values.MoveNext()) {
            orv::HostRecord& r = *values.Current();
            char name[1024];
            int32_t seconds = 0, item = 0, group = 0;
            uint16_t itemIndex = 0;
            float value = 0;
            r.IsSkipped();
            r.GetCategory();
            r.Named().GetName(name, sizeof name);
            r.GetProperty(orv::prop::ValueSeconds, &seconds, 4, 0);
            r.GetProperty(orv::prop::ValueItemId, &item, 4, 0);
            r.GetProperty(orv::prop::ValueValue, &value, 4, 0);
            r.GetProperty(orv::prop::ValueItemIndex, &itemIndex, 2, 0);
            r.GetProperty(orv::prop::ValueMatterId, &group, 4, 0);
            sum += value;
            ++rows;
        }
        benchmark::DoNotOptimize(sum);
        state.counters["rows"] = static_cast<double>(rows);
    }
}
BENCHMARK(BM_HostTableLoadOfValues)->Unit(benchmark::kMillisecond);

// The integrity check alone, as opening runs it.
void BM_QuickCheck(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(SharedDatabase().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &stmt, nullptr);
        if (sqlite3_step(stmt) != SQLITE_ROW) state.SkipWithError("quick_check failed");
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
}
BENCHMARK(BM_QuickCheck)->Unit(benchmark::kMillisecond);

// Opening the database as the host does, check included.
void BM_Open(benchmark::State& state) {
    for (auto _ : state) {
        std::string error;
        auto db = SqliteHostDatabase::Open(SharedDatabase(), &error);
        if (!db) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(db.get());
    }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

void BM_ChangeVersionWhenNothingChanged(benchmark::State& state) {
    std::string error;
    auto db = SqliteHostDatabase::Open(SharedDatabase(), &error);
    if (!db) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(db->ChangeVersion(static_cast<int32_t>(orv::RecordKind::Value)));
}
BENCHMARK(BM_ChangeVersionWhenNothingChanged)->Unit(benchmark::kMicrosecond);

void BM_Backup(benchmark::State& state) {
    std::string error;
    auto db = SqliteHostDatabase::Open(SharedDatabase(), &error);
    if (!db) {
        state.SkipWithError(error.c_str());
        return;
    }
    const std::string copy = BenchFile("backup.sqlite");
    for (auto _ : state) {
        if (!db->BackupTo(copy, &error)) state.SkipWithError(error.c_str());
    }
    std::filesystem::remove(copy);
}
BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
