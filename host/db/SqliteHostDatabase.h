#pragma once
// The host database on SQLite: every record kind in its own table, category
// slots per kind, the settings store and the host's time scale, behind the
// host interfaces the module calls.
//
// Every write goes to the file before the call returns (one immediate
// transaction per change, WAL journal, synchronous=FULL), so nothing the
// module confirmed is lost when the process dies right after. Record,
// category and settings objects handed out stay valid for the database's
// whole life: the database keeps one object per record id and never frees
// it, and operations on a record deleted meanwhile fail with kGone.

#include <cstdint>
#include <memory>
#include <string>

#include "data/HostExtensions.h"
#include "data/HostInterfaces.h"
#include "data/Records.h"
#include "host/db/Backup.h"
#include "host/db/RecordLayout.h"

namespace orv::hostdb {

class SqliteHostDatabase final : public HostDatabase, public HostExtensions {
public:
    struct OpenOptions {
        // How long a write waits for another program holding the database
        // before it fails with kBusy.
        int busyTimeoutMs = 5000;
        // Open read-only even when the file could be written.
        bool readOnly = false;
    };

    // Opens or creates the database at `path` (":memory:" for a private
    // in-memory one). A missing or zero-byte file becomes a new database with
    // the starter structure; an older file is migrated forward. A file that is
    // not one of ours (not SQLite, or SQLite of another program), a damaged
    // one and one of a newer version are refused and left untouched, with no
    // companion file created beside them. A file this program may not write
    // (no write permission on it or its folder) opens read-only. Null on
    // failure, with the reason in *error.
    static std::unique_ptr<SqliteHostDatabase> Open(const std::string& path, std::string* error);
    static std::unique_ptr<SqliteHostDatabase> Open(const std::string& path, const OpenOptions& options,
                                                    std::string* error);
    ~SqliteHostDatabase();
    SqliteHostDatabase(const SqliteHostDatabase&) = delete;
    SqliteHostDatabase& operator=(const SqliteHostDatabase&) = delete;

    // HostDatabase
    HostSettingsStore* SettingsStore() override;
    HostTable* Units() override;
    HostTable* Items() override;
    HostTable* Targets() override;
    HostTable* Values() override;
    HostTable* Groups() override;
    HostCategoryTable* UnitCategories() override;
    HostCategoryTable* ValueCategories() override;
    HostCategoryTable* GroupCategories() override;
    HostCategoryTable* TargetCategories() override;
    int32_t SecondsToDate(int32_t seconds, HostDateTime* out) override;
    int32_t DateToSeconds(int32_t* seconds, const HostDateTime* in) override;

    // HostExtensions. Changes are counted per kind by triggers in the file,
    // so the commits of other programs count too.
    uint64_t ChangeVersion(int32_t kind) override;
    int32_t BeginChange() override;
    int32_t EndChange(int32_t commit) override;
    int32_t IsReadOnly() override;
    int32_t DatabasePath(char* buffer, int32_t capacity) override;
    HostExtensions* Extensions() { return this; }

    // Copies the database to `destination` (see BackupDatabase). Not while a
    // change is open.
    bool BackupTo(const std::string& destination, std::string* error, const BackupProgress& progress = {});

    HostTable* Table(RecordKind kind);
    // Null for items, which have no category slots.
    HostCategoryTable* Categories(RecordKind kind);

    // Hides a record from the module's loaders (its IsSkipped reports 1) or
    // shows it again. kOk, kGone when there is no such record.
    int32_t SetSkipped(RecordKind kind, int32_t id, bool skipped);

    const std::string& Path() const;

    // Adds many records in one transaction, for generated and imported data.
    // While a batch is open, the ordinary write operations of this database
    // fail (a batch cannot begin while a change is open); Commit makes the whole batch durable, destruction without
    // Commit drops it.
    class Batch {
    public:
        explicit Batch(SqliteHostDatabase& db);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

        bool Began() const { return began_; }
        // As HostTable::Add, inside the batch.
        int32_t Add(RecordKind kind, const FieldMap& fields);
        bool Commit(std::string* error);

    private:
        SqliteHostDatabase& db_;
        bool began_ = false;
        bool done_ = false;
    };

    struct State;

private:
    SqliteHostDatabase();
    std::unique_ptr<State> state_;
};

}  // namespace orv::hostdb
