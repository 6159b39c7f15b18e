#pragma once
// One register at a time in an output folder: a lock file DIR/.kelvora-register.lock held
// with flock while the register writes, so a second register into the same folder is
// refused instead of mixing its files with the first's. The system drops the lock when
// its holder ends, however it ends; the file itself is removed by the holder.

#include "kernel/errors.h"

#include <filesystem>

namespace kelvora::cli {

inline constexpr const char* kRegisterLockName = ".kelvora-register.lock";

// Another process holds the folder's lock.
class FolderBusy : public Error {
public:
    using Error::Error;
};

class RegisterLock {
public:
    // Takes the lock of `dir`, which must exist; FolderBusy when another holds it, IoError
    // when the lock file cannot be made.
    explicit RegisterLock(const std::filesystem::path& dir);
    ~RegisterLock();
    RegisterLock(const RegisterLock&) = delete;
    RegisterLock& operator=(const RegisterLock&) = delete;

private:
    std::filesystem::path path_;
    int fd_ = -1;
};

} // namespace kelvora::cli
