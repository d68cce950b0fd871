#pragma once
// Thin RAII helpers over the SQLite C API: a prepared statement that resets
// itself for reuse, and an immediate write transaction that rolls back unless
// committed.

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv::hostdb {

class Statement {
public:
    Statement() = default;
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;

    bool Ok() const { return stmt_ != nullptr; }
    sqlite3_stmt* get() const { return stmt_; }

    // Clears bindings and rewinds, ready for the next use.
    Statement& Reset();
    Statement& Bind(int index, int64_t value);
    Statement& Bind(int index, double value);
    Statement& Bind(int index, std::string_view text);
    Statement& BindBlob(int index, const void* data, std::size_t size);

    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step();
    // Steps to completion; true when the statement finished without error.
    // LastResult() then holds the extended result code of the last step.
    bool Run();
    int LastResult() const { return lastResult_; }

    int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
    double Real(int column) const { return sqlite3_column_double(stmt_, column); }
    std::string Text(int column) const;
    std::vector<unsigned char> Blob(int column) const;
    bool IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

private:
    sqlite3_stmt* stmt_ = nullptr;
    int lastResult_ = SQLITE_OK;
};

// BEGIN IMMEDIATE takes the write lock up front, so a writer waits for another
// program through the busy timeout instead of failing when it upgrades a read.
// A transaction made with `join` set takes part in one the caller already
// holds open: it neither begins, commits nor rolls back.
class WriteTransaction {
public:
    explicit WriteTransaction(sqlite3* db, bool join = false);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    bool Began() const { return began_; }
    bool Commit();
    // The SQLite result of the failed BEGIN or COMMIT (SQLITE_OK otherwise).
    int LastResult() const { return lastResult_; }

private:
    sqlite3* db_;
    bool joined_ = false;
    bool began_ = false;
    bool done_ = false;
    int lastResult_ = SQLITE_OK;
};

// Runs SQL without results; true on success, else fills *error when given
// and *result with the SQLite result code.
bool Exec(sqlite3* db, const char* sql, std::string* error = nullptr, int* result = nullptr);

}  // namespace orv::hostdb
