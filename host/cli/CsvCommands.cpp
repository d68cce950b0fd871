#include "host/cli/CsvCommands.h"

#include <sys/stat.h>

#include <exception>

#include "data/RecordCache.h"
#include "exchange/FileWrite.h"
#include "exchange/ValueExport.h"
#include "host/db/SqliteHostDatabase.h"

namespace orv::host {
namespace {

// The import's records in one batch of the host database: dropped unless
// committed.
class BatchSink final : public exchange::ImportSink {
public:
    explicit BatchSink(hostdb::SqliteHostDatabase& db) : batch_(db) {}
    bool Began() const { return batch_.Began(); }
    int32_t Add(RecordKind kind, const FieldMap& fields) override { return batch_.Add(kind, fields); }
    bool Commit(std::string* error) override { return batch_.Commit(error); }

private:
    hostdb::SqliteHostDatabase::Batch batch_;
};

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

void Report(std::FILE* stream, const std::string& text) {
    std::fputs(text.c_str(), stream);
    std::fflush(stream);
}

}  // namespace

bool ExportCsvFile(hostdb::SqliteHostDatabase& db, const std::string& path, int* count, std::string* error) {
    if (SameFile(path, db.Path())) {
        *error = "'" + path + "' is the open database; choose another file.";
        return false;
    }
    RecordCache cache;
    cache.LoadAll(&db);
    if (!exchange::WriteFileAtomically(path, exchange::ValuesCsv(cache), error)) return false;
    *count = static_cast<int>(cache.Values().size());
    return true;
}

bool PlanCsvFile(hostdb::SqliteHostDatabase& db, const std::string& path, exchange::ImportPlan* plan,
                 std::string* error) {
    std::string text;
    if (!exchange::ReadWholeFile(path, &text, error)) return false;
    RecordCache cache;
    cache.LoadAll(&db);
    return exchange::PlanImport(text, db, cache, plan, error);
}

bool WriteCsvPlan(hostdb::SqliteHostDatabase& db, const exchange::ImportPlan& plan, std::string* error) {
    if (plan.newValues.empty()) return true;
    BatchSink sink(db);
    if (!sink.Began()) {
        *error = "The database cannot be written now; nothing was imported.";
        return false;
    }
    return exchange::WriteImport(plan, db, sink, error);
}

std::string CountText(std::size_t n, const std::string& noun) {
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

namespace {

int ExportRoute(hostdb::SqliteHostDatabase& db, const std::string& path, std::FILE* out, std::FILE* err) {
    int count = 0;
    std::string error;
    if (!ExportCsvFile(db, path, &count, &error)) {
        Report(err, "orv-desktop: " + error + "\n");
        return kCsvExitFailed;
    }
    Report(out, CountText(static_cast<std::size_t>(count), "value") + " written to " + path + "\n");
    return kCsvExitOk;
}

int ImportRoute(hostdb::SqliteHostDatabase& db, const std::string& path, bool dryRun, std::FILE* out, std::FILE* err) {
    exchange::ImportPlan plan;
    std::string error;
    if (!PlanCsvFile(db, path, &plan, &error)) {
        Report(err, "orv-desktop: " + error + "\n");
        return kCsvExitFailed;
    }
    Report(out, exchange::PreviewText(plan));
    if (dryRun) {
        Report(out, "Dry run: nothing was written.\n");
    } else if (!WriteCsvPlan(db, plan, &error)) {
        Report(err, "orv-desktop: " + error + "\n");
        return kCsvExitFailed;
    } else {
        Report(out, CountText(plan.newValues.size(), "value") + " imported.\n");
    }
    if (!plan.refused.empty()) {
        Report(err, "orv-desktop: " + CountText(plan.refused.size(), "row") +
                        (plan.refused.size() == 1 ? " was" : " were") + " refused" +
                        (dryRun ? ".\n" : "; the other rows were imported.\n"));
        return kCsvExitRefused;
    }
    return kCsvExitOk;
}

}  // namespace

int RunCsvExport(hostdb::SqliteHostDatabase& db, const std::string& path, std::FILE* out, std::FILE* err) {
    try {
        return ExportRoute(db, path, out, err);
    } catch (const std::exception& e) {
        Report(err, std::string("orv-desktop: ") + e.what() + "\n");
        return kCsvExitFailed;
    }
}

int RunCsvImport(hostdb::SqliteHostDatabase& db, const std::string& path, bool dryRun, std::FILE* out, std::FILE* err) {
    try {
        return ImportRoute(db, path, dryRun, out, err);
    } catch (const std::exception& e) {
        Report(err, std::string("orv-desktop: ") + e.what() + "\n");
        return kCsvExitFailed;
    }
}

}  // namespace orv::host
