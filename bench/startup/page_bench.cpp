// The module's window on the starter database and on the 100,000-value sample
// database, in one run: from opening the database to a painted Values page,
// bringing Charts, Tables or Values to the front with nothing changed and
// after one new value, and adding a value until it shows in the Values grid.
// Change versions come from SQLite's data_version (BenchDatabases.h).
//
//   orv_page_bench [--benchmark_filter=...]

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/startup/BenchDatabases.h"
#include "data/FieldText.h"
#include "data/RecordCache.h"
#include "data/RecordChanges.h"
#include "host/db/SqliteHostDatabase.h"
#include "platform/QtKeyValueStore.h"
#include "settings/ViewSettings.h"
#include "ui/PluginMainWindow.h"
#include "ui/controls/Grid.h"
#include "ui/values/ValueEntry.h"
#include "ui/values/ValuesPage.h"

namespace {

using orv::PluginMainWindow;
using orv::Tab;

class NoColors : public orv::HostColorProvider {
public:
    int32_t GetColor(int32_t) override { return -1; }
};

// The module's main window on a database, as Init and Run build it.
class RunningModule {
public:
    explicit RunningModule(const std::string& path)
        : store_(dir_.filePath("user.ini"), dir_.filePath("system.ini")), settings_(&store_) {
        std::string error;
        db_ = orv::hostdb::SqliteHostDatabase::Open(path, &error);
        if (!db_) std::abort();
        extensions_ = std::make_unique<orv::bench::DataVersionExtensions>(path);
        orv::SetCurrentHostExtensions(extensions_.get());
        host_.resize(900, 640);
        window_ = std::make_unique<PluginMainWindow>(db_.get(), settings_, cache_, &colors_);
        window_->Create(&host_);
        host_.show();
        Paint();
    }
    ~RunningModule() {
        window_.reset();
        orv::SetCurrentHostExtensions(nullptr);
    }

    void Paint() { benchmark::DoNotOptimize(host_.grab()); }
    void Show(Tab tab) {
        window_->SelectTab(tab);
        Paint();
    }
    // Stores one more value of the first value's item, one minute after the
    // newest; its id.
    int32_t AddValue() {
        const orv::ValueRecord& last = *cache_.ValuesInTime().rbegin()->second;
        orv::ValueRecord value = last;
        value.id = 0;
        value.record = nullptr;
        value.seconds = last.seconds + 60;
        db_->SecondsToDate(value.seconds, &value.date);
        int32_t id = 0;
        // A refused write gives id 0, which no grid row shows.
        if (orv::StoreNewValue(*db_, cache_, value, &id) != orv::kChangeOk) return 0;
        return id;
    }
    orv::ValuesPage& Values() { return *static_cast<orv::ValuesPage*>(window_->PageAt(Tab::Values)); }
    orv::RecordCache& Cache() { return cache_; }
    orv::HostDatabase& Db() { return *db_; }

private:
    QTemporaryDir dir_;
    orv::QtKeyValueStore store_;
    orv::ViewSettings settings_;
    std::unique_ptr<orv::hostdb::SqliteHostDatabase> db_;
    std::unique_ptr<orv::bench::DataVersionExtensions> extensions_;
    orv::RecordCache cache_;
    NoColors colors_;
    QWidget host_;
    std::unique_ptr<PluginMainWindow> window_;
};

const std::string& DatabaseOf(int64_t which) {
    return which == 0 ? orv::bench::StarterDatabase() : orv::bench::LargeDatabase();
}

// Open the database, build the window with its six pages, paint the Values page.
void BM_StartToValuesPage(benchmark::State& state) {
    const std::string& path = DatabaseOf(state.range(0));
    for (auto _ : state) {
        auto module = std::make_unique<RunningModule>(path);
        state.PauseTiming();
        module.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToValuesPage)->ArgName("large")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Bring a page to the front from the Units page; with range(1) set, after one
// new value stored meanwhile.
void BM_ToFront(benchmark::State& state) {
    const auto tab = static_cast<Tab>(state.range(0));
    const bool newValue = state.range(1) != 0;
    RunningModule module(orv::bench::LargeDatabase());
    for (auto _ : state) {
        state.PauseTiming();
        module.Show(Tab::Units);
        if (newValue) module.AddValue();
        state.ResumeTiming();
        module.Show(tab);
    }
}
BENCHMARK(BM_ToFront)
    ->ArgNames({"tab", "new_value"})
    ->ArgsProduct({{static_cast<int64_t>(Tab::Values), static_cast<int64_t>(Tab::Charts),
                    static_cast<int64_t>(Tab::Tables)},
                   {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The host's part of adding a value: one durable write.
void BM_StoreOneValue(benchmark::State& state) {
    RunningModule module(orv::bench::LargeDatabase());
    for (auto _ : state) benchmark::DoNotOptimize(module.AddValue());
}
BENCHMARK(BM_StoreOneValue)->Unit(benchmark::kMillisecond);

// What the Values page does after its value dialog: store, reload, refill
// selecting the new row, paint.
void BM_AddValueSeenInGrid(benchmark::State& state) {
    RunningModule module(orv::bench::LargeDatabase());
    module.Show(Tab::Values);
    for (auto _ : state) {
        const int32_t id = module.AddValue();
        orv::ReloadValueParts(module.Cache(), &module.Db());
        module.Values().FillGrid(id);
        module.Paint();
        if (module.Values().ValueIdAt(module.Values().Grid()->currentRow()) != id) state.SkipWithError("not shown");
    }
}
BENCHMARK(BM_AddValueSeenInGrid)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    orv::bench::StarterDatabase();
    orv::bench::LargeDatabase();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
