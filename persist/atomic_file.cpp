#include "persist/atomic_file.h"

#include "kernel/errors.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvora::persist {

namespace fs = std::filesystem;

namespace {

// The reason in the user's words for the failures a save usually meets.
std::string reason(int error) {
    switch (error) {
    case ENOENT: return "文件夹不存在";
    case EACCES:
    case EPERM: return "没有写入权限";
    case ENOSPC:
    case EDQUOT: return "磁盘已满";
    case EROFS: return "只读的磁盘";
    case EFBIG: return "文件太大";
    case EISDIR: return "这是一个文件夹";
    default: return std::strerror(error);
    }
}

[[noreturn]] void fail(const char* what, const fs::path& path, int error) {
    throw IoError(std::string(what) + "“" + path.string() + "”：" + reason(error));
}

// Only a regular file (or a new name) may be replaced: renaming over a folder fails late,
// after the whole content was written, and renaming over a device such as /dev/full
// would destroy the device.
void refuseUnsuitableTarget(const fs::path& target) {
    std::error_code ec;
    const auto status = fs::status(target, ec);
    if (ec || !fs::exists(status)) return;
    if (fs::is_directory(status)) throw IoError("无法保存到“" + target.string() + "”：这是一个文件夹，请输入文件名");
    if (!fs::is_regular_file(status)) throw IoError("无法保存到“" + target.string() + "”：这不是普通文件");
}

// The link's final file, so that saving through a link updates what it points to. A link
// that leads nowhere is replaced like a plain file.
fs::path resolveTarget(const fs::path& target) {
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
        fs::path real = fs::canonical(target, ec);
        if (!ec) return real;
    }
    return target;
}

std::string tempSuffix() {
    static std::atomic<unsigned> counter{std::random_device{}()};
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    unsigned n = counter.fetch_add(0x9E3779B9u) ^ static_cast<unsigned>(getpid());
    std::string s;
    for (int i = 0; i < 8; ++i, n /= 36)
        s.push_back(digits[n % 36]);
    return s;
}

void syncDirectory(const fs::path& dir) noexcept {
    // Best effort: the rename is already done, and not every file system can sync a directory.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

} // namespace

AtomicFile::AtomicFile(const fs::path& target) : target_(resolveTarget(target)) {
    refuseUnsuitableTarget(target_);
    const fs::path dir = target_.parent_path().empty() ? fs::path(".") : target_.parent_path();
    // A hidden name beside the target: a crash between create and rename leaves a file
    // that no part of the program reads.
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temp_ = dir / ("." + target_.filename().string() + "." + tempSuffix() + ".tmp");
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) fail("无法创建文件", target_, errno);
    }
    if (fd_ < 0) fail("无法创建文件", target_, EEXIST);
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd_, old.st_mode & 07777);
}

AtomicFile::~AtomicFile() {
    if (!committed_) discard();
}

std::FILE* AtomicFile::stream() {
    if (!stream_ && fd_ >= 0) {
        stream_ = ::fdopen(fd_, "wb");
        if (!stream_) {
            failed_ = true;
            fail("无法写入文件", target_, errno);
        }
    }
    return stream_;
}

void AtomicFile::write(std::string_view bytes) {
    if (fd_ < 0 || committed_) fail("无法写入文件", target_, EBADF);
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            failed_ = true;
            fail("无法写入文件", target_, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void AtomicFile::commit() {
    if (committed_ || fd_ < 0) fail("无法写入文件", target_, EBADF);
    if (failed_) fail("无法写入文件", target_, EIO);
    int error = 0;
    if (stream_ && (std::fflush(stream_) != 0 || std::ferror(stream_))) error = errno ? errno : EIO;
    if (!error && ::fsync(fd_) != 0) error = errno;
    // Closing reports the last deferred write error on some file systems.
    const int closed = stream_ ? std::fclose(stream_) : ::close(fd_);
    if (!error && closed != 0) error = errno;
    stream_ = nullptr;
    fd_ = -1;
    if (!error && ::rename(temp_.c_str(), target_.c_str()) != 0) error = errno;
    if (error) {
        discard();
        fail("无法写入文件", target_, error);
    }
    committed_ = true;
    syncDirectory(temp_.parent_path());
}

void AtomicFile::discard() noexcept {
    if (stream_)
        std::fclose(stream_);
    else if (fd_ >= 0)
        ::close(fd_);
    stream_ = nullptr;
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

void writeFileAtomically(const fs::path& target, std::string_view bytes) {
    AtomicFile file(target);
    file.write(bytes);
    file.commit();
}

} // namespace kelvora::persist
