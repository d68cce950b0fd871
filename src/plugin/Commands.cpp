#include "plugin/Commands.h"

#include <QApplication>

#include "plugin/PluginApi.h"
#include "plugin/PluginState.h"
#include "settings/ChartPreferencesDialog.h"
#include "ui/charts/ChartsPage.h"

namespace orv {
namespace {

void ChartPreferences() {
    PluginState& s = State();
    if (!EditChartPreferences(s.viewSettings, s.database, QApplication::activeWindow())) return;
    if (s.mainWindow && s.mainWindow->Window()) {
        if (ChartsPage* charts = s.mainWindow->Charts()) charts->Redraw();
    }
}

}  // namespace

void RunCommand(int32_t id) {
    switch (id) {
        case command::ChartPreferences:
            ChartPreferences();
            break;
        case command::ExportValues:
        case command::ExportStructure:
            // The workbook exports join here once the export layer is in.
            break;
        default:
            break;
    }
}

}  // namespace orv
