#include "persist/bounded_read.h"

#include "kernel/errors.h"
#include "persist/io_error.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvora::persist {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::optional<FilePrefix> readFilePrefix(const std::filesystem::path& path, std::size_t maxBytes) {
    // Opening a FIFO for reading waits for a writer, and a device may never end: the open
    // must not block, and only a regular file is read at all.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        throwIoError("无法读取文件", path, errno, IoAccess::Read);
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) throwIoError("无法读取文件", path, errno, IoAccess::Read);
    if (S_ISDIR(info.st_mode)) throwIoError("无法读取文件", path, EISDIR, IoAccess::Read);
    if (!S_ISREG(info.st_mode)) throw IoError("无法读取文件“" + path.string() + "”：这不是普通文件");

    FilePrefix file;
    char buffer[65536];
    while (file.bytes.size() <= maxBytes) {
        // One byte past the ceiling tells a file of exactly maxBytes from a longer one.
        const std::size_t want = std::min(sizeof buffer, maxBytes + 1 - file.bytes.size());
        const ssize_t n = ::read(fd.get(), buffer, want);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throwIoError("无法读取文件", path, errno, IoAccess::Read);
        if (n == 0) break;
        file.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    if (file.bytes.size() > maxBytes) {
        file.bytes.resize(maxBytes);
        file.truncated = true;
    }
    return file;
}

} // namespace kelvora::persist
