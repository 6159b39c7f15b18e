// The batch tool speaks Chinese where a user looks: the help, every wrong command line,
// and the input a conversion failed on, named as it was given.

#include "run_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string kTank =
    "RadioButton1=1 Edit1=2000 Edit2=5000 Edit6=0 Edit7=2000 Edit8=1000 Edit9=10 Edit13=0 "
    "Edit31=0 Edit32=0 Edit33=0 RadioButton21=1 RadioButton14=1 ";
// Without the step, for the cases that give it by either name.
const std::string kNoStep =
    "RadioButton1=1 Edit1=2000 Edit2=5000 Edit6=0 Edit7=2000 Edit9=10 Edit13=0 Edit31=0 "
    "Edit32=0 Edit33=0 RadioButton21=1 RadioButton14=1 ";
// Without a left head, for the cases that choose one.
const std::string kShell =
    "RadioButton1=1 Edit1=2000 Edit2=5000 Edit6=0 Edit7=2000 Edit8=1000 Edit9=10 Edit13=0 "
    "Edit31=0 Edit32=0 Edit33=0 RadioButton14=1 ";
const std::string kSeeHelp = "\n（见 kelvora-table --help）\n";

TEST(UsageMessages, WrongCommandLinesInChinese) {
    const std::string missing = testing::TempDir() + "kelvora_no_such.tank";
    struct Case {
        std::string args, err;
    };
    const Case cases[] = {
        {"--bogus " + kTank, "kelvora-table: 未知的选项“--bogus”" + kSeeHelp},
        {"Foo=1 " + kTank, "kelvora-table: 未知的输入“Foo”" + kSeeHelp},
        {"--chart 0 --out t.csv " + kTank, "kelvora-table: --chart 取 1 到 1000 的整数" + kSeeHelp},
        {"--chart x --out t.csv " + kTank, "kelvora-table: --chart 取 1 到 1000 的整数" + kSeeHelp},
        {"--chart 5 " + kTank,
         "kelvora-table: --chart N 须与 --out FILE.csv 同用，不与 --quick、--compare 或 "
         "--level-for 同用" +
             kSeeHelp},
        {kTank + "--out", "kelvora-table: --out 需要一个值" + kSeeHelp},
        {"--page 7 " + kTank,
         "kelvora-table: --page 取 0 到 4 或页名（水平圆筒、倾斜圆筒、球罐、罐容标定、立式圆筒）" + kSeeHelp},
        {"--point 1 " + kTank, "kelvora-table: --point 取“液位,容积”（LEVEL,VOLUME）" + kSeeHelp},
        {"--out t.txt " + kTank,
         "kelvora-table: --out：“t.txt”的结尾不是 .xls、.xlsx、.pdf 或 .csv" + kSeeHelp},
        {"--quick --out t.xls " + kTank, "kelvora-table: --out 用于容积表，不与 --quick 同用" + kSeeHelp},
        {"--beta-zero " + kTank, "kelvora-table: 列选项和 --beta-zero 须与 --identify 同用" + kSeeHelp},
        {"Edit1 " + kTank, "kelvora-table: 应为 NAME=VALUE，而不是“Edit1”" + kSeeHelp},
        {"--page 3 --point 0,0 " + kTank, "kelvora-table: 标定点至少 2 个" + kSeeHelp},
        {"--settings /nonexistent/kelvora " + kTank,
         "kelvora-table: --settings：“/nonexistent/kelvora”不是文件夹" + kSeeHelp},
        {"--tank " + missing + " " + kTank, "kelvora-table: 找不到罐文件“" + missing + "”\n"},
        {"--register r.csv", "kelvora-table: --register FILE 须与 --out-dir DIR 同用" + kSeeHelp},
        {"--register r.csv --out-dir d --jobs 0", "kelvora-table: --jobs 取 1 到 256 的整数" + kSeeHelp},
        {"--register r.csv --out-dir d --formats doc",
         "kelvora-table: --formats 取 pdf、xlsx、xls 和 csv，以逗号分隔" + kSeeHelp},
        {"--register r.csv --out-dir d --quick", "kelvora-table: “--quick”不与 --register 同用" + kSeeHelp},
    };
    for (const Case& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, 3) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
        EXPECT_EQ(r.err, c.err) << c.args;
    }
}

TEST(UsageMessages, HelpIsChineseWithItsUsageLine) {
    const Result help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("用法 (usage): kelvora-table ")) << help.out;
    EXPECT_EQ(help.err, "");
    for (const char* english : {"usage:", "the ", "with ", "writes ", "Exit status"})
        EXPECT_EQ(help.out.find(english), std::string::npos) << english;
    const Result bare = run("");
    EXPECT_EQ(bare.status, 3);
    EXPECT_EQ(bare.out, "");
    EXPECT_EQ(bare.err, help.out);
}

// The conversion's own message stays as it is; the line after it names the input.
TEST(UsageMessages, ConversionNamesTheInputAsGiven) {
    const std::string tankFile = testing::TempDir() + "kelvora_step.tank";
    std::ofstream(tankFile)
        << "# Kelvora tank file, version 1\nstructure = horizontal\nsection = circle\nD = 2000\n"
           "L = 5000\nleft.shape = flat\nright.shape = flat\nfrom = 0\nto = 2000\nstep = 1O0\n"
           "rows_per_column = 10\ndead_volume = 0\nattachment.volume = 0\n"
           "attachment.bottom = 0\nattachment.height = 0\n";
    struct Case {
        std::string args, err, out = {};
    };
    const Case cases[] = {
        {kTank + "Edit8=1O0", "'1O0' is not a valid floating point value.\n输入项：Edit8（液位间隔）\n"},
        {kNoStep + "step=1O0", "'1O0' is not a valid floating point value.\n输入项：step（液位间隔）\n"},
        // The component names are applied after the readable names, whatever their order.
        {kNoStep + "Edit8=1O0 step=5",
         "'1O0' is not a valid floating point value.\n输入项：Edit8（液位间隔）\n"},
        {kNoStep + "step=1O0 Edit8=1000", "", "0,0\n100,7853.98\n200,15707.96\n"},
        // A tank file's text where a number belongs is refused on reading, naming its line.
        {"--tank " + tankFile, "kelvora-table: 罐文件“" + tankFile + "”第10行：“step”应为数字，不是“1O0”\n"},
        {kShell + "RadioButton15=1 Edit21=x Edit22=500",
         "'x' is not a valid floating point value.\n输入项：Edit21（左封头h）\n"},
        {kShell + "left.shape=ellipsoidal left.h=x left.H=500",
         "'x' is not a valid floating point value.\n输入项：left.h（左封头h）\n"},
        {"--page 3 --point 0,0 --point 1000,500 --point 2000,1x Edit6=0 Edit7=100 Edit8=50 Edit9=5 Edit13=0 "
         "Edit31=0 Edit32=0 Edit33=0",
         "'1x' is not a valid floating point value.\n输入项：point 3（标定点）\n"},
        {kTank + "UncertaintyLevel=a --uncertainty",
         "'a' is not a valid floating point value.\n输入项：UncertaintyLevel（液位读数的标准不确定度）\n"},
    };
    for (const Case& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, c.err.empty() ? 0 : c.err.starts_with("kelvora-table: 罐文件") ? 3 : 2) << c.args;
        EXPECT_EQ(r.out, c.out) << c.args;
        EXPECT_EQ(r.err, c.err) << c.args;
    }
    std::filesystem::remove(tankFile);
}

} // namespace
