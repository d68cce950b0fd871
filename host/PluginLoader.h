#pragma once
// Loads ORVUnits.upg with dlopen and resolves every entry point by name, as
// any host of the module does.

#include <QString>

#include <cstdint>
#include <memory>

#include "data/HostExtensions.h"
#include "data/HostInterfaces.h"

class QMenu;
class QPixmap;
class QWidget;

namespace orv::host {

struct PluginEntryPoints {
    int32_t (*Init)(HostDatabase*, HostColorProvider*, QWidget*, int32_t, int32_t) = nullptr;
    int32_t (*Run)() = nullptr;
    QWidget* (*GetWnd)() = nullptr;
    int32_t (*Save)() = nullptr;
    int32_t (*IsModified)() = nullptr;
    int32_t (*Close)() = nullptr;
    int32_t (*GetTitle)(char*) = nullptr;
    int32_t (*GetDescription)(char*) = nullptr;
    int32_t (*GetVersionStr)(char*) = nullptr;
    QPixmap* (*GetIcon)() = nullptr;
    QPixmap* (*GetIconSmall)() = nullptr;
    int32_t (*GetPluginPriority)() = nullptr;
    int32_t (*GetCategory)() = nullptr;
    int32_t (*CanActivate)(int32_t, int32_t) = nullptr;
    int32_t (*ChangeColorScheme)() = nullptr;
    QMenu* (*GetPlugMenu)() = nullptr;
    int32_t (*GetOnCommandID)(int32_t, int32_t) = nullptr;
    int32_t (*AboutDialog)() = nullptr;
    // Optional: modules that use the host's extensions export it.
    int32_t (*SetHostExtensions)(HostExtensions*) = nullptr;
};

// Hands the module the host's extensions (null to withdraw them) when the
// module takes them.
void HandHostExtensions(const PluginEntryPoints& api, HostExtensions* extensions);

class PluginLibrary {
public:
    // Loads the library and resolves every entry point; null with a message
    // in *error when the file cannot be loaded or an entry point is missing.
    static std::unique_ptr<PluginLibrary> Load(const QString& path, QString* error);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    const PluginEntryPoints& Api() const { return api_; }
    const QString& Path() const { return path_; }

private:
    PluginLibrary(void* handle, QString path) : handle_(handle), path_(std::move(path)) {}
    void* handle_;
    QString path_;
    PluginEntryPoints api_;
};

// The module beside the running program (build tree) or in its installed
// folder relative to the program.
QString DefaultModulePath();

}  // namespace orv::host
