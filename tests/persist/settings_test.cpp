#include "persist/settings.h"

#include "capacity/input_table.h"
#include "capacity/memory_inputs.h"
#include "kernel/errors.h"
#include "persist/profile_file.h"
#include "persist_test_util.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace kelvora::persist {
namespace {

using capacity::InputKind;
using capacity::MemoryInputs;
using test::fixture;
using test::readBytes;
using test::TempDir;
using test::writeBytes;
namespace fs = std::filesystem;

bool isToggle(InputKind kind) {
    return kind == InputKind::CheckBox || kind == InputKind::RadioButton;
}

// Every input against its expected state: the named texts and checked buttons, "0" for
// every other text after a save, and every other button clear.
void expectInputs(const MemoryInputs& inputs, const std::map<std::string, std::string>& texts,
                  const std::set<std::string>& checked, const std::string& otherText) {
    for (const auto& input : capacity::inputTable()) {
        const std::string name(input.name);
        if (isToggle(input.kind)) {
            EXPECT_EQ(inputs.checked(name), checked.count(name) == 1) << name;
        } else {
            const auto it = texts.find(name);
            EXPECT_EQ(inputs.text(name), it == texts.end() ? otherText : it->second) << name;
        }
    }
}

TEST(Settings, RoundTripEveryKindOfInput) {
    // clang-format off
    const std::map<std::string, std::string> set = {
        {"Edit1", "2000"}, {"Edit2", "罐体 长度"}, {"Edit3", "  12 "}, {"Edit4", ""}, {"Edit5", "   "},
        {"Edit6", "\t"},   {"Edit37", "0.85"},     {"ComboBox1", "g/cm^3"},  {"ComboBox4", "减去右封头容积"},
    };
    const std::map<std::string, std::string> readBack = {
        {"Edit1", "2000"}, {"Edit2", "罐体 长度"}, {"Edit3", "12"}, {"Edit37", "0.85"}, {"ComboBox1", "g/cm^3"},
        {"ComboBox4", "减去右封头容积"}, {"ComboBox3", "加上左封头容积"}, {"ComboBox2", ""},
    };
    const std::set<std::string> checked = {"RadioButton9", "RadioButton17", "RadioButton2", "RadioButton4",
                                           "CheckBox1"};
    // clang-format on
    TempDir dir;
    MemoryInputs saved = MemoryInputs::afterStartup();
    for (const auto& [name, text] : set)
        saved.setText(name, text);
    for (const auto& name : checked)
        saved.setChecked(name, true);
    SaveSettings(saved, dir / "Config.ini");

    // Into a window as constructed: its initial radio buttons and "单位" must not survive.
    MemoryInputs loaded = MemoryInputs::constructed();
    LoadSettings(loaded, dir / "Config.ini");
    expectInputs(loaded, readBack, checked, "0");
    EXPECT_EQ(loaded.itemIndex("ComboBox4"), 1);

    // No file: every text empty and every button clear.
    LoadSettings(loaded, dir / "none.ini");
    expectInputs(loaded, {}, {}, "");
}

TEST(Settings, WritesAndReadsTheWindowsProgramsBytes) {
    TempDir dir;
    SaveSettings(MemoryInputs::afterStartup(), dir / "Config.ini");
    // [FrmMainPro] byte for byte as the Windows program writes it; the page's own section after it.
    EXPECT_EQ(readBytes(dir / "Config.ini"), fixture("fresh_config.ini") + test::kFreshKelvoraSection);

    const std::string windows = fixture("windows_config.ini");
    writeBytes(dir / "Config.ini", windows);
    MemoryInputs inputs = MemoryInputs::afterStartup();
    LoadSettings(inputs, dir / "Config.ini");
    EXPECT_EQ(inputs.text("Edit1"), "2000");
    EXPECT_EQ(inputs.text("Edit42"), "罐长");
    EXPECT_EQ(inputs.text("ComboBox1"), "g/cm^3");
    EXPECT_EQ(inputs.itemIndex("ComboBox4"), 1);
    EXPECT_TRUE(inputs.checked("CheckBox1") && inputs.checked("RadioButton4") &&
                !inputs.checked("RadioButton3"));
    SaveSettings(inputs, dir / "Config.ini");
    EXPECT_EQ(readBytes(dir / "Config.ini"), windows + test::kFreshKelvoraSection);
}

TEST(Settings, ReadsAHandEditedFileAndKeepsItsOtherLines) {
    TempDir dir;
    writeBytes(dir / "Config.ini", fixture("hand_edited_config.ini"));
    MemoryInputs inputs = MemoryInputs::constructed();
    LoadSettings(inputs, dir / "Config.ini");
    expectInputs(inputs,
                 {{"Edit10", "1200"},
                  {"Edit11", "  300 "},
                  {"Edit12", " 7"},
                  {"Edit14", "\"8'"},
                  {"Edit37", "abc"},
                  {"ComboBox1", "g/cm^3"},
                  {"Edit42", "罐体长度"},
                  {"Edit13", ""}},
                 // RadioButton9 after RadioButton8 in one group; "-0" clears RadioButton4 alone.
                 {"RadioButton9", "RadioButton3", "RadioButton1", "CheckBox1", "RadioButton17"}, "");

    SaveSettings(inputs, dir / "Config.ini");
    const std::string saved = readBytes(dir / "Config.ini");
    EXPECT_TRUE(saved.starts_with("; edited by hand\n[Other]\nEdit10=999\n\n[frmmainpro]\nedit10=1200\r\n"));
    // New keys, headers first, go after the section's last key line, before its blank line.
    EXPECT_NE(saved.find("Edit13=0\r\n\xB3\xCC\xD0\xF2\xB0\xE6\xB1\xBE=2017\r\n"), std::string::npos);
    EXPECT_TRUE(saved.ends_with("ComboBox2=0\r\n\n[Tail]\nEdit8=77\n[FrmMainPro]\nEdit9=5\r\n" + test::kFreshKelvoraSection));
    MemoryInputs again = MemoryInputs::constructed();
    LoadSettings(again, dir / "Config.ini");
    EXPECT_TRUE(again.checked("RadioButton9") && !again.checked("RadioButton8"));
}

// The page's inputs live in [Kelvora]: every kind round-trips, texts exactly (blanks at the
// ends and enclosing quotes included), and the 72 inputs' section does not change for them.
TEST(Settings, PageInputsRoundTripInTheirOwnSection) {
    struct Case {
        const char* name;
        const char* text; // nullptr: a check box, checked
    };
    const Case cases[] = {
        {"TankNumber", "T-07"},          {"TankOwner", "  某某石油公司 油库 "}, {"LevelForValue", "20000"},
        {"LevelForMode", "百分比"},      {"LevelForResult", "'1234.5'"},        {"ExactGeometry", nullptr},
    };
    TempDir dir;
    MemoryInputs plain = MemoryInputs::afterStartup();
    SaveSettings(plain, dir / "plain.ini");
    MemoryInputs saved = MemoryInputs::afterStartup();
    for (const auto& c : cases) {
        if (c.text) saved.setText(c.name, c.text);
        else saved.setChecked(c.name, true);
    }
    SaveSettings(saved, dir / "Config.ini");
    const std::string bytes = readBytes(dir / "Config.ini");
    EXPECT_TRUE(bytes.starts_with(fixture("fresh_config.ini") + "[Kelvora]\r\n"));
    EXPECT_NE(bytes.find("\r\nTankNumber=T-07\r\n"), std::string::npos);

    MemoryInputs loaded = MemoryInputs::constructed();
    LoadSettings(loaded, dir / "Config.ini");
    for (const auto& c : cases) {
        if (c.text) {
            EXPECT_EQ(loaded.text(c.name), c.text) << c.name;
        } else {
            EXPECT_TRUE(loaded.checked(c.name)) << c.name;
        }
    }

    // A file without [Kelvora] (the Windows program's) loads the 72 as before and leaves
    // the page's inputs as they are.
    writeBytes(dir / "Config.ini", fixture("windows_config.ini"));
    LoadSettings(loaded, dir / "Config.ini");
    EXPECT_EQ(loaded.text("Edit1"), "2000");
    EXPECT_EQ(loaded.text("TankNumber"), "T-07");
    EXPECT_TRUE(loaded.checked("ExactGeometry"));
}

TEST(Settings, AFailedSaveLeavesTheOldFile) {
    TempDir dir;
    const MemoryInputs inputs = MemoryInputs::afterStartup();
    fs::create_directory(dir / "Config.ini"); // cannot be read, so not updated
    EXPECT_THROW(SaveSettings(inputs, dir / "Config.ini"), IoError);
    EXPECT_TRUE(fs::is_directory(dir / "Config.ini"));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"Config.ini"});
}

// Whatever the file around the settings, the inputs are saved and a file this program
// wrote loads back whole: when the update would not, the old file is kept as
// Config.ini.bak and the new one holds the program's own sections alone.
TEST(Settings, TheInputsAreSavedAndLoadBackWholeWhateverTheFileAroundThem) {
    struct Case { const char* what; std::string head; std::size_t size; bool keptAside; };
    const std::string ownSection = "[FrmMainPro]\r\nEdit1=1\r\n";
    const Case cases[] = {
        {"no section, room to spare", "[Other]\r\n", ProfileFile::kMaxBytes - 100000, false},
        {"no section, just under the ceiling", "[Other]\r\n", ProfileFile::kMaxBytes - 100, true},
        {"section first, just under the ceiling", ownSection, ProfileFile::kMaxBytes - 100, true},
        {"section first, room to spare", ownSection, ProfileFile::kMaxBytes - 100000, false},
        {"section first, over the ceiling", ownSection, ProfileFile::kMaxBytes + 100, true},
    };
    MemoryInputs inputs = MemoryInputs::afterStartup();
    std::map<std::string, std::string> texts;
    for (const auto& input : capacity::inputTable())
        if (!isToggle(input.kind) && input.kind != InputKind::PickList) {
            texts[std::string(input.name)] = "7" + std::string(input.name);
            inputs.setText(input.name, texts[std::string(input.name)]);
        }
    inputs.setChecked("RadioButton2", true);
    for (const auto& c : cases) {
        TempDir dir;
        std::string bytes = c.head;
        while (bytes.size() < c.size)
            bytes.append(";" + std::string(std::min<std::size_t>(78, c.size - bytes.size() + 1), '-') + "\r\n");
        bytes.resize(c.size);
        writeBytes(dir / "Config.ini", bytes);

        const fs::path backup = SaveSettings(inputs, dir / "Config.ini");
        EXPECT_EQ(backup.empty(), !c.keptAside) << c.what;
        if (c.keptAside) {
            EXPECT_EQ(backup, dir / "Config.ini.bak") << c.what;
            EXPECT_TRUE(readBytes(backup) == bytes) << c.what << ": the old file was not kept whole";
            EXPECT_EQ(readBytes(dir / "Config.ini").find(";-"), std::string::npos) << c.what;
        }
        EXPECT_LE(readBytes(dir / "Config.ini").size(), ProfileFile::kMaxBytes) << c.what;
        MemoryInputs loaded = MemoryInputs::constructed();
        LoadSettings(loaded, dir / "Config.ini");
        for (const auto& [name, text] : texts)
            EXPECT_EQ(loaded.text(name), text) << c.what << ": " << name;
        EXPECT_TRUE(loaded.checked("RadioButton2")) << c.what;
    }
}

} // namespace
} // namespace kelvora::persist
