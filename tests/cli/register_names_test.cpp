// The file names of a register's tanks and the key under which two names are one file.

#include "cli/register_names.h"

#include <gtest/gtest.h>

namespace {

using kelvora::cli::clashKey;
using kelvora::cli::safeFileName;

TEST(RegisterNames, UnsafeAndReservedNamesGetAnUnderscore) {
    struct Case {
        const char* number;
        const char* name;
    };
    const Case cases[] = {
        {"T-07", "T-07"},
        {"T/2", "T_2"},
        {"a\\b:c*d?e", "a_b_c_d_e"},
        {".hidden", "_hidden"},
        {"\"<|>\"", "_____"},
        {"a\tb\x7F", "a_b_"},
        {"CON", "CON_"},
        {"con", "con_"},
        {"Nul", "Nul_"},
        {"PRN.1", "PRN_.1"},
        {"aux.tar.gz", "aux_.tar.gz"},
        {"COM1", "COM1_"},
        {"lpt9", "lpt9_"},
        {"COM0", "COM0"},
        {"COM10", "COM10"},
        {"CONSOLE", "CONSOLE"},
        {"XCON", "XCON"},
        {"LPT", "LPT"},
        {"3号罐", "3号罐"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(safeFileName(c.number), c.name) << c.number;
    // Cut at 120 bytes, never inside a character.
    const std::string longName = safeFileName(std::string(119, 'a') + "罐");
    EXPECT_EQ(longName, std::string(119, 'a'));
}

TEST(RegisterNames, NamesThatAreOneFileShareTheirKey) {
    struct Case {
        const char* a;
        const char* b;
        bool clash;
    };
    const Case cases[] = {
        {"T-1.pdf", "t-1.PDF", true},
        {"Caf\xC3\xA9", "Cafe\xCC\x81", true}, // é composed and decomposed
        {"CAF\xC3\x89", "cafe\xCC\x81", true}, // and in either case
        {"\xE7\xBD\x90"
         "A",
         "\xE7\xBD\x90"
         "a",
         true}, // 罐A, 罐a
        {"T-1", "T-2", false},
        {"T-1", "T_1", false},
        {"\xEF\xBC\xA1", "A", false}, // a full-width letter is another name
    };
    for (const auto& c : cases)
        EXPECT_EQ(clashKey(c.a) == clashKey(c.b), c.clash) << c.a << " / " << c.b;
}

} // namespace
