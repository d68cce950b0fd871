#pragma once
// The CSV export and import of values on the host database, shared by the
// command line and the File menu.

#include <cstdio>
#include <string>

#include "exchange/ValueImport.h"

namespace orv::hostdb {
class SqliteHostDatabase;
}

namespace orv::host {

// Exit codes of the command-line routes.
inline constexpr int kCsvExitOk = 0;
inline constexpr int kCsvExitFailed = 1;   // nothing was written
inline constexpr int kCsvExitRefused = 2;  // some rows were refused; the others were imported

// Writes every value of `db` to the CSV file `path` (never over the database
// itself). Fills *count with the values written. False with the reason in
// *error; the file is then unchanged.
bool ExportCsvFile(hostdb::SqliteHostDatabase& db, const std::string& path, int* count, std::string* error);

// Reads the CSV file `path` and plans its import into `db`. False with the
// reason in *error when the file cannot be read or is no CSV of values.
bool PlanCsvFile(hostdb::SqliteHostDatabase& db, const std::string& path, exchange::ImportPlan* plan,
                 std::string* error);

// Writes the plan in one transaction: all of it or, on failure, nothing.
bool WriteCsvPlan(hostdb::SqliteHostDatabase& db, const exchange::ImportPlan& plan, std::string* error);

// "1 value", "2 values".
std::string CountText(std::size_t n, const std::string& noun);

// The command-line routes: report to `out` and refusals to `err`, return the
// exit code.
int RunCsvExport(hostdb::SqliteHostDatabase& db, const std::string& path, std::FILE* out, std::FILE* err);
int RunCsvImport(hostdb::SqliteHostDatabase& db, const std::string& path, bool dryRun, std::FILE* out, std::FILE* err);

}  // namespace orv::host
