#include "export/DatabaseFile.h"

#include <sys/stat.h>

#include <vector>

#include "data/HostExtensions.h"

namespace orv {
namespace {

std::string DatabasePathOf(HostExtensions& host) {
    std::vector<char> buffer(4096);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int32_t length = host.DatabasePath(buffer.data(), static_cast<int32_t>(buffer.size()));
        if (length >= 0 && length < static_cast<int32_t>(buffer.size()))
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);  // -1: the buffer was too small
    }
    return {};
}

bool SameFile(const struct stat& a, const std::string& path) {
    struct stat b {};
    return ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

bool IsDatabaseFile(const std::string& path, HostExtensions* host) {
    if (!host) return false;
    struct stat chosen {};
    if (::stat(path.c_str(), &chosen) != 0) return false;  // a new file replaces nothing
    const std::string database = DatabasePathOf(*host);
    if (database.empty()) return false;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        if (SameFile(chosen, database + suffix)) return true;
    }
    return false;
}

}  // namespace orv
