#include "persist/bounded_read.h"

#include "kernel/errors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kelvora::persist {

std::optional<FilePrefix> readFilePrefix(const std::filesystem::path& path, std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        throw IoError("Cannot open file \"" + path.string() + "\". " + std::strerror(errno));
    }
    FilePrefix file;
    char buffer[65536];
    int error = 0;
    while (file.bytes.size() <= maxBytes) {
        // One byte past the ceiling tells a file of exactly maxBytes from a longer one.
        const std::size_t want = std::min(sizeof buffer, maxBytes + 1 - file.bytes.size());
        const ssize_t n = ::read(fd, buffer, want);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        file.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (error) throw IoError("Cannot read file \"" + path.string() + "\". " + std::strerror(error));
    if (file.bytes.size() > maxBytes) {
        file.bytes.resize(maxBytes);
        file.truncated = true;
    }
    return file;
}

} // namespace kelvora::persist
