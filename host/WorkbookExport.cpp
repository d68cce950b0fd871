#include "host/WorkbookExport.h"

#include "data/RecordCache.h"
#include "export/ExcelExport.h"
#include "host/db/FileIdentity.h"
#include "host/db/SqliteHostDatabase.h"
#include "platform/Environment.h"
#include "platform/Services.h"

namespace orv::host {

bool ExportWorkbook(hostdb::SqliteHostDatabase& db, bool values, const QString& out, const QString& modulePath,
                    QString* message) {
    // By file identity, so a link or another spelling of the path is seen
    // through too.
    if (hostdb::SameFile(out.toStdString(), db.Path())) {
        if (message) {
            *message = QStringLiteral(
                           "'%1' is the open database; a workbook is never written over it. "
                           "Choose another file name.")
                           .arg(out);
        }
        return false;
    }
    std::string stopped;
    std::string lastFailure;
    // The templates beside `modulePath`, and the last diagnostic for the message.
    Environment environment = Services::Environment();
    environment.moduleFile = modulePath;
    environment.diagnostics = [&lastFailure](const std::string& text) { lastFailure = text; };
    const Environment* previous = Services::SetEnvironment(&environment);
    ExportOptions options;
    options.destination = out.toStdString();
    options.interactive = false;
    options.message = &stopped;
    RecordCache cache;
    const int32_t result = values ? ExportValues(&db, cache, options) : ExportStructure(&db, cache, options);
    Services::SetEnvironment(previous);

    QString text;
    switch (result) {
    case kExportOk:
    case kExportNoValues:  // written; without values there are no daily totals
        return true;
    case kExportStopped: text = QString::fromStdString(stopped); break;
    default:
        text = QStringLiteral("The workbook could not be written (result %1)").arg(result);
        if (!lastFailure.empty()) text += QStringLiteral(": ") + QString::fromStdString(lastFailure);
        // The export's own words for it, e.g. that the folder does not exist.
        if (!stopped.empty()) text += QStringLiteral("\n") + QString::fromStdString(stopped);
        break;
    }
    if (message) *message = text;
    return false;
}

}  // namespace orv::host
