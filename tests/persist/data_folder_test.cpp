#include "persist/data_folder.h"

#include "capacity/memory_inputs.h"
#include "persist/startup.h"
#include "persist_test_util.h"

#include <gtest/gtest.h>

namespace kelvora::persist {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeBytes;

// An executable's folder <root>/bin, with <root>/share/kelvora when installed.
fs::path makeProgram(const TempDir& root, bool installed) {
    fs::create_directories(root / "bin");
    if (installed) fs::create_directories(root / "share" / "kelvora");
    return root / "bin";
}

TEST(DataFolder, TheUsersOwnWhenInstalledOrTheProgramsFolderIsReadOnly) {
    struct Case {
        const char* what;
        bool installed, writable;
        UserEnvironment env;
        const char* expected; // empty: the executable's folder
    };
    const Case cases[] = {
        {"a writable copy", false, true, {"/xdg", "/home/u"}, ""},
        {"a read-only copy", false, false, {"/xdg", "/home/u"}, "/xdg/kelvora"},
        {"a read-only copy, no XDG_CONFIG_HOME", false, false, {"", "/home/u"}, "/home/u/.config/kelvora"},
        {"a read-only copy, relative XDG_CONFIG_HOME", false, false, {"cfg", "/home/u"}, "/home/u/.config/kelvora"},
        {"installed, writable by root", true, true, {"/xdg", "/home/u"}, "/xdg/kelvora"},
        {"installed, no XDG_CONFIG_HOME", true, false, {"", "/home/u"}, "/home/u/.config/kelvora"},
        {"installed, no home at all", true, false, {"", ""}, ""},
    };
    for (const auto& c : cases) {
        TempDir root;
        const fs::path exeDir = makeProgram(root, c.installed);
        const DataFolder folder = chooseDataFolder(exeDir, c.writable, c.env);
        const std::string expected = *c.expected ? c.expected : exeDir.string();
        EXPECT_EQ(folder.dir, fs::path(expected)) << c.what;
        EXPECT_EQ(folder.usersOwn, *c.expected != '\0') << c.what;
    }
}

TEST(DataFolder, WritableProbeNeedsAFolderAndLeavesNothing) {
    TempDir dir;
    writeBytes(dir / "file", "x");
    EXPECT_TRUE(directoryWritable(dir.path()));
    EXPECT_FALSE(directoryWritable(dir / "file"));
    EXPECT_FALSE(directoryWritable(dir / "missing"));
    EXPECT_FALSE(directoryWritable("/dev/null"));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"file"});
}

// Each file on its own: the data folder's copy when there is one; the executable's
// folder's only for the user's own data folder, where a first start begins from it.
TEST(DataFolder, StartUpReadsEachFileFromTheDataFolderFirst) {
    struct Case {
        const char* what;
        bool usersOwn, inData, besideProgram;
        bool fromData;
    };
    const Case cases[] = {
        {"user's folder, file there", true, true, true, true},
        {"user's folder, file only beside the program", true, false, true, false},
        {"user's folder, file nowhere", true, false, false, false},
        {"program's folder", false, true, false, true},
    };
    for (const auto& c : cases) {
        TempDir data, program;
        if (c.inData) writeBytes(data / "bd.txt", "x");
        if (c.besideProgram) writeBytes(program / "bd.txt", "x");
        const DataFolder folder{c.usersOwn ? data.path() : program.path(), c.usersOwn};
        const fs::path expected = (c.fromData ? folder.dir : program.path()) / "bd.txt";
        EXPECT_EQ(startupFilePath(folder, program.path(), "bd.txt"), expected) << c.what;
    }
}

// The user's own calibration points survive a start where only the settings come from
// beside the program, and the close writes both files into the user's folder.
TEST(DataFolder, TheUsersPointsAreNotReplacedByThoseBesideTheProgram) {
    TempDir user, program;
    writeBytes(program / "Config.ini", "[FrmMainPro]\r\nEdit1=1500\r\n");
    writeBytes(program / "bd.txt", "3\r\n2\r\n\r\n1\r\nbeside\r\n111\r\n\r\n222\r\n");
    const DataFolder folder{user / "kelvora", true};
    fs::create_directory(folder.dir);
    writeBytes(folder.dir / "bd.txt", "3\r\n2\r\n\r\n1\r\nusers\r\n333\r\n\r\n444\r\n");

    capacity::MemoryInputs inputs = capacity::MemoryInputs::constructed();
    loadStartupFiles(inputs, folder, program.path().string());
    EXPECT_EQ(inputs.text("Edit1"), "1500");
    EXPECT_EQ(inputs.grid().cell(1, 1), "333");
    saveShutdownFiles(inputs, folder.dir.string());
    EXPECT_NE(test::readBytes(folder.dir / "bd.txt").find("333"), std::string::npos);
    EXPECT_TRUE(fs::exists(folder.dir / "Config.ini"));
    EXPECT_EQ(test::readBytes(program / "bd.txt"), "3\r\n2\r\n\r\n1\r\nbeside\r\n111\r\n\r\n222\r\n");

    // A first close makes the user's folder.
    TempDir fresh;
    saveShutdownFiles(inputs, (fresh / "a" / "kelvora").string());
    EXPECT_TRUE(fs::exists(fresh / "a" / "kelvora" / "bd.txt"));
}

TEST(DataFolder, HelpBesideTheProgramThenInTheShareFolder) {
    struct Case {
        bool beside, shared;
        const char* expected; // relative to the root; empty: none
    };
    const Case cases[] = {
        {true, true, "bin/help.chm"},
        {false, true, "share/kelvora/help.chm"},
        {true, false, "bin/help.chm"},
        {false, false, ""},
    };
    for (const auto& c : cases) {
        TempDir root;
        const fs::path exeDir = makeProgram(root, true);
        if (c.beside) writeBytes(exeDir / "help.chm", "x");
        if (c.shared) writeBytes(root / "share" / "kelvora" / "help.chm", "x");
        const auto help = helpFilePath(exeDir);
        if (*c.expected) {
            ASSERT_TRUE(help) << c.expected;
            EXPECT_EQ(*help, root / c.expected);
        } else {
            EXPECT_FALSE(help);
        }
    }
}

TEST(DataFolder, HelpPagesBesideTheProgramThenInTheShareFolder) {
    struct Case {
        bool beside, shared;
        const char* expected; // relative to the root; empty: none
    };
    const Case cases[] = {
        {true, true, "bin/help/index.html"},
        {false, true, "share/kelvora/help/index.html"},
        {true, false, "bin/help/index.html"},
        {false, false, ""},
    };
    for (const auto& c : cases) {
        TempDir root;
        const fs::path exeDir = makeProgram(root, true);
        // A folder without its first page is no help.
        fs::create_directories(exeDir / "help");
        if (c.beside) writeBytes(exeDir / "help" / "index.html", "x");
        fs::create_directories(root / "share" / "kelvora" / "help");
        if (c.shared) writeBytes(root / "share" / "kelvora" / "help" / "index.html", "x");
        const auto pages = helpPagesPath(exeDir);
        if (*c.expected) {
            ASSERT_TRUE(pages) << c.expected;
            EXPECT_EQ(*pages, root / c.expected);
        } else {
            EXPECT_FALSE(pages);
        }
    }
}

} // namespace
} // namespace kelvora::persist
