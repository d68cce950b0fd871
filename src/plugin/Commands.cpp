#include "plugin/Commands.h"

#include <QApplication>

#include "export/ExcelExport.h"
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
    case command::ChartPreferences: ChartPreferences(); break;
    case command::ExportValues: ExportValues(State().database, State().cache); break;
    case command::ExportStructure: ExportStructure(State().database, State().cache); break;
    default: break;
    }
}

}  // namespace orv
