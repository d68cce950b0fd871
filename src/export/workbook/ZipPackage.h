#pragma once
// The zip container of a workbook: every part read into memory, and written
// back in a given order.

#include <cstdint>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

namespace orv::workbook {

struct PackagePart {
    std::string name;  // zip entry name, e.g. "xl/workbook.xml"
    std::string data;  // uncompressed bytes
    std::time_t modified = 0;
};

class PackageError : public std::runtime_error {
public:
    enum class Kind { File, Damaged };
    PackageError(Kind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

// Limits that keep a hostile archive from exhausting memory.
inline constexpr std::uint64_t kMaxPartSize = 1ull << 30;
inline constexpr std::uint64_t kMaxPackageSize = 3ull << 30;

// Reads every file entry of a zip archive. Throws PackageError: File when the
// file cannot be read, Damaged when it is not a zip archive or an entry is
// corrupt, encrypted, duplicated or too large.
std::vector<PackagePart> ReadPackage(const std::string& path);

// Writes the parts, in order, deflated at the given level (1 fastest). The
// archive is built beside the target and moved over it only when complete,
// so a failed save leaves an existing file as it was. Throws PackageError.
void WritePackage(const std::string& path, const std::vector<const PackagePart*>& parts, int level);

}  // namespace orv::workbook
