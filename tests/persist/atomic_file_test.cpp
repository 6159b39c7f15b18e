#include "persist/atomic_file.h"

#include "kernel/errors.h"
#include "persist_test_util.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

std::string repeated(std::string_view piece, std::size_t times) {
    std::string s;
    for (std::size_t i = 0; i < times; ++i)
        s.append(piece);
    return s;
}

// Names up to the file system's limit, where the temporary name must be shortened; the
// UTF-8 one must not be cut inside a character.
const std::string kLongNames[] = {
    "a", repeated("n", 200), repeated("n", 230), repeated("n", 241), repeated("n", 242), repeated("n", 250),
    repeated("n", 255), repeated("罐", 85), repeated("n", 240) + "x.xlsx", repeated("n", 240) + "y.xlsx",
};

TEST(AtomicFile, SavesEveryNameTheFileSystemTakes) {
    TempDir dir;
    std::vector<std::string> parts;
    for (const std::string& name : kLongNames) {
        {
            AtomicFile file(dir / name);
            const std::string temp = file.tempPath().filename().string();
            EXPECT_LE(temp.size(), 255u) << name.size();
            // Recognisable as the target's: its name, or at least its first 200 bytes.
            EXPECT_EQ(temp.substr(0, std::min<std::size_t>(name.size(), 200) + 1),
                      "." + name.substr(0, std::min<std::size_t>(name.size(), 200)));
            EXPECT_EQ(temp.find(std::to_string(::getpid())) != std::string::npos, true) << temp;
            std::string part = temp.substr(0, temp.size() - std::string_view(".abcdefgh.tmp").size());
            parts.push_back(part.substr(0, part.rfind('.')));
        }
        writeFileAtomically(dir / name, "content of " + name);
        EXPECT_EQ(readBytes(dir / name), "content of " + name) << name.size();
    }
    EXPECT_EQ(dir.entries().size(), std::size(kLongNames)); // no temporary file left
    // Two long names alike in their first 240 bytes still get different temporary names.
    EXPECT_NE(parts[parts.size() - 1], parts[parts.size() - 2]);
}

// A writer killed mid-save leaves its temporary file; the next save of that target
// removes it once the writer is gone, and never while it lives. Leftovers of other
// targets, and files the program cannot attribute to a writer, stay.
TEST(AtomicFile, TheNextSaveRemovesTheLeftoverOfAKilledWriter) {
    for (const std::string& name : {std::string("Config.ini"), kLongNames[5]}) {
        TempDir dir;
        const fs::path target = dir / name;
        writeBytes(target, "old");
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            AtomicFile file(target);
            file.write(std::string(100000, 'p'));
            const std::string temp = file.tempPath().string();
            (void)!::write(pipeFds[1], temp.data(), temp.size());
            ::close(pipeFds[1]);
            for (;;)
                ::pause();
        }
        ::close(pipeFds[1]);
        std::string temp(4096, '\0');
        const ssize_t n = ::read(pipeFds[0], temp.data(), temp.size());
        ::close(pipeFds[0]);
        ASSERT_GT(n, 0);
        temp.resize(static_cast<std::size_t>(n));
        ASSERT_TRUE(fs::exists(temp));

        const std::string deadPid = std::to_string(child);
        const std::string otherTargets[] = {
            "." + name + ".bak." + deadPid + ".abcdefgh.tmp", // the leftover of "NAME.bak"
            "." + name + ".abcdefgh.tmp",                     // no writer named
            "." + name + "." + deadPid + ".ABCDEFGH.tmp",     // not a name this program makes
        };
        for (const auto& other : otherTargets)
            if (other.size() <= 255) writeBytes(dir / other, "x");

        writeFileAtomically(target, "while the writer lives");
        EXPECT_TRUE(fs::exists(temp)) << "a live writer's file was removed";

        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        writeFileAtomically(target, "after the writer died");
        EXPECT_FALSE(fs::exists(temp)) << name.size();
        EXPECT_EQ(readBytes(target), "after the writer died");
        for (const auto& other : otherTargets)
            if (other.size() <= 255) {
                EXPECT_TRUE(fs::exists(dir / other)) << other;
            }
    }
}

} // namespace
} // namespace kelvora::persist
