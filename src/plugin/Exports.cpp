// The exported entry points. Each one catches everything: an exception must
// never cross into the host.

#include <QApplication>
#include <QMenu>

#include <cstring>

#include "data/ModifiedFlag.h"
#include "platform/DialogRunner.h"
#include "platform/Services.h"
#include "plugin/Commands.h"
#include "plugin/PluginApi.h"
#include "plugin/PluginState.h"
#include "report/ReportJobs.h"
#include "resources/Resources.h"
#include "ui/AboutDialog.h"

namespace orv {
namespace {

template <typename Result, typename Body>
Result Guarded(Result onFailure, Body body) noexcept {
    try {
        return body();
    } catch (...) {
        return onFailure;
    }
}

int32_t CopyText(char* buffer, const std::string& text) {
    if (!buffer) return 0;
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(text::kTextCapacity - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return 1;
}

std::unique_ptr<QPixmap> LoadIcon(int id) { return std::make_unique<QPixmap>(LoadBitmap(id)); }

std::string LoadText(int id) { return LoadResourceString(id).toStdString(); }

bool HasWindow() {
    PluginState& s = State();
    return s.mainWindow && s.mainWindow->Window();
}

}  // namespace

PluginState& State() {
    static PluginState state;
    return state;
}

}  // namespace orv

using namespace orv;

ORV_EXPORT int32_t SetHostExtensions(HostExtensions* extensions) {
    SetCurrentHostExtensions(extensions);
    return 1;
}

ORV_EXPORT int32_t Init(HostDatabase* db, HostColorProvider* colors, QWidget* parent, int32_t, int32_t) {
    return Guarded<int32_t>(0, [&] {
        PluginState& s = State();
        s.database = db;
        s.colors = colors;
        s.parent = parent;
        s.largeIcon = LoadIcon(bitmap::LargeIcon);
        s.smallIcon = LoadIcon(bitmap::SmallIcon);
        s.title = LoadText(resource_string::Title);
        s.description = LoadText(resource_string::Description);
        s.version = LoadText(resource_string::Version);
        ClearModifiedFlag();
        PruneOldReports();
        // A second Init starts without a main window; one still alive from
        // before is kept (not destroyed under the host's feet) until unload.
        if (s.mainWindow) s.retiredWindows.push_back(std::move(s.mainWindow));
        return 0;
    });
}

ORV_EXPORT int32_t Run() {
    return Guarded<int32_t>(0, [] {
        PluginState& s = State();
        if (!s.timeConverter) s.timeConverter = std::make_unique<TimeConverter>(s.database);
        if (!s.mainWindow) {
            s.mainWindow = std::make_unique<PluginMainWindow>(s.database, s.viewSettings, s.cache, s.colors);
            s.mainWindow->Create(s.parent);
        }
        return 0;
    });
}

ORV_EXPORT QWidget* GetWnd() {
    return Guarded<QWidget*>(nullptr, [] { return State().mainWindow ? State().mainWindow->Window() : nullptr; });
}

ORV_EXPORT int32_t Save() {
    return Guarded<int32_t>(0, [] { return HasWindow() ? State().mainWindow->Save() : 0; });
}

ORV_EXPORT int32_t IsModified() { return ModifiedFlag(); }

ORV_EXPORT int32_t Close() {
    return Guarded<int32_t>(1, [] {
        PluginState& s = State();
        if (HasWindow()) {
            s.mainWindow->Destroy();
            s.cache.Clear();
            s.mainWindow.reset();
        }
        s.timeConverter.reset();
        return 1;
    });
}

ORV_EXPORT int32_t GetTitle(char* buffer) { return CopyText(buffer, State().title); }
ORV_EXPORT int32_t GetDescription(char* buffer) { return CopyText(buffer, State().description); }
ORV_EXPORT int32_t GetVersionStr(char* buffer) { return CopyText(buffer, State().version); }
ORV_EXPORT QPixmap* GetIcon() { return State().largeIcon.get(); }
ORV_EXPORT QPixmap* GetIconSmall() { return State().smallIcon.get(); }
ORV_EXPORT int32_t GetPluginPriority() { return 300; }
ORV_EXPORT int32_t GetCategory() { return 0; }

ORV_EXPORT int32_t CanActivate(int32_t first, int32_t second) {
    if (first == 0) return 1;
    return second == 0 ? 2 : 0;
}

ORV_EXPORT int32_t ChangeColorScheme() {
    return Guarded<int32_t>(0, [] {
        if (HasWindow()) State().mainWindow->ApplyColors();
        return 0;
    });
}

ORV_EXPORT QMenu* GetPlugMenu() {
    return Guarded<QMenu*>(nullptr, [] {
        auto* menu = new QMenu(QStringLiteral("ORV"));
        const struct {
            const char* text;
            int32_t id;
        } items[] = {{"Chart Preferences", command::ChartPreferences},
                     {"Export values to Excel", command::ExportValues},
                     {"Export sturcture to Excel", command::ExportStructure}};
        for (const auto& item : items) menu->addAction(QString::fromUtf8(item.text))->setData(item.id);
        return menu;
    });
}

ORV_EXPORT int32_t GetOnCommandID(int32_t, int32_t command) {
    return Guarded<int32_t>(0, [&] {
        RunCommand(static_cast<uint16_t>(command));
        return 0;
    });
}

ORV_EXPORT int32_t AboutDialog() {
    return Guarded<int32_t>(0, [] {
        const QPixmap icon = State().largeIcon ? *State().largeIcon : QPixmap();
        orv::AboutDialog dialog(icon, QApplication::activeWindow());
        Services::Dialogs().Run(dialog);
        return 0;
    });
}
