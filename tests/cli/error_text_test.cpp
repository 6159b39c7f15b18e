// Failures of the file system reach the user in Chinese, naming the file or folder, never
// as the library's English text.

#include "run_table.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

const std::string kTank =
    "RadioButton1=1 D=2000 L=5000 left.shape=flat right.shape=flat from=0 to=2000 step=500 "
    "rows_per_column=10 dead_volume=0 attachment.volume=0 attachment.bottom=0 attachment.height=0";

TEST(ErrorTexts, FileSystemFailuresAreNamedInChinese) {
    const std::string registerFile =
        testing::TempDir() + "kelvora_error_text_" + std::to_string(getpid()) + ".csv";
    std::ofstream(registerFile) << "tank_number,D\nT1,2000\n";
    struct Case {
        const char* name;
        std::string args;
        int status;
        const char* says;
        const char* names;
    };
    const Case cases[] = {
        {"register into a folder under a file", "--register " + registerFile + " --out-dir /dev/null/tables",
         2, "无法创建文件夹", "/dev/null/tables"},
        {"table into a folder under a file", kTank + " --out /dev/null/x/t.csv", 2, "路径中有一段不是文件夹",
         "/dev/null/x/t.csv"},
        {"a missing tank file", "--tank /nonexistent/kelvora/a.tank", 3, "找不到罐文件",
         "/nonexistent/kelvora/a.tank"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.name << ": " << r.err;
        EXPECT_NE(r.err.find(c.names), std::string::npos) << c.name << ": " << r.err;
        for (const char* english :
             {"filesystem error", "Not a directory", "No such file", "std::", "bad_alloc"})
            EXPECT_EQ(r.err.find(english), std::string::npos) << c.name << ": " << r.err;
    }
    std::remove(registerFile.c_str());
}

} // namespace
