#include "export/workbook/ZipPackage.h"

#include <memory>
#include <unordered_set>

#include <zip.h>

namespace orv::workbook {

namespace {

std::string ErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

}  // namespace

std::vector<PackagePart> ReadPackage(const std::string& path) {
    int code = 0;
    std::unique_ptr<zip_t, ArchiveCloser> archive(zip_open(path.c_str(), ZIP_RDONLY, &code));
    if (!archive) {
        const bool damaged = code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS || code == ZIP_ER_CRC ||
                             code == ZIP_ER_COMPNOTSUPP || code == ZIP_ER_EOF;
        throw PackageError(damaged ? PackageError::Kind::Damaged : PackageError::Kind::File,
                           "cannot open \"" + path + "\": " + ErrorText(code));
    }
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    std::vector<PackagePart> parts;
    std::unordered_set<std::string> names;
    std::uint64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_NAME) || !(stat.valid & ZIP_STAT_SIZE)) {
            throw PackageError(PackageError::Kind::Damaged, "unreadable zip entry " + std::to_string(i));
        }
        std::string name = stat.name;
        if (!name.empty() && name.back() == '/') continue;  // a folder entry carries no part
        if (!names.insert(name).second) {
            throw PackageError(PackageError::Kind::Damaged, "zip entry \"" + name + "\" appears twice");
        }
        total += stat.size;
        if (stat.size > kMaxPartSize || total > kMaxPackageSize) {
            throw PackageError(PackageError::Kind::Damaged, "zip entry \"" + name + "\" is too large");
        }
        std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(i), 0));
        if (!file) {
            throw PackageError(PackageError::Kind::Damaged,
                               "cannot read zip entry \"" + name + "\": " + zip_strerror(archive.get()));
        }
        PackagePart part;
        part.name = std::move(name);
        part.modified = (stat.valid & ZIP_STAT_MTIME) ? stat.mtime : 0;
        part.data.resize(static_cast<std::size_t>(stat.size));
        std::size_t filled = 0;
        while (filled < part.data.size()) {
            const zip_int64_t n = zip_fread(file.get(), part.data.data() + filled, part.data.size() - filled);
            if (n < 0) {
                throw PackageError(PackageError::Kind::Damaged,
                                   "zip entry \"" + part.name + "\" is corrupt: " + zip_file_strerror(file.get()));
            }
            if (n == 0) break;
            filled += static_cast<std::size_t>(n);
        }
        char extra;
        if (filled != part.data.size() || zip_fread(file.get(), &extra, 1) != 0) {
            throw PackageError(PackageError::Kind::Damaged, "zip entry \"" + part.name + "\" has the wrong size");
        }
        parts.push_back(std::move(part));
    }
    return parts;
}

void WritePackage(const std::string& path, const std::vector<const PackagePart*>& parts, int level) {
    int code = 0;
    zip_t* raw = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!raw) throw PackageError(PackageError::Kind::File, "cannot create \"" + path + "\": " + ErrorText(code));
    std::unique_ptr<zip_t, ArchiveCloser> archive(raw);
    for (const PackagePart* part : parts) {
        zip_source_t* source = zip_source_buffer(archive.get(), part->data.data(), part->data.size(), 0);
        if (!source) throw PackageError(PackageError::Kind::File, zip_strerror(archive.get()));
        const zip_int64_t index = zip_file_add(archive.get(), part->name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            throw PackageError(PackageError::Kind::File,
                               "cannot add \"" + part->name + "\": " + zip_strerror(archive.get()));
        }
        const auto idx = static_cast<zip_uint64_t>(index);
        if (zip_set_file_compression(archive.get(), idx, ZIP_CM_DEFLATE, static_cast<zip_uint32_t>(level)) != 0 ||
            (part->modified > 0 && zip_file_set_mtime(archive.get(), idx, part->modified, 0) != 0)) {
            throw PackageError(PackageError::Kind::File, zip_strerror(archive.get()));
        }
    }
    if (zip_close(archive.get()) != 0) {
        throw PackageError(PackageError::Kind::File, "cannot write \"" + path + "\": " + zip_strerror(archive.get()));
    }
    archive.release();  // closed successfully
}

}  // namespace orv::workbook
