#include "exchange/FileWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace orv::exchange {
namespace {

bool Fail(std::string* error, const std::string& text) {
    if (error) *error = text + ": " + std::strerror(errno);
    return false;
}

// Closes the descriptor and, when it has a path, removes that file unless
// released: a temporary file that did not become the destination.
class FileHandle {
public:
    FileHandle(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~FileHandle() {
        if (fd_ >= 0) ::close(fd_);
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int Fd() const { return fd_; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    void Release() { path_.clear(); }

private:
    int fd_;
    std::string path_;
};

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& content, std::string* error) {
    if (path.empty() || path.back() == '/') {
        if (error) *error = "'" + path + "' names no file";
        return false;
    }
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return Fail(error, "Cannot create a file in '" + FolderOf(path) + "'");
    FileHandle temp(fd, name.data());
    // mkstemp makes the file private; a CSV file is an ordinary document.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd, 0666 & ~mask) != 0) return Fail(error, "Cannot set the permissions of '" + path + "'");

    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Fail(error, "Cannot write '" + path + "'");
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) return Fail(error, "Cannot write '" + path + "'");
    if (!temp.Close()) return Fail(error, "Cannot write '" + path + "'");
    if (::rename(name.data(), path.c_str()) != 0) return Fail(error, "Cannot replace '" + path + "'");
    temp.Release();
    return true;
}

bool ReadWholeFile(const std::string& path, std::string* content, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Fail(error, "Cannot open '" + path + "'");
    FileHandle file(fd, {});
    struct stat info {};
    if (::fstat(fd, &info) != 0) return Fail(error, "Cannot read '" + path + "'");
    if (S_ISDIR(info.st_mode)) {
        if (error) *error = "'" + path + "' is a folder, not a file";
        return false;
    }
    content->clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Fail(error, "Cannot read '" + path + "'");
        if (n == 0) break;
        content->append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace orv::exchange
