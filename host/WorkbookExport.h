#pragma once
// The workbook exports from the command line, for scripts and backups: the
// module's own export code, run without a display, dialogs or messages.

#include <QString>

namespace orv::hostdb {
class SqliteHostDatabase;
}

namespace orv::host {

// Writes the values (or the structure) of `db` into the workbook `out`,
// from the template beside `modulePath`. Refuses `out` when it is the
// database file itself. False with the reason in *message.
bool ExportWorkbook(hostdb::SqliteHostDatabase& db, bool values, const QString& out, const QString& modulePath,
                    QString* message);

}  // namespace orv::host
