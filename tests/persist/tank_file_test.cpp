// Tank files: every input through a file and back, the same rows as the same inputs by
// component names, and files a person or a damaged disk may hand over.

#include "persist/tank_file.h"

#include "../capacity/fixture.h"
#include "capacity/calibration_grid.h"
#include "capacity/head_components.h"
#include "capacity/memory_inputs.h"
#include "capacity/page_inputs.h"
#include "capacity/requests.h"
#include "persist_test_util.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using kelvora::capacity::InputKind;
using kelvora::capacity::MemoryInputs;
namespace capacity = kelvora::capacity;
namespace persist = kelvora::persist;
using persist::test::TempDir;
using persist::test::writeBytes;

bool isHeadField(std::string_view name) {
    for (const auto& head : capacity::headComponents())
        for (const auto* side : {&head.left, &head.right})
            for (const auto& field : side->fieldList())
                if (field.edit == name) return true;
    return false;
}

// Every input given, a different value each, of the heads only the chosen shapes' fields;
// Edit36 is the quick calculation's answer, not an input of the tank.
MemoryInputs everyInput(int page, const capacity::HeadComponents& left, const capacity::HeadComponents& right,
                        bool second) {
    MemoryInputs in = MemoryInputs::afterStartup();
    int n = 1;
    for (const auto& input : capacity::inputTable())
        if (input.kind == InputKind::Edit && !isHeadField(input.name) && input.name != "Edit36")
            in.setText(input.name, std::to_string(n++) + ".5");
    for (const auto* field : {&left.left, &right.right})
        for (const auto& f : field->fieldList())
            in.setText(f.edit, std::to_string(n++));
    in.setActivePage(page);
    in.setChecked(second ? "RadioButton2" : "RadioButton1", true);
    in.setChecked(second ? "RadioButton4" : "RadioButton3", true);
    in.setChecked(left.left.radio, true);
    in.setChecked(right.right.radio, true);
    in.setItemIndex("ComboBox3", second ? 1 : 0);
    in.setItemIndex("ComboBox4", second ? 0 : 1);
    in.setChecked("CheckBox1", second);
    in.setText("ComboBox1", second ? "g/cm^3" : "Kg/m^3");
    in.setChecked("ExactGeometry", !second);
    in.setText("TankNumber", second ? " T 07 " : "\"T-07\"");
    in.setText("TankOwner", "油库 # 3 = 南");
    in.setText("ComboBox2", second ? "3" : "12");
    capacity::applyPointCount(in);
    for (int row = 1; row <= (second ? 3 : 12); ++row) {
        in.grid().setCell(1, row, std::to_string(row * 100));
        in.grid().setCell(2, row, row == 2 ? "" : std::to_string(row * 7) + ".25");
    }
    return in;
}

void expectSameInputs(const MemoryInputs& a, const MemoryInputs& b, const std::string& what) {
    for (auto table : {capacity::inputTable(), capacity::pageInputTable()})
        for (const auto& input : table) {
            EXPECT_EQ(a.text(input.name), b.text(input.name)) << what << ' ' << input.name;
            EXPECT_EQ(a.checked(input.name), b.checked(input.name)) << what << ' ' << input.name;
            EXPECT_EQ(a.itemIndex(input.name), b.itemIndex(input.name)) << what << ' ' << input.name;
        }
    EXPECT_EQ(a.activePage(), b.activePage()) << what;
    for (int row = 1; row <= 200; ++row)
        for (int col = 1; col <= 2; ++col)
            EXPECT_EQ(a.grid().cell(col, row), b.grid().cell(col, row)) << what;
}

TEST(TankFile, EveryInputRoundTrips) {
    TempDir dir;
    const auto heads = capacity::headComponents();
    for (int page = 0; page < 4; ++page)
        for (std::size_t s = 0; s < heads.size(); ++s)
            for (bool second : {false, true}) {
                const MemoryInputs written =
                    everyInput(page, heads[s], heads[(s + 3) % heads.size()], second);
                persist::saveTankFile(dir / "t.tank", written);
                MemoryInputs read = MemoryInputs::constructed(); // loading resets whatever was there
                read.setText("Edit24", "stale");
                persist::loadTankFile(dir / "t.tank", read);
                expectSameInputs(written, read,
                                 std::to_string(page) + std::string(heads[s].word) + (second ? "2" : "1"));
            }
}

std::string outcomeOf(MemoryInputs& in) {
    capacity::RowList rows;
    std::string text;
    try {
        text = capacity::GenerateCapacityTable(in, rows).message;
    } catch (const std::exception& e) {
        text = e.what();
    }
    for (std::size_t i = 0; i < rows.size(); ++i)
        text.append("|").append(rows[i]);
    return text;
}

TEST(TankFile, SameRowsAsComponentNames) {
    using kelvora::test::set;
    struct Shape {
        std::string_view word;
        kelvora::test::Assignments left, right;
    };
    const Shape shapes[] = {
        {"ellipsoidal", {{"Edit21", "40"}, {"Edit22", "540"}}, {{"Edit10", "40"}, {"Edit11", "540"}}},
        {"cone", {{"Edit23", "40"}, {"Edit24", "440"}}, {{"Edit12", "40"}, {"Edit14", "440"}}},
        {"frustum",
         {{"Edit25", "40"}, {"Edit26", "440"}, {"Edit28", "1000"}},
         {{"Edit15", "40"}, {"Edit16", "440"}, {"Edit18", "1000"}}},
        {"cap", {{"Edit27", "300"}}, {{"Edit17", "300"}}},
        {"dished", {{"Edit19", "40"}}, {{"Edit20", "40"}}},
        {"dished_custom",
         {{"Edit38", "40"}, {"Edit43", "540"}, {"Edit44", "2000"}},
         {{"Edit45", "40"}, {"Edit46", "540"}, {"Edit47", "2000"}}},
        {"hemisphere", {}, {}},
        {"flat", {}, {}},
    };
    TempDir dir;
    int produced = 0;
    for (int page = 0; page < 4; ++page)
        for (const auto& shape : shapes) {
            MemoryInputs in = kelvora::test::circularTank({{"Edit29", "1"},
                                                           {"Edit30", "0.5"},
                                                           {"Edit39", "2500"},
                                                           {"Edit40", "2000"},
                                                           {"Edit41", "2000"},
                                                           {"Edit42", "5000"},
                                                           {"Edit34", "2000"},
                                                           {"RadioButton4", "1"}});
            in.setActivePage(page);
            for (const auto& head : capacity::headComponents())
                if (head.word == shape.word)
                    in.setChecked(head.left.radio, true), in.setChecked(head.right.radio, true);
            set(in, shape.left);
            set(in, shape.right);
            if (page == 3)
                for (int row = 1; row <= 8; ++row) {
                    in.grid().setCell(1, row, std::to_string(row * 250));
                    in.grid().setCell(2, row, std::to_string(row * row * 100));
                }
            const std::string expected = outcomeOf(in);
            persist::saveTankFile(dir / "t.tank", in);
            MemoryInputs read = MemoryInputs::afterStartup();
            persist::loadTankFile(dir / "t.tank", read);
            EXPECT_EQ(outcomeOf(read), expected) << page << ' ' << shape.word;
            produced += expected.find('|') != std::string::npos;
        }
    EXPECT_GE(produced, 24); // most cases make a table, not a message
}

TEST(TankFile, HostileFiles) {
    struct Case {
        std::string bytes;
        int line;
    }; // line 0: taken
    const Case cases[] = {
        {"# Kelvora tank file, version 1\nD = 2000\n", 0},
        {"\xEF\xBB\xBFstructure = sphere\r\nsphere.D = 2000\r\n", 0},
        {"D = \"  2000 \"\nowner=a=b\n  # comment\n\n", 0},
        {"# Kelvora tank file, version 2\nD = 1\n", 1},
        {"D = 1\nL = \xFF\xFE\n", 2},
        {"D = 1\nL = \xE4\xB8\n", 2},
        {"D = 1\n\nL = 2\x01\n", 3},
        {"D = 1\nL = 2\rowner = x\n", 2},
        {"D 2000\n", 1},
        {"D = 1\ndiameter = 2\n", 2},
        {"D = 1\nD = 2\n", 2},
        {"section = square\n", 1},
        {"left.h = 500\n", 1},
        {"left.shape = cone\nleft.H = 500\n", 2},
        {"point = 1\n", 1},
        {"point = 1,2\n", 1},
        {"Edit21 = 5\nRadioButton1 = yes\n", 2},
        {"weight = 1\n", 1},
        {"D = 1\nComboBox4=\n", 2},
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeBytes(dir / "h.tank", c.bytes);
        MemoryInputs in = kelvora::test::circularTank();
        const MemoryInputs before = in;
        try {
            persist::loadTankFile(dir / "h.tank", in);
            EXPECT_EQ(c.line, 0) << c.bytes;
        } catch (const persist::TankFileError& e) {
            EXPECT_NE(std::string(e.what()).find("第" + std::to_string(c.line) + "行"), std::string::npos)
                << c.bytes << " → " << e.what();
            expectSameInputs(before, in, c.bytes);
        }
    }
    std::string points;
    for (int i = 0; i < 201; ++i)
        points += "point = " + std::to_string(i) + ",1\n";
    writeBytes(dir / "p.tank", points);
    MemoryInputs in = MemoryInputs::afterStartup();
    EXPECT_THROW(persist::loadTankFile(dir / "p.tank", in), persist::TankFileError);
    writeBytes(dir / "big.tank", std::string(persist::kMaxTankFileBytes + 1, '#'));
    EXPECT_THROW(persist::loadTankFile(dir / "big.tank", in), persist::TankFileError);
    EXPECT_THROW(persist::loadTankFile(dir / "none.tank", in), kelvora::IoError);
    EXPECT_THROW(persist::loadTankFile(dir.path(), in), kelvora::IoError);
}

} // namespace
