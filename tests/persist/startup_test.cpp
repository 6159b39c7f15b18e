#include "persist/startup.h"

#include "capacity/memory_inputs.h"
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

    // A settings save that fails, or is refused as too large to load back, still saves
    // the calibration points.
    for (bool folder : {true, false}) {
        TempDir other;
        const std::string huge(ProfileFile::kMaxBytes, ';');
        if (folder)
            fs::create_directory(other / "Config.ini");
        else
            writeBytes(other / "Config.ini", huge);
        saveShutdownFiles(inputs, other.path().string());
        EXPECT_EQ(other.entries(), (std::vector<std::string>{"Config.ini", "bd.txt"}));
        EXPECT_EQ(readBytes(other / "bd.txt"), stringGridFileBytes(inputs.grid()));
        if (!folder) {
            EXPECT_TRUE(readBytes(other / "Config.ini") == huge) << "the refused settings file changed";
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
    EXPECT_EQ(inputs.text("ComboBox2"), "8");    // the file said 20
    EXPECT_EQ(inputs.itemIndex("ComboBox4"), 0); // the file said subtract
    EXPECT_EQ(inputs.grid().rowCount(), 9);
    EXPECT_EQ(inputs.grid().cell(2, 20), "20000.5"); // hidden, back when 20 is picked

    // A settings error skips the grid; the start-up set-up still runs.
    RejectingInputs rejecting;
    loadStartupFiles(rejecting, dir.path().string());
    EXPECT_EQ(rejecting.text("Edit7"), "2000"); // before Edit37 in component order
    EXPECT_EQ(rejecting.text("Edit1"), "");     // after it
    EXPECT_EQ(rejecting.grid().cell(1, 1), "");
    EXPECT_EQ(rejecting.grid().cell(1, 0), "高度 mm");
}

} // namespace
} // namespace kelvora::persist
