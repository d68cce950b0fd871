// The workbook engine filling a million cells the way the values export
// does: a template row copied per value, a date, a number and per-target
// formulas written into it, the template rows deleted (every formula moved)
// and the workbook saved.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "export/workbook/CellAddress.h"
#include "export/workbook/Workbook.h"

namespace {

constexpr int kRows = 100000;  // x 10 cells each
constexpr int kTargets = 7;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_FillMillionCellsAndSave(benchmark::State& state) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    const std::string path = (dir / "orv-bench-values.xlsx").string();
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::copy_file(std::string(ORV_TEMPLATE_DIR) + "/export_tmp_values.xlsx", path,
                                   std::filesystem::copy_options::overwrite_existing);
        state.ResumeTiming();

        orv::Workbook book;
        std::string diag;
        if (book.Open(path, false, &diag) != orv::kWorkbookOk) {
            state.SkipWithError(diag.c_str());
            return;
        }
        const auto fillStart = std::chrono::steady_clock::now();
        const int itemRow = 7;
        book.CopyRows(4, 1, itemRow, 0);
        for (int t = 0; t < kTargets; ++t) book.SetNumber(itemRow, 6 + t, 0.5f + static_cast<float>(t));
        std::string formula;
        char when[32];
        for (int i = 0; i < kRows; ++i) {
            const int row = itemRow + 1 + i;
            book.CopyRows(5, 1, row, 0);
            std::snprintf(when, sizeof when, "%d/%d/%d %d:%d:%d", 1 + i % 12, 1 + i % 28, 2008 + i % 3, i % 24, i % 60,
                          (i * 7) % 60);
            book.SetText(row, 2, when);
            book.SetNumber(row, 5, static_cast<float>(i % 1000) / 8.0f);
            for (int t = 0; t < kTargets; ++t) {
                formula =
                    "=" + orv::CellAddress(itemRow, 6 + t, true, false) + "*" + orv::CellAddress(row, 5, false, true);
                book.SetText(row, 6 + t, formula);
            }
            book.SetLiteralText(row, 6 + kTargets, i % 5 == 0 ? "after lunch" : "before breakfast");
        }
        state.counters["fill_s"] = Seconds(fillStart);

        const auto deleteStart = std::chrono::steady_clock::now();
        book.DeleteRows(1, 6);
        state.counters["delete_s"] = Seconds(deleteStart);

        const auto saveStart = std::chrono::steady_clock::now();
        if (book.Close(true, &diag) != orv::kWorkbookOk) {
            state.SkipWithError(diag.c_str());
            return;
        }
        state.counters["save_s"] = Seconds(saveStart);
        state.counters["cells"] = kRows * 10.0;
        state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_FillMillionCellsAndSave)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
