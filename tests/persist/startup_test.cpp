#include "persist/startup.h"

#include "capacity/memory_inputs.h"
#include "persist/gbk_text.h"
#include "persist/grid_file.h"
#include "persist/profile_file.h"
#include "persist/settings.h"
#include "persist_test_util.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace kelvora::persist {
namespace {

using capacity::MemoryInputs;
using test::fixture;
namespace fs = std::filesystem;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

// A window whose density field rejects its stored text with an error part-way through
// the settings load.
class RejectingInputs : public MemoryInputs {
public:
    RejectingInputs() : MemoryInputs(MemoryInputs::constructed()) {}
    void setText(std::string_view name, std::string_view text) override {
        if (name == "Edit37") throw std::runtime_error("rejected");
        MemoryInputs::setText(name, text);
    }
};

TEST(StartupFiles, FirstRunThenCloseWritesBothFiles) {
    TempDir dir;
    MemoryInputs inputs = MemoryInputs::constructed();
    loadStartupFiles(inputs, dir.path().string());
    EXPECT_FALSE(inputs.checked("RadioButton1"));
    EXPECT_EQ(inputs.text("ComboBox1"), "");
    EXPECT_EQ(inputs.text("ComboBox2"), "8");
    EXPECT_EQ(inputs.itemIndex("ComboBox3"), 0);
    EXPECT_EQ(inputs.grid().cell(0, 8), "8");

    saveShutdownFiles(inputs, dir.path().string());
    EXPECT_EQ(readBytes(dir / "Config.ini"), fixture("fresh_config.ini") + test::kFreshKelvoraSection);
    EXPECT_EQ(readBytes(dir / "bd.txt"), stringGridFileBytes(inputs.grid()));

    // A settings save that fails still saves the calibration points; a settings file too
    // large to load back is kept aside, with a message, and the inputs saved all the same.
    for (bool folder : {true, false}) {
        TempDir other;
        const std::string huge = "[Other]\r\n" + std::string(ProfileFile::kMaxBytes, ';');
        if (folder)
            fs::create_directory(other / "Config.ini");
        else
            writeBytes(other / "Config.ini", huge);
        const auto messages = saveShutdownFiles(inputs, other.path().string());
        EXPECT_EQ(readBytes(other / "bd.txt"), stringGridFileBytes(inputs.grid()));
        if (folder) {
            EXPECT_EQ(other.entries(), (std::vector<std::string>{"Config.ini", "bd.txt"}));
            EXPECT_TRUE(messages.empty());
        } else {
            EXPECT_EQ(other.entries(), (std::vector<std::string>{"Config.ini", "Config.ini.bak", "bd.txt"}));
            EXPECT_TRUE(readBytes(other / "Config.ini.bak") == huge) << "the old settings file was not kept";
            EXPECT_EQ(readBytes(other / "Config.ini"), fixture("fresh_config.ini") + test::kFreshKelvoraSection);
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_NE(messages[0].find("Config.ini.bak"), std::string::npos) << messages[0];
        }
    }
}

TEST(StartupFiles, LoadsASavedTankThenAppliesTheStartDefaults) {
    TempDir dir;
    writeBytes(dir / "Config.ini", fixture("windows_config.ini"));
    writeBytes(dir / "bd.txt", fixture("windows_bd.txt"));
    MemoryInputs inputs = MemoryInputs::constructed();
    loadStartupFiles(inputs, dir.path().string());
    EXPECT_EQ(inputs.text("Edit1"), "2000");
    EXPECT_EQ(inputs.text("ComboBox2"), "20");
    EXPECT_EQ(inputs.itemIndex("ComboBox4"), 1); // subtract
    EXPECT_EQ(inputs.grid().rowCount(), 21);
    EXPECT_EQ(inputs.grid().cell(2, 20), "20000.5");

    // A settings error does not keep the grid from loading; the start-up set-up still runs.
    RejectingInputs rejecting;
    loadStartupFiles(rejecting, dir.path().string());
    EXPECT_EQ(rejecting.text("Edit7"), "2000"); // before Edit37 in component order
    EXPECT_EQ(rejecting.text("Edit1"), "");     // after it
    EXPECT_EQ(rejecting.grid().cell(1, 1), "100");
    EXPECT_EQ(rejecting.grid().cell(1, 0), "高度 mm");
}

// The point count and both head choices come back as stored; a stored value that is none
// of their items gives the start-up default.
TEST(StartupFiles, RestoresThePointCountAndTheHeadChoices) {
    struct Case {
        const char* what;
        std::string stored; // lines of [FrmMainPro], UTF-8
        std::string count;
        int left, right;
    };
    const Case cases[] = {
        {"ten points, both heads subtracted", "ComboBox2=10\r\nComboBox3=减去左封头容积\r\nComboBox4=减去右封头容积\r\n", "10", 1, 1},
        {"the extremes", "ComboBox2=2\r\nComboBox3=加上左封头容积\r\n", "2", 0, 0},
        {"two hundred", "ComboBox2=200\r\n", "200", 0, 0},
        {"nothing stored", "", "8", 0, 0},
        {"out of range", "ComboBox2=201\r\n", "8", 0, 0},
        {"one point", "ComboBox2=1\r\n", "8", 0, 0},
        {"not a count", "ComboBox2=10.0\r\nComboBox3=减去\r\nComboBox4=0\r\n", "8", 0, 0},
        {"the other side's text", "ComboBox3=减去右封头容积\r\n", "8", 0, 0},
    };
    for (const bool batch : {false, true}) {
        for (const auto& c : cases) {
            TempDir dir;
            writeBytes(dir / "Config.ini", utf8ToGbk("[FrmMainPro]\r\n" + c.stored));
            MemoryInputs inputs = batch ? MemoryInputs::afterStartup() : MemoryInputs::constructed();
            loadStartupFiles(inputs, dir.path().string());
            EXPECT_EQ(inputs.text("ComboBox2"), c.count) << c.what;
            EXPECT_EQ(inputs.itemIndex("ComboBox3"), c.left) << c.what;
            EXPECT_EQ(inputs.itemIndex("ComboBox4"), c.right) << c.what;
            const int count = std::stoi(c.count);
            EXPECT_EQ(inputs.grid().rowCount(), count + 1) << c.what;
            EXPECT_EQ(inputs.grid().cell(0, count), c.count) << c.what;

            // Saved as loaded: the section's lines stay as they were.
            saveShutdownFiles(inputs, dir.path().string());
            MemoryInputs again = MemoryInputs::constructed();
            loadStartupFiles(again, dir.path().string());
            EXPECT_EQ(again.text("ComboBox2"), c.count) << c.what;
            EXPECT_EQ(again.itemIndex("ComboBox3"), c.left) << c.what;
        }
    }
}

// Opening and closing never loses a point: hidden points are kept, and a bd.txt that could
// not be read is never replaced by the empty grid shown instead.
TEST(StartupFiles, OpeningAndClosingKeepsEveryPoint) {
    const std::string twenty = fixture("windows_bd.txt");
    struct Case {
        const char* what;
        std::string config, grid; // file contents; no bd.txt when grid is "-"
        bool kept;                // a message, and bd.txt untouched at the close
    };
    const Case cases[] = {
        {"twenty points, count 20", "[FrmMainPro]\r\nComboBox2=20\r\n", twenty, false},
        {"twenty points, count 8", "", twenty, false},
        {"no bd.txt", "", "-", false},
        {"random bytes", "", std::string("\x8F\x01\xFE\x7Fz\r\n\xFF", 9), true},
        {"a count that is no number", "", "3\r\nnine\r\n1\r\n", true},
    };
    for (const auto& c : cases) {
        TempDir dir;
        if (!c.config.empty()) writeBytes(dir / "Config.ini", c.config);
        if (c.grid != "-") writeBytes(dir / "bd.txt", c.grid);
        MemoryInputs inputs = MemoryInputs::constructed();
        const StartupLoad load = loadStartupFiles(inputs, dir.path().string());
        EXPECT_EQ(load.gridKept, c.kept) << c.what;
        EXPECT_EQ(startupMessage(load).empty(), !c.kept) << c.what;
        saveShutdownFiles(inputs, dir.path().string(), load);
        if (c.kept) {
            EXPECT_EQ(readBytes(dir / "bd.txt"), c.grid) << c.what;
            EXPECT_NE(startupMessage(load).find((dir / "bd.txt").string()), std::string::npos) << c.what;
        } else if (c.grid != "-") {
            EXPECT_EQ(readBytes(dir / "bd.txt"), c.grid) << c.what; // all twenty points, as they were
        }

        // Points typed in after all: the unreadable file is kept as bd.txt.bak.
        inputs.grid().setCell(1, 1, "35");
        saveShutdownFiles(inputs, dir.path().string(), load);
        EXPECT_EQ(readBytes(dir / "bd.txt"), stringGridFileBytes(inputs.grid())) << c.what;
        EXPECT_EQ(fs::exists(dir / "bd.txt.bak"), c.kept) << c.what;
        if (c.kept) {
            EXPECT_EQ(readBytes(dir / "bd.txt.bak"), c.grid) << c.what;
        }
    }
}

} // namespace
} // namespace kelvora::persist
