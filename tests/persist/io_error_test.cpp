// The texts a user reads for a failure: the standard library's English texts become
// Chinese ones naming the file or folder, and a missing file is called missing.

#include "persist/io_error.h"

#include "kernel/errors.h"
#include "persist/bounded_read.h"
#include "persist/tank_file.h"
#include "persist_test_util.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <new>
#include <system_error>

namespace {

namespace fs = std::filesystem;
namespace persist = kelvora::persist;

bool hasAsciiWord(std::string text) {
    // "filesystem error", "bad_alloc", "No such file": a run of four ASCII letters outside
    // the quoted paths.
    for (std::size_t open; (open = text.find("“")) != std::string::npos;)
        text.erase(open, text.find("”", open) + std::string("”").size() - open);
    int run = 0;
    for (const char c : text) {
        run = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ? run + 1 : 0;
        if (run >= 4) return true;
    }
    return false;
}

TEST(UserMessage, LibraryTextsBecomeChinese) {
    struct Case {
        const char* name;
        std::function<void()> fail;
        const char* says;  // a part of the message
        const char* names; // the file or folder it must name, or ""
    };
    const Case cases[] = {
        {"directories under a file", [] { fs::create_directories("/dev/null/1/2"); }, "/dev/null/1/2",
         "/dev/null/1/2"},
        {"a missing folder's entries", [] { fs::directory_iterator("/nonexistent/0/9"); }, "不存在",
         "/nonexistent/0/9"},
        {"copy of a missing file", [] { fs::copy_file("/nonexistent/0/a", "/nonexistent/0/b"); }, "不存在",
         "/nonexistent/0/a"},
        {"a missing file in a folder that is there",
         [] { fs::resize_file("/tmp/kelvora-missing-file-0", 1); }, "文件不存在",
         "/tmp/kelvora-missing-file-0"},
        {"bad_alloc", [] { throw std::bad_alloc(); }, "内存不足", ""},
        {"system_error", [] { throw std::system_error(ENOSPC, std::generic_category(), "write"); },
         "磁盘已满", ""},
        {"logic_error", [] { throw std::logic_error("sheet rows out of order"); }, "程序内部错误", ""},
        {"own error", [] { throw kelvora::IoError("无法保存到“x”：磁盘已满"); }, "无法保存到“x”：磁盘已满",
         ""},
    };
    for (const auto& c : cases) {
        try {
            c.fail();
            ADD_FAILURE() << c.name << " did not fail";
        } catch (const std::exception& e) {
            const std::string text = persist::userMessage(e);
            EXPECT_NE(text.find(c.says), std::string::npos) << c.name << ": " << text;
            EXPECT_NE(text.find(c.names), std::string::npos) << c.name << ": " << text;
            EXPECT_FALSE(hasAsciiWord(text)) << c.name << ": " << text;
        }
    }
    // A path the caller knows is named when the exception has none.
    EXPECT_EQ(persist::userMessage(std::bad_alloc(), "/data/a.xls"), "内存不足，无法处理“/data/a.xls”");
}

TEST(UserMessage, MissingFileIsCalledMissing) {
    struct Case {
        int error;
        persist::IoAccess access;
        const char* reason;
    };
    const Case cases[] = {
        {ENOENT, persist::IoAccess::Read, "文件不存在"},
        {ENOENT, persist::IoAccess::Write, "文件夹不存在"},
        {ENOSPC, persist::IoAccess::Write, "磁盘已满"},
        {EMFILE, persist::IoAccess::Read, "打开的文件太多"},
        {EOWNERDEAD, persist::IoAccess::Read, "错误代码"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(persist::ioReason(c.error, c.access).rfind(c.reason, 0), 0u) << c.error;
}

} // namespace
