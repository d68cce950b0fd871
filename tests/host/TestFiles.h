#pragma once
// A private temporary directory per test, whole-file reads for checking that
// a file was left byte-for-byte unchanged, generated sample databases, record
// property reads and writes, and SQL run on a plain connection as another
// program would.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "host/db/DemoData.h"
#include "host/db/SqliteHostDatabase.h"

namespace orv::hostdb::testing {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orv-hostdb-XXXXXX").string();
        // Throwing fails the test at once rather than letting it write elsewhere.
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return (std::filesystem::path(path_) / name).string(); }

private:
    std::string path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A generated database of `values` values up to a fixed moment, closed, so
// the file alone holds it.
inline std::string WriteSample(const std::string& path, int32_t values) {
    GenerateOptions options;
    options.valueCount = values;
    options.endSeconds = 1'700'000'000;
    std::string error;
    EXPECT_TRUE(GenerateDatabase(path, options, &error)) << error;
    return path;
}

// Runs SQL on a separate plain SQLite connection, as another program would.
inline void RawSql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
}

// The first column of the first row, as text, read by a plain connection.
inline std::string RawText(const std::string& path, const char* pragma) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, pragma, -1, &stmt, nullptr);
    std::string value;
    if (sqlite3_step(stmt) == SQLITE_ROW) value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}

// The fields of a record from "KEY=value" words separated by blanks.
inline FieldMap Fields(const std::string& text) {
    FieldMap fields;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        const auto equals = word.find('=');
        fields[word.substr(0, equals)] = word.substr(equals + 1);
    }
    return fields;
}

inline int32_t GetInt(HostRecord& r, int32_t property, int32_t size = 4, int32_t element = 0) {
    uint32_t value = 0;
    EXPECT_EQ(r.GetProperty(property, &value, size, element), 0) << std::hex << property;
    return static_cast<int32_t>(value);
}

inline float GetFloat(HostRecord& r, int32_t property, int32_t element = 0) {
    float value = -1;
    EXPECT_EQ(r.GetProperty(property, &value, 4, element), 0) << std::hex << property;
    return value;
}

inline int32_t SetInt(HostRecord& r, int32_t property, uint32_t value, int32_t size = 4, int32_t element = 0) {
    return r.SetProperty(property, &value, size, element);  // the low bytes come first
}

inline int32_t SetFloat(HostRecord& r, int32_t property, float value, int32_t element = 0) {
    return r.SetProperty(property, &value, 4, element);
}

inline int32_t Add(HostTable& table, const FieldMap& fields) { return table.Add(&fields); }

inline std::string Name(HostNamed& named) {
    char buffer[1024] = {};
    EXPECT_EQ(named.GetName(buffer, sizeof buffer), 0);
    return buffer;
}

// A database file in a private directory, reopened on demand.
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { Reopen(); }
    void Reopen() {
        db_.reset();
        std::string error;
        db_ = SqliteHostDatabase::Open(dir_.File("orv.sqlite"), &error);
        ASSERT_TRUE(db_) << error;
    }

    TempDir dir_;
    std::unique_ptr<SqliteHostDatabase> db_;
};

}  // namespace orv::hostdb::testing
