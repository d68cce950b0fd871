// One start of the module as orv-desktop does it, measured in a process of its
// own: load ORVUnits.upg with dlopen, open the database, Init, Run, paint the
// Values page. Prints the time from main() and from loading the module to the
// painted page, and the peak memory of the whole process.
//
//   orv_start_probe --write-databases DIR   starter.sqlite and large.sqlite
//   orv_start_probe DB [--no-extensions]    one start on DB
//
// With extensions (the default) the module is handed change versions read
// from SQLite's data_version, as a host offering them would.

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include <dlfcn.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "bench/startup/BenchDatabases.h"
#include "host/ColorSchemes.h"
#include "host/PluginLoader.h"
#include "host/db/DemoData.h"
#include "host/db/SqliteHostDatabase.h"

namespace {

int WriteDatabases(const std::string& dir) {
    std::string error;
    if (!orv::hostdb::SqliteHostDatabase::Open(dir + "/starter.sqlite", &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    orv::hostdb::GenerateOptions options;
    options.valueCount = 100'000;
    options.itemCount = 2'000;
    options.seed = 7;
    options.endSeconds = 1'700'000'000;
    if (!orv::hostdb::GenerateDatabase(dir + "/large.sqlite", options, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const auto launched = std::chrono::steady_clock::now();
    if (argc >= 3 && std::strcmp(argv[1], "--write-databases") == 0) return WriteDatabases(argv[2]);
    if (argc < 2) {
        std::fprintf(stderr, "usage: orv_start_probe DB [--no-extensions] | --write-databases DIR\n");
        return 2;
    }
    const bool extensions = !(argc >= 3 && std::strcmp(argv[2], "--no-extensions") == 0);
    // The module's registry lives in a folder of its own, not the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);

    const auto start = std::chrono::steady_clock::now();
    QString loadError;
    const auto plugin = orv::host::PluginLibrary::Load(QStringLiteral(ORV_MODULE_PATH), &loadError);
    if (!plugin) {
        std::fprintf(stderr, "%s\n", loadError.toLocal8Bit().constData());
        return 1;
    }
    std::string error;
    auto db = orv::hostdb::SqliteHostDatabase::Open(argv[1], &error);
    if (!db) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::unique_ptr<orv::bench::DataVersionExtensions> versions;
    if (extensions) {
        versions = std::make_unique<orv::bench::DataVersionExtensions>(argv[1]);
        void* handle = dlopen(ORV_MODULE_PATH, RTLD_NOW | RTLD_NOLOAD);
        using SetExtensions = int32_t (*)(orv::HostExtensions*);
        if (auto set = handle ? reinterpret_cast<SetExtensions>(dlsym(handle, "SetHostExtensions")) : nullptr)
            set(versions.get());
    }
    orv::host::HostColors colors;
    QWidget host;
    host.resize(900, 640);
    const orv::host::PluginEntryPoints& api = plugin->Api();
    api.Init(db.get(), &colors, &host, 0, 0);
    api.Run();
    host.show();
    const QPixmap painted = host.grab();
    const auto shown = std::chrono::steady_clock::now();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("main_to_values_ms=%.1f module_to_values_ms=%.1f peak_rss_mb=%.1f painted=%dx%d\n",
                std::chrono::duration<double, std::milli>(shown - launched).count(),
                std::chrono::duration<double, std::milli>(shown - start).count(),
                static_cast<double>(usage.ru_maxrss) / 1024.0, painted.width(), painted.height());
    api.Close();
    return 0;
}
