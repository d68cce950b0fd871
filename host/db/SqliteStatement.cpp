#include "host/db/SqliteStatement.h"

#include <utility>

namespace orv::hostdb {

Statement::Statement(sqlite3* db, std::string_view sql) {
    if (sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement::Statement(Statement&& other) noexcept : stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

Statement& Statement::Reset() {
    if (stmt_) {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
    return *this;
}

Statement& Statement::Bind(int index, int64_t value) {
    sqlite3_bind_int64(stmt_, index, value);
    return *this;
}

Statement& Statement::Bind(int index, double value) {
    sqlite3_bind_double(stmt_, index, value);
    return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
    sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    return *this;
}

Statement& Statement::BindBlob(int index, const void* data, std::size_t size) {
    // A zero-length blob is still a blob, not NULL: an empty list stays a list.
    static const char kEmpty = 0;
    sqlite3_bind_blob64(stmt_, index, size ? data : &kEmpty, size, SQLITE_TRANSIENT);
    return *this;
}

int Statement::Step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_MISUSE; }

bool Statement::Run() {
    int rc = Step();
    while (rc == SQLITE_ROW) rc = Step();
    lastResult_ = rc;
    if (stmt_) {
        if (rc != SQLITE_DONE) lastResult_ = sqlite3_extended_errcode(sqlite3_db_handle(stmt_));
        sqlite3_reset(stmt_);
    }
    return rc == SQLITE_DONE;
}

std::string Statement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    const int size = sqlite3_column_bytes(stmt_, column);
    return text ? std::string(text, static_cast<std::size_t>(size)) : std::string();
}

std::vector<unsigned char> Statement::Blob(int column) const {
    const auto* data = static_cast<const unsigned char*>(sqlite3_column_blob(stmt_, column));
    const int size = sqlite3_column_bytes(stmt_, column);
    return data ? std::vector<unsigned char>(data, data + size) : std::vector<unsigned char>();
}

WriteTransaction::WriteTransaction(sqlite3* db, bool join) : db_(db), joined_(join) {
    began_ = joined_ || Exec(db_, "BEGIN IMMEDIATE", nullptr, &lastResult_);
}

WriteTransaction::~WriteTransaction() {
    if (began_ && !done_ && !joined_) Exec(db_, "ROLLBACK");
}

bool WriteTransaction::Commit() {
    if (!began_ || done_) return false;
    if (!joined_ && !Exec(db_, "COMMIT", nullptr, &lastResult_)) return false;  // still open: the destructor rolls back
    done_ = true;
    return true;
}

bool Exec(sqlite3* db, const char* sql, std::string* error, int* result) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK && error) *error = message ? message : sqlite3_errstr(rc);
    if (result) *result = rc;
    sqlite3_free(message);
    return rc == SQLITE_OK;
}

}  // namespace orv::hostdb
