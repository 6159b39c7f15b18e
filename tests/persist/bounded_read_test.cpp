#include "persist/bounded_read.h"

#include "kernel/errors.h"
#include "persist_test_util.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvora::persist {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeBytes;

// Anything but a regular file is unreadable, and finding that out never waits: a FIFO
// without a writer, a terminal or an endless device would otherwise hold the start-up.
TEST(BoundedRead, OnlyRegularFilesAreReadAndNothingBlocks) {
    ::alarm(30); // a read that blocks ends the test instead of hanging the suite
    TempDir dir;
    writeBytes(dir / "plain", "12345");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_directory(dir / "folder");
    fs::create_symlink(dir / "fifo", dir / "link-to-fifo");
    fs::create_symlink("/dev/zero", dir / "link-to-zero");

    struct Case { fs::path path; bool readable; };
    const Case cases[] = {
        {dir / "plain", true},
        {dir / "fifo", false},
        {dir / "link-to-fifo", false},
        {dir / "link-to-zero", false},
        {"/dev/zero", false},
        {"/dev/null", false},
        {dir / "folder", false},
    };
    for (const auto& c : cases) {
        if (c.readable) {
            const auto file = readFilePrefix(c.path, 3);
            ASSERT_TRUE(file) << c.path;
            EXPECT_EQ(file->bytes, "123");
            EXPECT_TRUE(file->truncated);
        } else {
            EXPECT_THROW(readFilePrefix(c.path, 3), IoError) << c.path;
        }
    }
    EXPECT_FALSE(readFilePrefix(dir / "missing", 3));
    EXPECT_FALSE(readFilePrefix(dir / "plain" / "below-a-file", 3));
    ::alarm(0);
}

} // namespace
} // namespace kelvora::persist
