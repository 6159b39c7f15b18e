// Tank files read back what was saved and say what they leave out: control characters in
// a text, a file saved in GBK, a file cut short, a text where a number belongs.

#include "persist/tank_file.h"

#include "../capacity/fixture.h"
#include "capacity/memory_inputs.h"
#include "persist/gbk_text.h"
#include "persist_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using kelvora::capacity::MemoryInputs;
namespace persist = kelvora::persist;
using persist::test::TempDir;
using persist::test::writeBytes;

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(TankFileReading, ControlCharactersAreSavedAsBlanks) {
    struct Case {
        const char* typed;
        const char* loaded;
    };
    const Case cases[] = {
        {"T\x01"
         "07",
         "T 07"},
        {"T\x7F"
         "07",
         "T 07"},
        {"a\tb", "a b"},
        {"a\r\nb", "a  b"},
        {"x\xC2\x85y", "x y"},
        {"油库\x1B南", "油库 南"},
        {"\x02T-07\x03", "\" T-07 \""}, // blanks at the ends are kept by the quotes
    };
    TempDir dir;
    for (const auto& c : cases) {
        MemoryInputs written = kelvora::test::circularTank();
        written.setText("TankNumber", c.typed);
        written.setText("TankOwner", c.typed);
        persist::saveTankFile(dir / "c.tank", written);
        MemoryInputs read = MemoryInputs::afterStartup();
        ASSERT_NO_THROW(persist::loadTankFile(dir / "c.tank", read)) << c.typed;
        std::string expected = c.loaded;
        if (expected.front() == '"') expected = expected.substr(1, expected.size() - 2);
        EXPECT_EQ(read.text("TankNumber"), expected) << c.typed;
        EXPECT_EQ(read.text("TankOwner"), expected) << c.typed;
    }
}

TEST(TankFileReading, GbkFileIsRead) {
    struct Case {
        std::string bytes;
        int refusedLine; // 0: taken
        const char* owner;
    };
    const std::string gbkOwner = persist::utf8ToGbk("某某油库");
    const Case cases[] = {
        {"structure = horizontal\r\nD = 2000\r\nowner = " + gbkOwner + "\r\n", 0, "某某油库"},
        {"# " + persist::utf8ToGbk("罐文件") + "\nowner = " + gbkOwner + "\n", 0, "某某油库"},
        {"D = 2000\nowner = " + gbkOwner + "\nL = \x80\n", 3, ""}, // 0x80 is no GBK character
        {"owner = " + gbkOwner + "\nL = " + persist::utf8ToGbk("八千") + "\n", 2, ""},
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeBytes(dir / "g.tank", c.bytes);
        MemoryInputs in = MemoryInputs::afterStartup();
        try {
            persist::loadTankFile(dir / "g.tank", in);
            EXPECT_EQ(c.refusedLine, 0) << c.bytes;
            EXPECT_EQ(in.text("TankOwner"), c.owner);
        } catch (const persist::TankFileError& e) {
            EXPECT_NE(std::string(e.what()).find("第" + std::to_string(c.refusedLine) + "行"),
                      std::string::npos)
                << e.what();
        }
    }
}

TEST(TankFileReading, InputsLeftOutAreNamed) {
    MemoryInputs full = kelvora::test::circularTank({{"TankNumber", "T-07"}, {"CertificateNumber", "C-1"}});
    const std::string text = persist::tankFileText(full);
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> leftOut, given;
    };
    // The first 30 lines of a saved file: the later inputs come from their defaults.
    std::string cut;
    for (std::size_t i = 0, lines = 0; i < text.size() && lines < 30; ++i) {
        cut.push_back(text[i]);
        lines += text[i] == '\n';
    }
    const Case cases[] = {
        {"saved whole", text, {}, {"D", "tank_number"}},
        {"cut at line 30",
         cut,
         {"tank_number", "certificate", "exact", "u.level"},
         {"D", "structure", "left.shape"}},
        {"component names",
         "Edit1 = 2000\nRadioButton1 = 1\nTankNumber = 7\n",
         {"L", "owner"},
         {"D", "section", "tank_number"}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeBytes(dir / "m.tank", c.bytes);
        MemoryInputs in = MemoryInputs::afterStartup();
        const std::vector<std::string> left = persist::loadTankFile(dir / "m.tank", in);
        if (c.leftOut.empty()) {
            EXPECT_TRUE(left.empty()) << c.name << ": " << persist::defaultsNote(left);
        }
        for (const auto& name : c.leftOut)
            EXPECT_TRUE(contains(left, name)) << c.name << ": " << name;
        for (const auto& name : c.given)
            EXPECT_FALSE(contains(left, name)) << c.name << ": " << name;
        const std::string note = persist::defaultsNote(left);
        EXPECT_EQ(note.empty(), left.empty()) << c.name;
        if (!left.empty()) {
            EXPECT_EQ(note.rfind("罐文件没有给出，按默认值：", 0), 0u) << note;
        }
    }
}

TEST(TankFileReading, TextWhereANumberBelongsIsRefused) {
    struct Case {
        const char* bytes;
        int line; // 0: taken
    };
    const Case cases[] = {
        {"structure = inclined\ninclined.L = 八千\n", 2},
        {"D = 2000\nEdit42 = 8000mm\n", 2},
        {"left.shape = cone\nleft.H = 1e3x\n", 2},
        {"u.level = abc\n", 1},
        {"D = \nL = 8000\nowner = 八千\ncertificate = 八\nvalid_until = 2027-01-01\n", 0},
        {"D = 2E3\nL = -5\n", 0},
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeBytes(dir / "n.tank", c.bytes);
        MemoryInputs in = MemoryInputs::afterStartup();
        try {
            persist::loadTankFile(dir / "n.tank", in);
            EXPECT_EQ(c.line, 0) << c.bytes;
        } catch (const persist::TankFileError& e) {
            EXPECT_NE(std::string(e.what()).find("第" + std::to_string(c.line) + "行"), std::string::npos)
                << c.bytes << " → " << e.what();
            EXPECT_NE(c.line, 0) << c.bytes << " → " << e.what();
        }
    }
}

} // namespace
