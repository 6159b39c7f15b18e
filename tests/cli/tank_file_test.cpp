// kelvora-table --tank with a file that leaves inputs out: the table comes as before, with
// one line on standard error naming the inputs that took their defaults.

#include "run_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

TEST(TankFileDefaults, OneLineNamesTheInputsLeftOut) {
    const std::string dir = testing::TempDir() + "kelvora_tank_defaults_" + std::to_string(getpid());
    std::filesystem::create_directories(dir);
    struct Case {
        const char* name;
        std::string file, args;
        bool noted;
        std::vector<const char*> named, unnamed;
    };
    std::ofstream(dir + "/short.tank")
        << "structure = horizontal\nsection = circle\nD = 2000\nL = 5000\n"
           "left.shape = flat\nright.shape = flat\nfrom = 0\nto = 2000\nstep = 500\n"
           "rows_per_column = 10\ndead_volume = 0\nattachment.volume = 0\n"
           "attachment.bottom = 0\nattachment.height = 0\n";
    const Case cases[] = {
        {"short file",
         dir + "/short.tank",
         "",
         true,
         {"tank_number", "certificate", "u.level"},
         {"D", "step"}},
        {"short file, number on the command line",
         dir + "/short.tank",
         "tank_number=T-7",
         true,
         {"certificate"},
         {"tank_number"}},
    };
    const Result plain =
        run("RadioButton1=1 D=2000 L=5000 left.shape=flat right.shape=flat from=0 to=2000 "
            "step=500 rows_per_column=10 dead_volume=0 attachment.volume=0 attachment.bottom=0 "
            "attachment.height=0");
    ASSERT_EQ(plain.status, 0) << plain.err;
    for (const auto& c : cases) {
        const Result r = run("--tank " + c.file + " " + c.args);
        EXPECT_EQ(r.status, 0) << c.name << ": " << r.err;
        EXPECT_EQ(r.out, plain.out) << c.name;
        const auto line = r.err.find("罐文件没有给出，按默认值：");
        EXPECT_EQ(line != std::string::npos, c.noted) << c.name << ": " << r.err;
        if (line == std::string::npos) continue;
        EXPECT_EQ(line, 0u) << r.err;
        const std::string first = r.err.substr(0, r.err.find('\n'));
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
        for (const char* name : c.named)
            EXPECT_NE(first.find(std::string("、") + name), std::string::npos) << name;
        for (const char* name : c.unnamed) {
            EXPECT_EQ(first.find(std::string("、") + name + "、"), std::string::npos) << name;
            EXPECT_EQ(first.find(std::string("：") + name + "、"), std::string::npos) << name;
        }
    }
    std::filesystem::remove_all(dir);
}

} // namespace
