#include "persist/atomic_file.h"

#include "kernel/errors.h"
#include "persist_test_util.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace kelvora::persist {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

// Writes beyond the limit fail with EFBIG, as on a full disk; unlike directory
// permissions this also holds for root, which runs CI.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

TEST(AtomicFile, AFailedSaveLeavesTheOldFileAndNoTemporaryFile) {
    enum class Cause { MissingDirectory, TargetIsDirectory, TargetIsDevice, DiskFull, WriteAfterFailure };
    for (Cause cause : {Cause::MissingDirectory, Cause::TargetIsDirectory, Cause::TargetIsDevice, Cause::DiskFull,
                        Cause::WriteAfterFailure}) {
        TempDir dir;
        fs::path target = dir / "Config.ini";
        writeBytes(target, "old\r\n");
        if (cause == Cause::MissingDirectory) target = dir / "missing" / "Config.ini";
        if (cause == Cause::TargetIsDirectory) {
            target = dir / "bd.txt";
            fs::create_directory(target);
        }
        if (cause == Cause::TargetIsDevice) {
            // A FIFO stands for a device such as /dev/full: renaming over it would destroy it.
            target = dir / "fifo";
            ASSERT_EQ(::mkfifo(target.c_str(), 0600), 0);
        }
        const auto before = dir.entries();
        const std::string big(1 << 20, 'x');
        if (cause == Cause::DiskFull) {
            FileSizeLimit limit(4096);
            EXPECT_THROW(writeFileAtomically(target, big), IoError);
        } else if (cause == Cause::WriteAfterFailure) {
            // A writer that ignores a failed write still cannot commit half a file.
            AtomicFile file(target);
            {
                FileSizeLimit limit(4096);
                std::fwrite(big.data(), 1, big.size(), file.stream());
                std::fflush(file.stream());
            }
            EXPECT_THROW(file.commit(), IoError);
        } else {
            EXPECT_THROW(writeFileAtomically(target, "new"), IoError);
        }
        EXPECT_EQ(readBytes(dir / "Config.ini"), "old\r\n") << static_cast<int>(cause);
        EXPECT_EQ(dir.entries(), before) << static_cast<int>(cause);
        if (cause == Cause::TargetIsDevice) {
            EXPECT_TRUE(fs::is_fifo(target));
        }
    }
}

TEST(AtomicFile, CommitReplacesTheTargetAndKeepsItsPermissions) {
    TempDir dir;
    const fs::path target = dir / "table.xls", linkPath = dir / "link.xls";
    writeBytes(target, "old");
    ::chmod(target.c_str(), 0640);
    fs::create_symlink(target, linkPath);

    {
        AtomicFile abandoned(linkPath);
        abandoned.write("never");
    }
    EXPECT_EQ(readBytes(target), "old");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"link.xls", "table.xls"}));

    AtomicFile file(linkPath);
    EXPECT_EQ(file.tempPath().parent_path(), dir.path());
    // A writer that opens the temporary file by name, as a workbook library does.
    std::FILE* byName = std::fopen(file.tempPath().c_str(), "wb");
    std::fputs("new content", byName);
    std::fclose(byName);
    file.commit();
    EXPECT_EQ(readBytes(target), "new content");
    EXPECT_TRUE(fs::is_symlink(linkPath));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"link.xls", "table.xls"}));
}

} // namespace
} // namespace kelvora::persist
