#include "host/PluginLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <dlfcn.h>

namespace orv::host {
namespace {

template <typename Fn>
bool Resolve(void* handle, const char* name, Fn& slot, QStringList& missing) {
    void* symbol = dlsym(handle, name);
    if (!symbol) {
        missing << QString::fromLatin1(name);
        return false;
    }
    slot = reinterpret_cast<Fn>(symbol);
    return true;
}

}  // namespace

std::unique_ptr<PluginLibrary> PluginLibrary::Load(const QString& path, QString* error) {
    void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error)
            *error = QStringLiteral("Cannot load the module %1: %2").arg(path, QString::fromLocal8Bit(dlerror()));
        return nullptr;
    }
    std::unique_ptr<PluginLibrary> library(new PluginLibrary(handle, path));
    PluginEntryPoints& a = library->api_;
    QStringList missing;
    Resolve(handle, "Init", a.Init, missing);
    Resolve(handle, "Run", a.Run, missing);
    Resolve(handle, "GetWnd", a.GetWnd, missing);
    Resolve(handle, "Save", a.Save, missing);
    Resolve(handle, "IsModified", a.IsModified, missing);
    Resolve(handle, "Close", a.Close, missing);
    Resolve(handle, "GetTitle", a.GetTitle, missing);
    Resolve(handle, "GetDescription", a.GetDescription, missing);
    Resolve(handle, "GetVersionStr", a.GetVersionStr, missing);
    Resolve(handle, "GetIcon", a.GetIcon, missing);
    Resolve(handle, "GetIconSmall", a.GetIconSmall, missing);
    Resolve(handle, "GetPluginPriority", a.GetPluginPriority, missing);
    Resolve(handle, "GetCategory", a.GetCategory, missing);
    Resolve(handle, "CanActivate", a.CanActivate, missing);
    Resolve(handle, "ChangeColorScheme", a.ChangeColorScheme, missing);
    Resolve(handle, "GetPlugMenu", a.GetPlugMenu, missing);
    Resolve(handle, "GetOnCommandID", a.GetOnCommandID, missing);
    Resolve(handle, "AboutDialog", a.AboutDialog, missing);
    QStringList optional;
    Resolve(handle, "SetHostExtensions", a.SetHostExtensions, optional);
    if (!missing.isEmpty()) {
        if (error)
            *error = QStringLiteral("The module %1 lacks the entry points: %2")
                         .arg(path, missing.join(QStringLiteral(", ")));
        return nullptr;
    }
    return library;
}

PluginLibrary::~PluginLibrary() {
    // The module's Qt objects (icons, widgets) may still be referenced by the
    // running application, so the library stays mapped until the process
    // ends; dlclose here would unmap code Qt could still call into.
    (void)handle_;
}

void HandHostExtensions(const PluginEntryPoints& api, HostExtensions* extensions) {
    if (api.SetHostExtensions) api.SetHostExtensions(extensions);
}

QString DefaultModulePath() {
    // In the build tree the module lies beside the program; installed, it
    // lies in its own folder reached from the program's folder.
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString beside = programDir.filePath(QStringLiteral("ORVUnits.upg"));
    if (QFileInfo::exists(beside)) return beside;
    return QDir::cleanPath(programDir.filePath(QStringLiteral(ORV_MODULE_RELDIR "/ORVUnits.upg")));
}

}  // namespace orv::host
