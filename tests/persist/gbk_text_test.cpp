#include "persist/gbk_text.h"

#include <gtest/gtest.h>

namespace kelvora::persist {
namespace {

struct Case {
    const char* from;
    const char* to;
};

TEST(GbkText, ConvertsTheProgramsTextsBothWays) {
    // clang-format off
    const Case cases[] = {
        {"", ""},
        {"Edit10=0", "Edit10=0"},
        {"程序版本", "\xB3\xCC\xD0\xF2\xB0\xE6\xB1\xBE"},
        {"高度 mm", "\xB8\xDF\xB6\xC8 mm"},
        {"€", "\x80"}, // the one single-byte character of code page 936 above ASCII
        {"·—―", "\xA1\xA4\xA1\xAA\xA8\x44"}, // where the Windows table differs from GB2312
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(utf8ToGbk(c.from), c.to) << c.from;
        EXPECT_EQ(gbkToUtf8(c.to), c.from) << c.from;
    }
}

TEST(GbkText, BrokenGbkBecomesReplacementCharactersAndTheRestSurvives) {
    // clang-format off
    const Case cases[] = {
        {"\xFF", "\uFFFD"},
        {"a\x81", "a\uFFFD"},                     // lead byte at the end of the file
        {"\x81\r\n1", "\uFFFD\r\n1"},             // the line end after a broken lead byte stays
        {"\x81\x7F", "\uFFFD\x7F"},               // 0x7F is no trail byte
        {"\xA6\xD9x", "\uFFFDx"},                 // a pair without a table entry is one character
        {"\xB3\xCC\xFF\xB0\xE6", "程\uFFFD版"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(gbkToUtf8(c.from), c.to) << c.from;
}

TEST(GbkText, TextWithoutGbkFormIsWrittenAsQuestionMarks) {
    // clang-format off
    const Case cases[] = {
        {"😀", "?"},
        {"aกb", "a?b"},
        {"\xC3(", "?("},          // malformed UTF-8: only the bad byte goes
        {"a\xE2\x82", "a??"},     // cut sequence
        {"\xED\xA0\x80", "???"},  // an encoded surrogate is no character
        {"罐\xF0\x9F\x98\x80长", "\xB9\xDE?\xB3\xA4"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(utf8ToGbk(c.from), c.to) << c.from;
}

} // namespace
} // namespace kelvora::persist
