#include "cli/register_lock.h"

#include "persist/io_error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvora::cli {

RegisterLock::RegisterLock(const std::filesystem::path& dir) : path_(dir / kRegisterLockName) {
    // A holder removes the file before it lets go: a lock taken on a file that is no
    // longer under the name is taken again on the one that is.
    for (int attempt = 0; attempt < 100; ++attempt) {
        fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd_ < 0) persist::throwIoError("无法创建锁文件", path_, errno);
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd_);
            fd_ = -1;
            if (error == EWOULDBLOCK)
                throw FolderBusy("另一个登记表正在写入文件夹“" + dir.string() + "”（锁文件“" +
                                 path_.string() + "”），请等它结束");
            persist::throwIoError("无法锁定文件", path_, error);
        }
        struct stat held {
        }, named{};
        if (::fstat(fd_, &held) == 0 && ::stat(path_.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
            held.st_dev == named.st_dev)
            return;
        ::close(fd_);
        fd_ = -1;
    }
    throw FolderBusy("文件夹“" + dir.string() + "”的锁文件一直在变，请稍后再试");
}

RegisterLock::~RegisterLock() {
    if (fd_ < 0) return;
    ::unlink(path_.c_str());
    ::close(fd_);
}

} // namespace kelvora::cli
