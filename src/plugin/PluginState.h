#pragma once
// The module's process-wide state: what Init stores, the main window Run
// creates, and the shared cache. Lives from load to unload.

#include <QPixmap>

#include <memory>
#include <string>
#include <vector>

#include "data/HostInterfaces.h"
#include "data/RecordCache.h"
#include "data/TimeConverter.h"
#include "platform/QtKeyValueStore.h"
#include "settings/ViewSettings.h"
#include "ui/PluginMainWindow.h"

class QWidget;

namespace orv {

struct PluginState {
    HostDatabase* database = nullptr;
    HostColorProvider* colors = nullptr;
    QWidget* parent = nullptr;
    std::unique_ptr<QPixmap> largeIcon;
    std::unique_ptr<QPixmap> smallIcon;
    std::string title;
    std::string description;
    std::string version;
    std::unique_ptr<PluginMainWindow> mainWindow;
    std::vector<std::unique_ptr<PluginMainWindow>> retiredWindows;
    std::unique_ptr<TimeConverter> timeConverter;
    RecordCache cache;
    QtKeyValueStore keyValueStore;
    ViewSettings viewSettings{&keyValueStore};
};

PluginState& State();

}  // namespace orv
