#pragma once
// A private temporary directory per test, whole-file reads for checking that
// a file was left byte-for-byte unchanged, and record property reads.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "host/db/SqliteHostDatabase.h"

namespace orv::hostdb::testing {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orv-hostdb-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool ok() const { return !path_.empty(); }
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

inline std::string Name(HostNamed& named) {
    char buffer[1024] = {};
    EXPECT_EQ(named.GetName(buffer, sizeof buffer), 0);
    return buffer;
}

// A database file in a private directory, reopened on demand.
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.ok());
        Reopen();
    }
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
