// A tank number as a file name's stem: what the register names its tables by and the window
// proposes for the document and the tank file.

#include "persist/file_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    std::string number, name;
};

std::string times(const std::string& text, int n) {
    std::string s;
    for (int i = 0; i < n; ++i)
        s += text;
    return s;
}

TEST(SafeFileName, ReplacesWhatNoDesktopTakes) {
    const Case cases[] = {
        {"3号罐", "3号罐"},
        {"T-07", "T-07"},
        {"", ""},
        {"A/B\\C", "A_B_C"},
        {"a:b*c?d\"e<f>g|h", "a_b_c_d_e_f_g_h"},
        {"tab\there", "tab_here"},
        {"line\nbreak\r", "line_break_"},
        {std::string("del\x7F"), "del_"},
        {".hidden", "_hidden"},
        {"..", "_."},
        {"a.b", "a.b"},
        {" 罐 1 ", " 罐 1 "},
        {std::string(130, 'x'), std::string(120, 'x')},
        // 40 three-byte characters are 120 bytes; the 41st is left out whole, not split.
        {times("罐", 41), times("罐", 40)},
        {"x" + times("罐", 41), "x" + times("罐", 39)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kelvora::persist::safeFileName(c.number), c.name) << c.number;
}

struct Proposal {
    std::string number, kind, unnamed, name;
};

TEST(ProposedFileName, NamesTheTankWhenItHasANumber) {
    const Proposal cases[] = {
        {"3号罐", "油罐容积表", "", "3号罐 油罐容积表"},
        {"3号罐", "", "油罐", "3号罐"},
        {"", "油罐容积表", "", "油罐容积表"},
        {"", "", "油罐", "油罐"},
        {"  \t ", "油罐容积表", "", "油罐容积表"},
        {" T/07 ", "油罐容积表", "", "T_07 油罐容积表"},
        {"a:b", "", "油罐", "a_b"},
        {".罐", "", "油罐", "_罐"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kelvora::persist::proposedFileName(c.number, c.kind, c.unnamed), c.name) << c.number;
}

} // namespace
