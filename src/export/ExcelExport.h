#pragma once
// The two workbook exports: the structure (units, targets, groups, items)
// and the values (by item, by day per target, by date), each filled into a
// copy of its template, which lies beside the module file (the Environment
// service may name another one).

#include <cstdint>
#include <optional>
#include <string>

#include "data/HostInterfaces.h"

namespace orv {

class ExcelAutomation;
class RecordCache;

// Results of an export run.
inline constexpr int32_t kExportOk = 0;
inline constexpr int32_t kExportOpenFailed = -1;       // could not open for filling (structure: or save before)
inline constexpr int32_t kExportSaveFailed = -2;       // the final save failed
inline constexpr int32_t kExportPreSaveFailed = -3;    // values: the save before filling failed
inline constexpr int32_t kExportNoValues = -4;         // values: nothing for the day sheet
inline constexpr int32_t kExportCopyOpenFailed = -20;  // the copied template did not open
// Stops before anything was written: cancelled, or a message was shown.
// Every other result but kExportOk and kExportNoValues also leaves the
// destination as it was; the message then says why.
inline constexpr int32_t kExportStopped = 1;

inline constexpr const char* kStructureTemplate = "export_tmp_struct.xlsx";
inline constexpr const char* kValuesTemplate = "export_tmp_values.xlsx";

struct ExportOptions {
    // Where to write; when unset the user is asked with the save-file dialog.
    std::optional<std::string> destination;
    // Messages go to the user (message boxes) and the finished workbook is
    // opened with the desktop's handler; otherwise messages go into *message
    // only.
    bool interactive = true;
    // Receives the text of the message that stopped the export or that says
    // why a failed export wrote nothing.
    std::string* message = nullptr;
};

int32_t ExportStructure(HostDatabase* db, RecordCache& cache, const ExportOptions& options = {});
int32_t ExportValues(HostDatabase* db, RecordCache& cache, const ExportOptions& options = {});

// The fills on their own, on an open workbook (exposed for tests).
int32_t FillStructure(ExcelAutomation& excel, const RecordCache& cache);
int32_t FillValues(ExcelAutomation& excel, const RecordCache& cache, HostDatabase* db);

}  // namespace orv
