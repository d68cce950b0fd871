#include "host/db/SqliteHostDatabase.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "data/FieldText.h"
#include "data/RecordBuffer.h"
#include "host/db/FileCheck.h"
#include "host/db/HostCalendar.h"
#include "host/db/Schema.h"
#include "host/db/SqliteStatement.h"
#include "host/db/StarterData.h"

namespace orv::hostdb {

namespace {

// ChangeVersion kinds: the five record kinds, categories and settings.
constexpr std::size_t kCountedKinds = 7;

// The host result for a failed SQLite call.
int32_t FailureOf(int sqliteResult) {
    switch (sqliteResult & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return kBusy;
    case SQLITE_READONLY: return kReadOnly;
    default: return kStorageError;
    }
}

std::size_t KindSlot(RecordKind kind) { return static_cast<std::size_t>(kind); }

// Copies `text` as a zero-terminated string of at most `capacity` bytes,
// cutting on a character boundary.
int32_t CopyName(const std::string& text, char* buffer, int32_t capacity) {
    if (!buffer || capacity <= 0) return kBadArgument;
    const std::string_view cut = CutUtf8(text, static_cast<std::size_t>(capacity) - 1);
    std::memcpy(buffer, cut.data(), cut.size());
    buffer[cut.size()] = '\0';
    return kOk;
}

class SqliteRecord;
class SqliteTable;
class SqliteCategory;
class SqliteCategoryTable;
class SqliteSettingsRecord;
class SqliteSettingsStore;

}  // namespace

// Everything the database holds besides its vtable: the connection, the
// prepared statements and the objects handed out to the module.
struct SqliteHostDatabase::State {
    struct KindStore {
        const KindLayout* layout = nullptr;
        std::unordered_map<int32_t, std::unique_ptr<SqliteRecord>> records;
        std::unique_ptr<SqliteTable> table;
        std::string selectAll, selectOne, insert, update, remove, maxId, maxIndex;
    };

    sqlite3* db = nullptr;
    std::string path;
    std::string absolutePath;  // empty in memory
    bool readOnly = false;
    std::map<std::string, Statement> statements;
    std::array<KindStore, 5> kinds;
    std::array<std::unique_ptr<SqliteCategoryTable>, 5> categoryTables;       // by kind; none for items
    std::unordered_map<int64_t, std::unique_ptr<SqliteCategory>> categories;  // by host id
    std::unique_ptr<SqliteSettingsStore> settingsStore;
    std::map<std::string, std::unique_ptr<SqliteSettingsRecord>> settingsRecords;
    std::unique_ptr<WriteTransaction> batch;
    uint64_t generation = 0;

    // An open change (BeginChange): the records and categories written in
    // it, brought back to the stored state when it is rolled back.
    bool inChange = false;
    bool changeBroken = false;  // SQLite ended the transaction on its own
    std::vector<std::pair<RecordKind, int32_t>> touchedRecords;
    std::vector<SqliteCategory*> touchedCategories;

    // Change versions: the stored counters as last read, and the answers,
    // which move whenever a stored counter is seen to differ.
    bool hasChangeCounts = false;
    bool ownWrite = true;  // the counters need reading (own write or first use)
    int64_t dataVersion = -1;
    std::array<int64_t, kCountedKinds> storedCounts{};
    std::array<uint64_t, kCountedKinds> versions{};

    ~State();

    Statement* Prepare(const std::string& sql);

    // Records.
    SqliteRecord& Object(RecordKind kind, int32_t id);
    SqliteRecord* FindExisting(RecordKind kind, int32_t id);
    bool ReadRow(const KindLayout& layout, const Statement& stmt, RecordRow* row) const;
    void BindRow(const KindLayout& layout, Statement& stmt, const RecordRow& row) const;
    // kOk and the row; kGone when no record has the id; kStorageError.
    int32_t LoadRow(RecordKind kind, int32_t id, RecordRow* row);
    int32_t InsertFields(RecordKind kind, const FieldMap& fields, RecordRow* inserted);
    int32_t MaxOf(RecordKind kind, bool index);
    template <typename Change>
    int32_t Modify(SqliteRecord& record, Change change);
    int32_t Delete(SqliteRecord& record);
    int32_t Refresh(SqliteRecord& record);
    int32_t LoadAll(RecordKind kind, std::vector<SqliteRecord*>* order);

    // Categories and settings.
    int32_t LoadCategories(RecordKind kind, std::vector<SqliteCategory*>* order);
    int32_t RenameCategory(SqliteCategory& category, const char* name);
    int32_t ReadSettings(const std::string& name, FieldMap* fields);
    int32_t WriteSettings(const FieldMap& fields);

    // kOk when a write may start: kReadOnly on a read-only database,
    // kStorageError while a batch is open or after SQLite ended an open change.
    int32_t WriteAllowed();
    // Begins a write: its own immediate transaction, or a part of the open
    // change. kOk or why it could not begin.
    int32_t BeginWrite(std::optional<WriteTransaction>& tx);
    int32_t EndWrite(WriteTransaction& tx);
    void Touch(RecordKind kind, int32_t id) {
        if (inChange) touchedRecords.emplace_back(kind, id);
    }
    // Brings every object written in the rolled-back change back to the
    // stored state.
    void RestoreTouched();
    void RefreshVersions();
};

namespace {

using State = SqliteHostDatabase::State;

class SqliteRecord final : public HostRecord {
public:
    SqliteRecord(State* state, RecordKind kind, int32_t id) : state_(state), kind_(kind) { row_.id = id; }

    // HostRecordOps
    int32_t IsSkipped() override { return gone_ || row_.skipped ? 1 : 0; }
    int32_t Commit() override { return state_->Refresh(*this); }
    int32_t Delete(int32_t really) override {
        if (really != 1) return kBadArgument;
        return state_->Delete(*this);
    }
    int32_t AfterAdd(int32_t flag) override {
        return state_->Modify(*this, [flag](RecordRow& row) {
            row.confirmed = flag != 0;
            return kOk;
        });
    }
    int32_t SetCategory(int32_t category) override {
        if (category < 0 || category >= kCategorySlots) return kBadValue;
        return state_->Modify(*this, [category](RecordRow& row) {
            row.category = category;
            return kOk;
        });
    }
    int32_t GetCategory() override { return gone_ ? kGone : row_.category; }
    int32_t GetProperty(int32_t id, void* buffer, int32_t size, int32_t element) override {
        if (gone_) return kGone;
        return GetRowProperty(Layout(), row_, id, buffer, size, element);
    }
    int32_t SetProperty(int32_t id, const void* buffer, int32_t size, int32_t element) override {
        const KindLayout& kindLayout = Layout();
        return state_->Modify(
            *this, [&](RecordRow& row) { return SetRowProperty(kindLayout, &row, id, buffer, size, element); });
    }

    // HostNamed
    int32_t GetId() override { return row_.id; }
    int32_t GetIndex() override { return row_.index; }
    int32_t GetName(char* buffer, int32_t capacity) override {
        if (gone_) {
            CopyName(std::string(), buffer, capacity);
            return kGone;
        }
        return CopyName(row_.name, buffer, capacity);
    }
    int32_t SetName(const char* text) override {
        if (!text) return kBadArgument;
        return state_->Modify(*this, [text](RecordRow& row) {
            row.name = text;
            return kOk;
        });
    }

    RecordKind Kind() const { return kind_; }
    const KindLayout& Layout() const { return LayoutOf(kind_); }
    int32_t Id() const { return row_.id; }
    bool Gone() const { return gone_; }
    void SetRow(RecordRow row) {
        row_ = std::move(row);
        gone_ = false;
    }
    void MarkGone() { gone_ = true; }
    uint64_t seen = 0;

private:
    State* state_;
    RecordKind kind_;
    RecordRow row_;
    bool gone_ = false;
};

class SqliteTable final : public HostTable {
public:
    SqliteTable(State* state, RecordKind kind) : state_(state), kind_(kind) {}

    int32_t MoveFirst() override {
        position_ = 0;
        const int32_t result = state_->LoadAll(kind_, &order_);
        SkipGone();
        return result;
    }
    int32_t MoveNext() override {
        if (position_ >= order_.size()) return -1;
        ++position_;
        SkipGone();
        return kOk;
    }
    int32_t IsEnd() override { return position_ >= order_.size() ? 1 : 0; }
    HostRecord* Current() override {
        if (position_ >= order_.size() || order_[position_]->Gone()) return nullptr;
        return order_[position_];
    }
    int32_t Add(const FieldMap* fields) override {
        if (!fields) return kBadArgument;
        std::optional<WriteTransaction> tx;
        if (const int32_t began = state_->BeginWrite(tx); began != kOk) return began;
        RecordRow row;
        const int32_t result = state_->InsertFields(kind_, *fields, &row);
        if (result != kOk) return result;
        if (const int32_t ended = state_->EndWrite(*tx); ended != kOk) return ended;
        state_->Touch(kind_, row.id);
        // An object handed out earlier for this id now stands for the new record.
        if (SqliteRecord* existing = state_->FindExisting(kind_, row.id)) existing->SetRow(std::move(row));
        return kOk;
    }
    HostRecord* Find(int32_t id) override {
        RecordRow row;
        const int32_t result = state_->LoadRow(kind_, id, &row);
        if (result == kGone) {
            if (SqliteRecord* existing = state_->FindExisting(kind_, id)) existing->MarkGone();
            return nullptr;
        }
        if (result != kOk) {
            SqliteRecord* existing = state_->FindExisting(kind_, id);
            return existing && !existing->Gone() ? existing : nullptr;
        }
        SqliteRecord& record = state_->Object(kind_, id);
        record.SetRow(std::move(row));
        return &record;
    }
    int32_t MaxId() override { return state_->MaxOf(kind_, false); }
    int32_t MaxIndex() override { return state_->MaxOf(kind_, true); }

private:
    void SkipGone() {
        while (position_ < order_.size() && order_[position_]->Gone()) ++position_;
    }

    State* state_;
    RecordKind kind_;
    std::vector<SqliteRecord*> order_;
    std::size_t position_ = 0;
};

class SqliteCategory final : public HostCategory {
public:
    SqliteCategory(State* state, int64_t hostId, int32_t number) : state_(state), hostId_(hostId), number_(number) {}

    int32_t AfterRename(int32_t flag) override { return gone_ ? kGone : kOk; }

    int32_t GetId() override { return static_cast<int32_t>(hostId_); }
    int32_t GetIndex() override { return number_; }
    int32_t GetName(char* buffer, int32_t capacity) override { return CopyName(name_, buffer, capacity); }
    int32_t SetName(const char* text) override { return state_->RenameCategory(*this, text); }

    int64_t HostId() const { return hostId_; }
    bool Gone() const { return gone_; }
    void Set(int32_t number, std::string name) {
        number_ = number;
        name_ = std::move(name);
        gone_ = false;
    }
    void MarkGone() { gone_ = true; }
    uint64_t seen = 0;

private:
    State* state_;
    int64_t hostId_;
    int32_t number_;
    std::string name_;
    bool gone_ = false;
};

class SqliteCategoryTable final : public HostCategoryTable {
public:
    SqliteCategoryTable(State* state, RecordKind kind) : state_(state), kind_(kind) {}

    int32_t MoveFirst() override {
        position_ = 0;
        return state_->LoadCategories(kind_, &order_);
    }
    int32_t MoveNext() override {
        if (position_ >= order_.size()) return -1;
        ++position_;
        return kOk;
    }
    int32_t IsEnd() override { return position_ >= order_.size() ? 1 : 0; }
    HostCategory* Current() override { return position_ < order_.size() ? order_[position_] : nullptr; }

private:
    State* state_;
    RecordKind kind_;
    std::vector<SqliteCategory*> order_;
    std::size_t position_ = 0;
};

class SqliteSettingsRecord final : public HostSettingsRecord {
public:
    SqliteSettingsRecord(State* state, std::string name) : state_(state), name_(std::move(name)) {}

    // Reads the stored record afresh, so a Write since Find is seen.
    int32_t Read(char* buffer, int32_t* count) override {
        if (!buffer || !count) return kBadArgument;
        FieldMap fields;
        const int32_t result = state_->ReadSettings(name_, &fields);
        if (result != kOk) return result;
        if (fields.empty()) return kGone;
        return RecordBuffer::Encode(&fields, buffer, count);
    }

private:
    State* state_;
    std::string name_;
};

class SqliteSettingsStore final : public HostSettingsStore {
public:
    explicit SqliteSettingsStore(State* state) : state_(state) {}

    HostSettingsRecord* Find(const char* name) override {
        if (!name) return nullptr;
        FieldMap fields;
        if (state_->ReadSettings(name, &fields) != kOk || fields.empty()) return nullptr;
        auto& slot = state_->settingsRecords[name];
        if (!slot) slot = std::make_unique<SqliteSettingsRecord>(state_, name);
        return slot.get();
    }
    int32_t Write(const char* buffer, int32_t count) override {
        if (!buffer || count < 0) return kBadArgument;
        FieldMap fields;
        RecordBuffer::Decode(&fields, buffer, count);
        return state_->WriteSettings(fields);
    }

private:
    State* state_;
};

std::string JoinColumns(const KindLayout& layout) {
    std::string columns = "id, idx, name, category, creator_id, skipped, confirmed";
    for (const ScalarField& f : layout.scalars) columns += std::string(", ") + f.column;
    if (layout.hasList) columns += std::string(", ") + layout.list.column;
    return columns;
}

int ColumnCount(const KindLayout& layout) {
    return 7 + static_cast<int>(layout.scalars.size()) + (layout.hasList ? 1 : 0);
}

void BuildStatements(State::KindStore& store) {
    const KindLayout& layout = *store.layout;
    const std::string table = layout.table;
    const std::string columns = JoinColumns(layout);
    store.selectAll = "SELECT " + columns + " FROM " + table + " ORDER BY seq";
    store.selectOne = "SELECT " + columns + " FROM " + table + " WHERE id = ?1";
    std::string placeholders;
    for (int i = 1; i <= ColumnCount(layout); ++i) placeholders += (i > 1 ? ", ?" : "?") + std::to_string(i);
    store.insert = "INSERT INTO " + table + " (" + columns + ") VALUES (" + placeholders + ")";
    std::string assignments = "idx = ?2, name = ?3, category = ?4, creator_id = ?5, skipped = ?6, confirmed = ?7";
    int parameter = 8;
    for (const ScalarField& f : layout.scalars) {
        assignments += std::string(", ") + f.column + " = ?" + std::to_string(parameter++);
    }
    if (layout.hasList) assignments += std::string(", ") + layout.list.column + " = ?" + std::to_string(parameter);
    store.update = "UPDATE " + table + " SET " + assignments + " WHERE id = ?1";
    store.remove = "DELETE FROM " + table + " WHERE id = ?1";
    store.maxId = "SELECT max(id) FROM " + table;
    store.maxIndex = "SELECT max(idx) FROM " + table;
}

}  // namespace

SqliteHostDatabase::State::~State() {
    batch.reset();
    statements.clear();
    if (db) sqlite3_close_v2(db);
}

Statement* State::Prepare(const std::string& sql) {
    auto it = statements.find(sql);
    if (it == statements.end()) {
        Statement stmt(db, sql);
        if (!stmt.Ok()) return nullptr;
        it = statements.emplace(sql, std::move(stmt)).first;
    }
    return &it->second.Reset();
}

SqliteRecord& State::Object(RecordKind kind, int32_t id) {
    auto& slot = kinds[KindSlot(kind)].records[id];
    if (!slot) slot = std::make_unique<SqliteRecord>(this, kind, id);
    return *slot;
}

SqliteRecord* State::FindExisting(RecordKind kind, int32_t id) {
    auto& records = kinds[KindSlot(kind)].records;
    const auto it = records.find(id);
    return it == records.end() ? nullptr : it->second.get();
}

bool State::ReadRow(const KindLayout& layout, const Statement& stmt, RecordRow* row) const {
    row->id = static_cast<int32_t>(stmt.Int(0));
    row->index = static_cast<int32_t>(stmt.Int(1));
    row->name = stmt.Text(2);
    row->category = static_cast<int32_t>(stmt.Int(3));
    row->creatorId = static_cast<int32_t>(stmt.Int(4));
    row->skipped = stmt.Int(5) != 0;
    row->confirmed = stmt.Int(6) != 0;
    int column = 7;
    for (std::size_t i = 0; i < layout.scalars.size(); ++i, ++column) {
        const int64_t value = stmt.Int(column);
        switch (layout.scalars[i].type) {
        case ScalarType::Float: row->scalars[i] = stmt.Real(column); break;
        case ScalarType::Int32: row->scalars[i] = static_cast<int32_t>(value); break;
        case ScalarType::Byte: row->scalars[i] = static_cast<uint8_t>(value); break;
        case ScalarType::Word: row->scalars[i] = static_cast<uint16_t>(value); break;
        case ScalarType::Seconds: row->scalars[i] = static_cast<uint32_t>(value); break;
        }
    }
    row->list.clear();
    if (layout.hasList) row->list = UnpackList(stmt.Blob(column));
    return true;
}

void State::BindRow(const KindLayout& layout, Statement& stmt, const RecordRow& row) const {
    stmt.Bind(1, int64_t{row.id});
    stmt.Bind(2, int64_t{row.index});
    stmt.Bind(3, std::string_view(row.name));
    stmt.Bind(4, int64_t{row.category});
    stmt.Bind(5, int64_t{row.creatorId});
    stmt.Bind(6, int64_t{row.skipped ? 1 : 0});
    stmt.Bind(7, int64_t{row.confirmed ? 1 : 0});
    int parameter = 8;
    for (std::size_t i = 0; i < layout.scalars.size(); ++i, ++parameter) {
        if (layout.scalars[i].type == ScalarType::Float) {
            stmt.Bind(parameter, row.scalars[i]);
        } else {
            stmt.Bind(parameter, static_cast<int64_t>(row.scalars[i]));
        }
    }
    if (layout.hasList) {
        const std::vector<unsigned char> blob = PackList(row.list);
        stmt.BindBlob(parameter, blob.data(), blob.size());
    }
}

int32_t State::LoadRow(RecordKind kind, int32_t id, RecordRow* row) {
    KindStore& store = kinds[KindSlot(kind)];
    Statement* stmt = Prepare(store.selectOne);
    if (!stmt) return kStorageError;
    stmt->Bind(1, int64_t{id});
    const int rc = stmt->Step();
    int32_t result = kGone;
    if (rc == SQLITE_ROW) {
        ReadRow(*store.layout, *stmt, row);
        result = kOk;
    } else if (rc != SQLITE_DONE) {
        result = kStorageError;
    }
    stmt->Reset();
    return result;
}

int32_t State::InsertFields(RecordKind kind, const FieldMap& fields, RecordRow* inserted) {
    KindStore& store = kinds[KindSlot(kind)];
    const KindLayout& layout = *store.layout;
    RecordRow row;
    bool hasIndex = false;
    const int32_t parsed = ParseRecord(layout, fields, &row, &hasIndex);
    if (parsed != kOk) return parsed;
    if (!hasIndex) {
        // Groups and items take their id as sort position; the other kinds
        // are placed after the last one.
        row.index = layout.indexInFields ? MaxOf(kind, true) + 1 : row.id;
    }
    Statement* stmt = Prepare(store.insert);
    if (!stmt) return kStorageError;
    BindRow(layout, *stmt, row);
    if (!stmt->Run()) {
        return stmt->LastResult() == SQLITE_CONSTRAINT_UNIQUE ? kDuplicateId : FailureOf(stmt->LastResult());
    }
    if (inserted) *inserted = std::move(row);
    return kOk;
}

int32_t State::MaxOf(RecordKind kind, bool index) {
    KindStore& store = kinds[KindSlot(kind)];
    Statement* stmt = Prepare(index ? store.maxIndex : store.maxId);
    if (!stmt) return 0;
    int64_t value = 0;
    if (stmt->Step() == SQLITE_ROW && !stmt->IsNull(0)) value = stmt->Int(0);
    stmt->Reset();
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, INT32_MAX));
}

// Re-reads the record inside an immediate transaction, applies `change` to
// that fresh copy and writes the whole row back, so a change made meanwhile
// by another program is not overwritten by a stale copy.
template <typename Change>
int32_t State::Modify(SqliteRecord& record, Change change) {
    if (record.Gone()) return kGone;
    std::optional<WriteTransaction> tx;
    if (const int32_t began = BeginWrite(tx); began != kOk) return began;
    RecordRow row;
    const int32_t loaded = LoadRow(record.Kind(), record.Id(), &row);
    if (loaded == kGone) record.MarkGone();
    if (loaded != kOk) return loaded;
    const int32_t changed = change(row);
    if (changed != kOk) return changed;
    KindStore& store = kinds[KindSlot(record.Kind())];
    Statement* stmt = Prepare(store.update);
    if (!stmt) return kStorageError;
    BindRow(*store.layout, *stmt, row);
    if (!stmt->Run()) return FailureOf(stmt->LastResult());
    if (const int32_t ended = EndWrite(*tx); ended != kOk) return ended;
    Touch(record.Kind(), record.Id());
    record.SetRow(std::move(row));
    return kOk;
}

int32_t State::Delete(SqliteRecord& record) {
    if (record.Gone()) return kGone;
    std::optional<WriteTransaction> tx;
    if (const int32_t began = BeginWrite(tx); began != kOk) return began;
    Statement* stmt = Prepare(kinds[KindSlot(record.Kind())].remove);
    if (!stmt) return kStorageError;
    stmt->Bind(1, int64_t{record.Id()});
    if (!stmt->Run()) return FailureOf(stmt->LastResult());
    const bool existed = sqlite3_changes(db) > 0;
    if (const int32_t ended = EndWrite(*tx); ended != kOk) return ended;
    Touch(record.Kind(), record.Id());
    record.MarkGone();
    return existed ? kOk : kGone;
}

// Every change is already in the file when its call returns; committing
// takes the write lock, so that a program holding the database is reported
// as such, confirms the record still exists and brings the object up to
// date with it.
int32_t State::Refresh(SqliteRecord& record) {
    if (record.Gone()) return kGone;
    std::optional<WriteTransaction> tx;
    if (const int32_t began = BeginWrite(tx); began != kOk) return began;
    RecordRow row;
    const int32_t loaded = LoadRow(record.Kind(), record.Id(), &row);
    if (loaded == kGone) record.MarkGone();
    if (loaded != kOk) return loaded;
    if (const int32_t ended = EndWrite(*tx); ended != kOk) return ended;
    record.SetRow(std::move(row));
    return kOk;
}

int32_t State::WriteAllowed() {
    if (readOnly) return kReadOnly;
    if (batch) return kStorageError;
    if (inChange && sqlite3_get_autocommit(db)) changeBroken = true;
    return changeBroken ? kStorageError : kOk;
}

int32_t State::BeginWrite(std::optional<WriteTransaction>& tx) {
    if (const int32_t allowed = WriteAllowed(); allowed != kOk) return allowed;
    ownWrite = true;
    tx.emplace(db, inChange);
    return tx->Began() ? kOk : FailureOf(tx->LastResult());
}

int32_t State::EndWrite(WriteTransaction& tx) { return tx.Commit() ? kOk : FailureOf(tx.LastResult()); }

void State::RestoreTouched() {
    for (const auto& [kind, id] : touchedRecords) {
        SqliteRecord* record = FindExisting(kind, id);
        if (!record) continue;
        RecordRow row;
        const int32_t loaded = LoadRow(kind, id, &row);
        if (loaded == kOk) {
            record->SetRow(std::move(row));
        } else if (loaded == kGone) {
            record->MarkGone();
        }
    }
    for (SqliteCategory* category : touchedCategories) {
        Statement* stmt = Prepare("SELECT number, name FROM categories WHERE id = ?1");
        if (!stmt) break;
        stmt->Bind(1, category->HostId());
        const int rc = stmt->Step();
        if (rc == SQLITE_ROW) {
            category->Set(static_cast<int32_t>(stmt->Int(0)), stmt->Text(1));
        } else if (rc == SQLITE_DONE) {
            category->MarkGone();
        }
        stmt->Reset();
    }
    touchedRecords.clear();
    touchedCategories.clear();
}

// Reads the stored change counters only when they may have moved: after a
// write of this connection, or when another connection committed (which
// changes PRAGMA data_version). A file without counters (an older schema
// opened read-only) counts every outside commit for every kind.
void State::RefreshVersions() {
    int64_t current = dataVersion;
    if (Statement* stmt = Prepare("PRAGMA data_version"); stmt && stmt->Step() == SQLITE_ROW) {
        current = stmt->Int(0);
        stmt->Reset();
    }
    if (current == dataVersion && !ownWrite) return;
    const bool outsideCommit = current != dataVersion;
    dataVersion = current;
    ownWrite = false;
    if (!hasChangeCounts) {
        if (outsideCommit) {
            for (uint64_t& version : versions) ++version;
        }
        return;
    }
    Statement* stmt = Prepare("SELECT kind, count FROM change_counts");
    if (!stmt) return;
    while (stmt->Step() == SQLITE_ROW) {
        const int64_t kind = stmt->Int(0);
        if (kind < 0 || kind >= static_cast<int64_t>(kCountedKinds)) continue;
        const auto slot = static_cast<std::size_t>(kind);
        if (versions[slot] == 0 || storedCounts[slot] != stmt->Int(1)) {
            storedCounts[slot] = stmt->Int(1);
            ++versions[slot];
        }
    }
    stmt->Reset();
}

int32_t State::LoadAll(RecordKind kind, std::vector<SqliteRecord*>* order) {
    order->clear();
    KindStore& store = kinds[KindSlot(kind)];
    Statement* stmt = Prepare(store.selectAll);
    if (!stmt) return kStorageError;
    const uint64_t stamp = ++generation;
    int rc = SQLITE_ROW;
    while ((rc = stmt->Step()) == SQLITE_ROW) {
        RecordRow row;
        ReadRow(*store.layout, *stmt, &row);
        SqliteRecord& record = Object(kind, row.id);
        record.SetRow(std::move(row));
        record.seen = stamp;
        order->push_back(&record);
    }
    stmt->Reset();
    if (rc != SQLITE_DONE) {
        order->clear();
        return kStorageError;
    }
    // Records deleted by another program since the last walk.
    for (auto& [id, record] : store.records) {
        if (record->seen != stamp) record->MarkGone();
    }
    return kOk;
}

int32_t State::LoadCategories(RecordKind kind, std::vector<SqliteCategory*>* order) {
    order->clear();
    const char* categoryKind = LayoutOf(kind).categoryKind;
    if (!categoryKind) return kBadArgument;
    Statement* stmt = Prepare("SELECT id, number, name FROM categories WHERE kind = ?1 ORDER BY number");
    if (!stmt) return kStorageError;
    stmt->Bind(1, std::string_view(categoryKind));
    const uint64_t stamp = ++generation;
    int rc = SQLITE_ROW;
    while ((rc = stmt->Step()) == SQLITE_ROW) {
        const int64_t hostId = stmt->Int(0);
        auto& slot = categories[hostId];
        if (!slot) slot = std::make_unique<SqliteCategory>(this, hostId, static_cast<int32_t>(stmt->Int(1)));
        slot->Set(static_cast<int32_t>(stmt->Int(1)), stmt->Text(2));
        slot->seen = stamp;
        order->push_back(slot.get());
    }
    stmt->Reset();
    if (rc != SQLITE_DONE) {
        order->clear();
        return kStorageError;
    }
    return kOk;
}

int32_t State::RenameCategory(SqliteCategory& category, const char* name) {
    if (!name) return kBadArgument;
    if (category.Gone()) return kGone;
    std::optional<WriteTransaction> tx;
    if (const int32_t began = BeginWrite(tx); began != kOk) return began;
    Statement* stmt = Prepare("UPDATE categories SET name = ?2 WHERE id = ?1");
    if (!stmt) return kStorageError;
    stmt->Bind(1, category.HostId()).Bind(2, std::string_view(name));
    if (!stmt->Run()) return FailureOf(stmt->LastResult());
    if (sqlite3_changes(db) == 0) {
        category.MarkGone();
        return kGone;
    }
    if (const int32_t ended = EndWrite(*tx); ended != kOk) return ended;
    if (inChange) touchedCategories.push_back(&category);
    category.Set(category.GetIndex(), name);
    return kOk;
}

int32_t State::ReadSettings(const std::string& name, FieldMap* fields) {
    fields->clear();
    Statement* stmt = Prepare("SELECT field, value FROM settings WHERE record = ?1");
    if (!stmt) return kStorageError;
    stmt->Bind(1, std::string_view(name));
    int rc = SQLITE_ROW;
    while ((rc = stmt->Step()) == SQLITE_ROW) fields->emplace(stmt->Text(0), stmt->Text(1));
    stmt->Reset();
    return rc == SQLITE_DONE ? kOk : kStorageError;
}

int32_t State::WriteSettings(const FieldMap& fields) {
    const auto name = fields.find("NAME");
    if (name == fields.end() || name->second.empty()) return kBadField;
    std::optional<WriteTransaction> tx;
    if (const int32_t began = BeginWrite(tx); began != kOk) return began;
    Statement* remove = Prepare("DELETE FROM settings WHERE record = ?1");
    if (!remove) return kStorageError;
    remove->Bind(1, std::string_view(name->second));
    if (!remove->Run()) return FailureOf(remove->LastResult());
    Statement* insert = Prepare("INSERT INTO settings (record, field, value) VALUES (?1, ?2, ?3)");
    if (!insert) return kStorageError;
    for (const auto& [field, value] : fields) {
        insert->Reset().Bind(1, std::string_view(name->second)).Bind(2, std::string_view(field));
        insert->Bind(3, std::string_view(value));
        if (!insert->Run()) return FailureOf(insert->LastResult());
    }
    return EndWrite(*tx);
}

// ---------------------------------------------------------------------------

namespace {

// Opens the file for reading only. Without a log beside it the file alone
// is the database and is read as immutable, which needs no companion files
// (and so works in a read-only folder); with a log it is read through the
// log, falling back to immutable when the shared-memory file cannot be made.
sqlite3* OpenReadOnly(const std::string& path, std::string* reason) {
    const int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
    sqlite3* db = nullptr;
    if (HasCompanionFiles(path)) {
        if (sqlite3_open_v2(SqliteFileUri(path, "mode=ro").c_str(), &db, flags, nullptr) == SQLITE_OK &&
            Exec(db, "SELECT count(*) FROM sqlite_schema")) {
            return db;
        }
        sqlite3_close_v2(db);
        db = nullptr;
    }
    if (sqlite3_open_v2(SqliteFileUri(path, "immutable=1").c_str(), &db, flags, nullptr) == SQLITE_OK) return db;
    *reason = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close_v2(db);
    return nullptr;
}

}  // namespace

SqliteHostDatabase::SqliteHostDatabase() : state_(std::make_unique<State>()) {}

SqliteHostDatabase::~SqliteHostDatabase() = default;

std::unique_ptr<SqliteHostDatabase> SqliteHostDatabase::Open(const std::string& path, std::string* error) {
    return Open(path, OpenOptions(), error);
}

std::unique_ptr<SqliteHostDatabase> SqliteHostDatabase::Open(const std::string& path, const OpenOptions& options,
                                                             std::string* error) {
    std::string scratch;
    if (!error) error = &scratch;
    if (path.empty()) {
        *error = "No database file given.";
        return nullptr;
    }
    const bool inMemory = path == ":memory:";
    bool create = inMemory;
    bool readOnly = options.readOnly && !inMemory;
    int32_t foundVersion = 0;
    if (!inMemory) {
        std::string detail;
        switch (InspectFile(path, &detail)) {
        case FileState::Missing:
        case FileState::Empty: {
            create = true;
            const bool missing = InspectFile(path, nullptr) == FileState::Missing;
            const std::string reason = CannotCreateReason(path);
            if (readOnly || !reason.empty() || (!missing && ShouldOpenReadOnly(path))) {
                *error = "Cannot create the database '" + path + "': " +
                         (!reason.empty() ? reason
                          : missing       ? std::string("there is no such file to open read-only")
                                          : std::string("the file is empty and read-only")) +
                         ".";
                return nullptr;
            }
            break;
        }
        case FileState::Sqlite:
            if (!CheckDatabaseFile(path, options.busyTimeoutMs, &foundVersion, error)) return nullptr;
            readOnly = readOnly || ShouldOpenReadOnly(path);
            break;
        case FileState::Foreign:
            *error = "'" + path + "' is not an ORV database: " + detail + ". It was left unchanged.";
            return nullptr;
        case FileState::Unreadable: *error = "Cannot open '" + path + "': " + detail + "."; return nullptr;
        }
    }

    std::unique_ptr<SqliteHostDatabase> database(new SqliteHostDatabase());
    State& state = *database->state_;
    state.path = path;
    state.readOnly = readOnly;
    if (!inMemory) {
        std::error_code ec;
        state.absolutePath = std::filesystem::absolute(path, ec).lexically_normal().string();
        if (ec) state.absolutePath = path;
    }
    for (const RecordKind kind : kAllKinds) {
        State::KindStore& store = state.kinds[KindSlot(kind)];
        store.layout = &LayoutOf(kind);
        BuildStatements(store);
        store.table = std::make_unique<SqliteTable>(&state, kind);
        if (store.layout->categoryKind) {
            state.categoryTables[KindSlot(kind)] = std::make_unique<SqliteCategoryTable>(&state, kind);
        }
    }
    state.settingsStore = std::make_unique<SqliteSettingsStore>(&state);

    if (readOnly) {
        std::string reason;
        state.db = OpenReadOnly(path, &reason);
        if (!state.db) {
            *error = "Cannot open '" + path + "' read-only: " + reason + ".";
            return nullptr;
        }
        sqlite3_busy_timeout(state.db, options.busyTimeoutMs);
        sqlite3_extended_result_codes(state.db, 1);
        state.hasChangeCounts = foundVersion >= kChangeCountsVersion;
        return database;
    }

    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.c_str(), &state.db, flags, nullptr) != SQLITE_OK) {
        *error = "Cannot open '" + path + "': " + (state.db ? sqlite3_errmsg(state.db) : "out of memory") + ".";
        return nullptr;
    }
    sqlite3_busy_timeout(state.db, options.busyTimeoutMs);
    sqlite3_extended_result_codes(state.db, 1);
    if (!inMemory) {
        // WAL lets readers go on while one program writes; FULL syncs every
        // commit, so a write survives a crash or power cut once it returned.
        Exec(state.db, "PRAGMA journal_mode = WAL");
        Exec(state.db, "PRAGMA synchronous = FULL");
    }

    {
        WriteTransaction tx(state.db);
        if (!tx.Began()) {
            *error = "Cannot open '" + path + "' for writing: " + sqlite3_errmsg(state.db) + ".";
            return nullptr;
        }
        Statement appId(state.db, "PRAGMA application_id");
        Statement version(state.db, "PRAGMA user_version");
        Statement tables(state.db, "SELECT count(*) FROM sqlite_schema");
        if (appId.Step() != SQLITE_ROW || version.Step() != SQLITE_ROW || tables.Step() != SQLITE_ROW) {
            *error = "Cannot read '" + path + "': " + sqlite3_errmsg(state.db) + ".";
            return nullptr;
        }
        const int64_t foundAppId = appId.Int(0);
        const int64_t storedVersion = version.Int(0);
        const bool blank = foundAppId == 0 && storedVersion == 0 && tables.Int(0) == 0;
        appId = Statement();
        version = Statement();
        tables = Statement();
        if (!blank && foundAppId != kApplicationId) {
            *error = "'" + path +
                     "' is not an ORV database: it is an SQLite database of another program. It was left unchanged.";
            return nullptr;
        }
        if (storedVersion > kSchemaVersion) {
            *error = "'" + path + "' was written by a newer version of this program.";
            return nullptr;
        }
        std::string detail;
        if (blank && !Exec(state.db, ("PRAGMA application_id = " + std::to_string(kApplicationId)).c_str(), &detail)) {
            *error = "Cannot create '" + path + "': " + detail + ".";
            return nullptr;
        }
        if (!MigrateSchema(state.db, static_cast<int32_t>(storedVersion), &detail) ||
            !EnsureCategorySlots(state.db, &detail)) {
            *error = "Cannot bring '" + path + "' up to date: " + detail + ".";
            return nullptr;
        }
        if (blank) {
            for (const auto& [kind, fields] : starter::StarterRecords()) {
                if (state.InsertFields(kind, fields, nullptr) != kOk) {
                    *error = "Cannot write the starter records into '" + path + "': " + sqlite3_errmsg(state.db) + ".";
                    return nullptr;
                }
            }
        }
        if (!tx.Commit()) {
            *error = "Cannot write '" + path + "': " + sqlite3_errmsg(state.db) + ".";
            return nullptr;
        }
    }
    state.hasChangeCounts = true;
    return database;
}

uint64_t SqliteHostDatabase::ChangeVersion(int32_t kind) {
    if (kind < 0 || kind >= static_cast<int32_t>(kCountedKinds)) return 0;
    state_->RefreshVersions();
    return state_->versions[static_cast<std::size_t>(kind)];
}

int32_t SqliteHostDatabase::BeginChange() {
    State& state = *state_;
    if (state.inChange) return kBadArgument;  // changes do not nest
    if (const int32_t allowed = state.WriteAllowed(); allowed != kOk) return allowed;
    int rc = SQLITE_OK;
    if (!Exec(state.db, "BEGIN IMMEDIATE", nullptr, &rc)) return FailureOf(rc);
    state.inChange = true;
    state.changeBroken = false;
    state.ownWrite = true;
    return kOk;
}

int32_t SqliteHostDatabase::EndChange(int32_t commit) {
    State& state = *state_;
    if (!state.inChange) return kBadArgument;
    state.ownWrite = true;
    int32_t result = kOk;
    bool committed = false;
    if (commit && !state.changeBroken && !sqlite3_get_autocommit(state.db)) {
        int rc = SQLITE_OK;
        committed = Exec(state.db, "COMMIT", nullptr, &rc);
        if (!committed) result = FailureOf(rc);
    } else if (commit) {
        result = kStorageError;  // SQLite already undid the change
    }
    if (!committed && !sqlite3_get_autocommit(state.db)) Exec(state.db, "ROLLBACK");
    state.inChange = false;
    state.changeBroken = false;
    if (committed) {
        state.touchedRecords.clear();
        state.touchedCategories.clear();
    } else {
        state.RestoreTouched();
    }
    return result;
}

int32_t SqliteHostDatabase::IsReadOnly() { return state_->readOnly ? 1 : 0; }

int32_t SqliteHostDatabase::DatabasePath(char* buffer, int32_t capacity) {
    const std::string& path = state_->absolutePath;
    if (path.empty()) {
        if (buffer && capacity > 0) buffer[0] = '\0';
        return 0;
    }
    if (!buffer || capacity <= 0 || path.size() >= static_cast<std::size_t>(capacity)) return -1;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<int32_t>(path.size());
}

bool SqliteHostDatabase::BackupTo(const std::string& destination, std::string* error, const BackupProgress& progress) {
    if (state_->inChange || state_->batch) {
        if (error) *error = "A backup cannot be taken while a change is being written.";
        return false;
    }
    return BackupDatabase(state_->db, state_->path, destination, progress, error);
}

HostSettingsStore* SqliteHostDatabase::SettingsStore() { return state_->settingsStore.get(); }
HostTable* SqliteHostDatabase::Units() { return Table(RecordKind::Unit); }
HostTable* SqliteHostDatabase::Items() { return Table(RecordKind::Item); }
HostTable* SqliteHostDatabase::Targets() { return Table(RecordKind::Target); }
HostTable* SqliteHostDatabase::Values() { return Table(RecordKind::Value); }
HostTable* SqliteHostDatabase::Groups() { return Table(RecordKind::Group); }
HostCategoryTable* SqliteHostDatabase::UnitCategories() { return Categories(RecordKind::Unit); }
HostCategoryTable* SqliteHostDatabase::ValueCategories() { return Categories(RecordKind::Value); }
HostCategoryTable* SqliteHostDatabase::GroupCategories() { return Categories(RecordKind::Group); }
HostCategoryTable* SqliteHostDatabase::TargetCategories() { return Categories(RecordKind::Target); }

int32_t SqliteHostDatabase::SecondsToDate(int32_t seconds, HostDateTime* out) {
    return HostSecondsToDate(seconds, out);
}

int32_t SqliteHostDatabase::DateToSeconds(int32_t* seconds, const HostDateTime* in) {
    return HostDateToSeconds(seconds, in);
}

HostTable* SqliteHostDatabase::Table(RecordKind kind) { return state_->kinds[KindSlot(kind)].table.get(); }

HostCategoryTable* SqliteHostDatabase::Categories(RecordKind kind) {
    return state_->categoryTables[KindSlot(kind)].get();
}

int32_t SqliteHostDatabase::SetSkipped(RecordKind kind, int32_t id, bool skipped) {
    auto* record = static_cast<SqliteRecord*>(Table(kind)->Find(id));
    if (!record) return kGone;
    return state_->Modify(*record, [skipped](RecordRow& row) {
        row.skipped = skipped;
        return kOk;
    });
}

const std::string& SqliteHostDatabase::Path() const { return state_->path; }

SqliteHostDatabase::Batch::Batch(SqliteHostDatabase& db) : db_(db) {
    State& state = *db_.state_;
    if (state.batch || state.inChange || state.readOnly) return;
    state.ownWrite = true;
    auto tx = std::make_unique<WriteTransaction>(state.db);
    if (!tx->Began()) return;
    state.batch = std::move(tx);
    began_ = true;
}

SqliteHostDatabase::Batch::~Batch() {
    if (began_ && !done_) db_.state_->batch.reset();  // rolls back
}

int32_t SqliteHostDatabase::Batch::Add(RecordKind kind, const FieldMap& fields) {
    if (!began_ || done_) return kStorageError;
    return db_.state_->InsertFields(kind, fields, nullptr);
}

bool SqliteHostDatabase::Batch::Commit(std::string* error) {
    State& state = *db_.state_;
    if (!began_ || done_) {
        if (error) *error = "no batch is open";
        return false;
    }
    const bool ok = state.batch->Commit();
    if (!ok && error) *error = sqlite3_errmsg(state.db);
    state.batch.reset();
    done_ = true;
    return ok;
}

}  // namespace orv::hostdb
