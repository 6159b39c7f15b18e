#include "persist/atomic_file.h"

#include "kernel/errors.h"
#include "persist/io_error.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <dirent.h>
#include <limits>
#include <optional>
#include <signal.h>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvora::persist {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kTempRandomChars = 8;
// ".", the target part, ".", the pid (at most 10 digits), ".", the random part, ".tmp".
constexpr std::size_t kTempNameOverhead = 1 + 1 + 10 + 1 + kTempRandomChars + 4;
// A shortened target part ends in "~" and 16 hexadecimal digits.
constexpr std::size_t kHashedSuffixLength = 1 + 16;

[[noreturn]] void fail(const char* what, const fs::path& path, int error) {
    throwIoError(what, path, error);
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
    // Replacing by rename needs only the folder's permission, so a write-protected file is
    // refused here: by its mode bits, which hold for root too, or by the writer's own access.
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 &&
        ((info.st_mode & 0222) == 0 || (::access(target.c_str(), W_OK) != 0 && errno == EACCES)))
        throw IoError("无法保存到“" + target.string() + "”：文件是只读的");
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
    for (std::size_t i = 0; i < kTempRandomChars; ++i, n /= 36)
        s.push_back(digits[n % 36]);
    return s;
}

// The longest file name the directory takes; 255 on every usual Linux file system, less
// on a few (an encrypted home folder).
std::size_t nameMax(const fs::path& dir) {
    const long max = ::pathconf(dir.c_str(), _PC_NAME_MAX);
    return max > 0 && max < 255 ? static_cast<std::size_t>(max) : 255;
}

std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t h = 0xcbf29ce484222325u;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 0x100000001b3u;
    }
    return h;
}

bool isDecimal(std::string_view s) {
    return !s.empty() && s.size() <= 10 &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isTempRandom(std::string_view s) {
    return s.size() == kTempRandomChars && std::all_of(s.begin(), s.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
           });
}

// A leftover is removed only when its writer is gone: kill() with no signal answers ESRCH
// for a process that no longer exists, and succeeds (or answers EPERM) for a live one,
// which may be writing its temporary file right now.
bool writerIsGone(pid_t pid) {
    if (pid <= 0 || pid == ::getpid()) return false;
    return ::kill(pid, 0) == -1 && errno == ESRCH;
}

void syncDirectory(const fs::path& dir) noexcept {
    // Best effort: the rename is already done, and not every file system can sync a directory.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

std::string tempNamePart(const std::string& fileName, std::size_t nameMax) {
    if (nameMax <= kTempNameOverhead + kHashedSuffixLength) nameMax = kTempNameOverhead + kHashedSuffixLength + 1;
    const std::size_t budget = nameMax - kTempNameOverhead;
    if (fileName.size() <= budget) return fileName;
    // Too long to carry whole: a prefix keeps it recognisable, the hash of the full name
    // keeps two long names with the same beginning apart. The cut does not split a UTF-8
    // character.
    std::size_t keep = budget - kHashedSuffixLength;
    while (keep > 0 && (static_cast<unsigned char>(fileName[keep]) & 0xC0) == 0x80)
        --keep;
    static const char hex[] = "0123456789abcdef";
    std::string part = fileName.substr(0, keep) + "~";
    const std::uint64_t h = fnv1a(fileName);
    for (int shift = 60; shift >= 0; shift -= 4)
        part.push_back(hex[(h >> shift) & 0xF]);
    return part;
}

std::optional<pid_t> tempFileWriter(std::string_view name, std::string_view namePart) {
    if (name.size() < namePart.size() + 2 || name[0] != '.' || name.substr(1, namePart.size()) != namePart ||
        name[namePart.size() + 1] != '.')
        return std::nullopt;
    std::string_view rest = name.substr(namePart.size() + 2);
    if (!rest.ends_with(".tmp")) return std::nullopt;
    rest.remove_suffix(4);
    const std::size_t dot = rest.find('.');
    if (dot == std::string_view::npos || !isDecimal(rest.substr(0, dot)) || !isTempRandom(rest.substr(dot + 1)))
        return std::nullopt;
    const unsigned long long pid = std::stoull(std::string(rest.substr(0, dot)));
    if (pid == 0 || pid > static_cast<unsigned long long>(std::numeric_limits<pid_t>::max())) return std::nullopt;
    return static_cast<pid_t>(pid);
}

void removeStaleTempFiles(const fs::path& dir, std::string_view namePart) noexcept {
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    const int dfd = ::dirfd(d);
    while (const dirent* entry = ::readdir(d)) {
        const auto writer = tempFileWriter(entry->d_name, namePart);
        if (!writer || !writerIsGone(*writer)) continue;
        struct stat info {};
        if (::fstatat(dfd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            ::unlinkat(dfd, entry->d_name, 0);
    }
    ::closedir(d);
}

} // namespace

AtomicFile::AtomicFile(const fs::path& target) : target_(resolveTarget(target)) {
    refuseUnsuitableTarget(target_);
    const fs::path dir = target_.parent_path().empty() ? fs::path(".") : target_.parent_path();
    // A hidden name beside the target that carries the writer's process id: a crash
    // between create and rename leaves a file that no part of the program reads, and the
    // next save of the same target removes it once its writer is gone.
    const std::string namePart = tempNamePart(target_.filename().string(), nameMax(dir));
    removeStaleTempFiles(dir, namePart);
    const std::string pid = std::to_string(::getpid());
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temp_ = dir / ("." + namePart + "." + pid + "." + tempSuffix() + ".tmp");
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

fs::path replaceKeepingBackup(const fs::path& target, std::string_view bytes) {
    fs::path backup = target;
    backup += ".bak";
    if (::rename(target.c_str(), backup.c_str()) != 0) fail("无法保存文件", backup, errno);
    try {
        writeFileAtomically(target, bytes);
    } catch (...) {
        ::rename(backup.c_str(), target.c_str());
        throw;
    }
    return backup;
}

} // namespace kelvora::persist
