// The values export of a generated database of 100,000 values and 2,000
// items into a workbook, as menu command 83 writes it (without the dialog
// and the shell). Run under /usr/bin/time -v for the peak memory.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "data/RecordCache.h"
#include "export/ExcelExport.h"
#include "host/db/DemoData.h"
#include "host/db/SqliteHostDatabase.h"
#include "platform/Environment.h"
#include "platform/Services.h"

namespace {

// A folder with the generated database and the exported workbook, removed
// again when the program ends.
class Workspace {
public:
    Workspace() : dir_(std::filesystem::temp_directory_path() / ("orv-export-bench-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(dir_);
        orv::hostdb::GenerateOptions options;
        options.valueCount = 100000;
        options.itemCount = 2000;
        options.seed = 11;
        std::string error;
        if (!orv::hostdb::GenerateDatabase(Database(), options, &error)) {
            std::fprintf(stderr, "cannot generate %s: %s\n", Database().c_str(), error.c_str());
            std::abort();
        }
    }
    ~Workspace() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string Database() const { return (dir_ / "orv.sqlite").string(); }
    std::string Workbook() const { return (dir_ / "values.xlsx").string(); }

private:
    std::filesystem::path dir_;
};

const Workspace& Files() {
    static const Workspace workspace;
    return workspace;
}

void BM_ValuesExport(benchmark::State& state) {
    std::string error;
    auto db = orv::hostdb::SqliteHostDatabase::Open(Files().Database(), &error);
    if (!db) {
        state.SkipWithError(error.c_str());
        return;
    }
    orv::Environment environment;
    environment.moduleFile = QStringLiteral(ORV_TEMPLATE_DIR "/ORVUnits.upg");
    const orv::Environment* previous = orv::Services::SetEnvironment(&environment);
    orv::ExportOptions options;
    options.destination = Files().Workbook();
    options.interactive = false;
    orv::RecordCache cache;
    for (auto _ : state) {
        const int32_t result = orv::ExportValues(db.get(), cache, options);
        if (result != orv::kExportOk) state.SkipWithError("export failed");
    }
    orv::Services::SetEnvironment(previous);
    state.counters["values"] = static_cast<double>(cache.Values().size());
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(Files().Workbook())) / 1e6;
}
BENCHMARK(BM_ValuesExport)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
