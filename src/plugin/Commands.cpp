#include "plugin/Commands.h"

#include "plugin/PluginApi.h"
#include "plugin/PluginState.h"

namespace orv {

void RunCommand(int32_t id) {
    switch (id) {
        case command::ChartPreferences:
        case command::ExportValues:
        case command::ExportStructure:
            // Each command is handed to its own layer as that layer joins
            // the module: Chart Preferences to the settings dialog, the two
            // exports to the workbook export.
            break;
        default:
            break;
    }
}

}  // namespace orv
