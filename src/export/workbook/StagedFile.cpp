#include "export/workbook/StagedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace orv::workbook {
namespace {

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, reporting a failed close (a delayed write error).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

std::string FileErrorReason(int error) {
    switch (error) {
    case ENOENT: return "the folder does not exist";
    case ENOTDIR: return "a part of the folder's path is not a folder";
    case EACCES:
    case EPERM: return "there is no permission to write in the folder";
    case EROFS: return "the folder is on a read-only file system";
    case ENOSPC:
    case EDQUOT: return "the disk is full";
    case EISDIR: return "a folder of that name exists";
    case ENAMETOOLONG: return "the file name is too long";
    case EIO: return "the disk reported an input/output error";
    default: return std::strerror(error);
    }
}

std::optional<StagedFile> StagedFile::Create(const std::string& destination, std::string* reason) {
    std::string target = destination;
    struct stat st {};
    if (::lstat(destination.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        std::vector<char> resolved(PATH_MAX + 1);
        if (::realpath(destination.c_str(), resolved.data())) target = resolved.data();
    }
    if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        if (reason) *reason = S_ISDIR(st.st_mode) ? "a folder of that name exists" : "it is not a regular file";
        return std::nullopt;
    }
    std::string pattern = target + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        const int error = errno;
        if (reason) *reason = FileErrorReason(error);
        return std::nullopt;
    }
    ::close(fd);
    return StagedFile(std::move(pattern), std::move(target));
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : path_(std::move(other.path_)), target_(std::move(other.target_)), done_(other.done_) {
    other.done_ = true;
}

StagedFile::~StagedFile() {
    if (!done_) ::unlink(path_.c_str());
}

bool StagedFile::CopyFrom(const std::string& source, std::string* reason) {
    Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) {
        if (reason) *reason = "the template cannot be read: " + std::string(std::strerror(errno));
        return false;
    }
    Descriptor out(::open(path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (out.get() < 0) {
        if (reason) *reason = FileErrorReason(errno);
        return false;
    }
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            if (reason) *reason = "the template cannot be read: " + std::string(std::strerror(errno));
            return false;
        }
        if (n == 0) break;
        if (!WriteAll(out.get(), buffer.data(), static_cast<std::size_t>(n))) {
            if (reason) *reason = FileErrorReason(errno);
            return false;
        }
    }
    if (!out.Close()) {
        if (reason) *reason = FileErrorReason(errno);
        return false;
    }
    return true;
}

bool StagedFile::Commit(std::string* reason) {
    const auto fail = [&](int error) {
        if (reason) *reason = FileErrorReason(error);
        return false;
    };
    if (done_) {
        if (reason) *reason = "the file was already moved into place";
        return false;
    }
    struct stat old {};
    const mode_t mode = ::stat(target_.c_str(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
    // Opened anew: whatever wrote the staging file may have replaced it.
    Descriptor fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return fail(errno);
    if (::fchmod(fd.get(), mode) != 0 || ::fsync(fd.get()) != 0) return fail(errno);
    if (!fd.Close()) return fail(errno);
    if (::rename(path_.c_str(), target_.c_str()) != 0) return fail(errno);
    done_ = true;
    // The rename becomes durable with the folder; the file is in place either
    // way, so a folder that cannot be flushed is not a failure.
    Descriptor folder(::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) ::fsync(folder.get());
    return true;
}

}  // namespace orv::workbook
