#include "persist/profile_file.h"

#include "persist/gbk_text.h"

#include <gtest/gtest.h>

namespace kelvora::persist {
namespace {

TEST(ProfileFile, ReadsLikeTheWindowsFunctions) {
    struct Case {
        std::string file;
        const char* key;
        std::optional<std::string> value;
    };
    const std::string s = "[S]\r\n";
    // clang-format off
    const Case cases[] = {
        {s + "k=v", "k", "v"},
        {"[S]\nk=v\n", "k", "v"},
        {"[s]\r\nK=v\r\n", "k", "v"},
        {"  [ S ] tail\r\n\t k \t=  v w  \r\n", "k", "v w"},
        {s + "k=\"  q \"", "k", "  q "},
        {s + "k='q'", "k", "q"},
        {s + "k=\"q'", "k", "\"q'"},
        {s + "k=\"", "k", "\""},
        {s + "k=a=b", "k", "a=b"},
        {s + "k", "k", ""},
        {s + "k=1\r\nk=2\r\n", "k", "1"},
        {s + "k=1\r\n[S]\r\nj=2\r\n", "j", std::nullopt},
        {s + ";k=1\r\n", "k", std::nullopt},
        {"k=1\r\n[T]\r\nk=1\r\n", "k", std::nullopt},
        {"[S\r\nk=1\r\n", "k", std::nullopt},
        {s + "\xB3\xCC\xD0\xF2=\xB9\xDE\xB3\xA4", "程序", "罐长"},
        {s + "\x81\x41=1", "\xE4\xB8\x84", "1"},            // GBK 0x8141
        {s + "\x81\x41=1", "\xE4\xB9\xA4", std::nullopt},   // GBK 0x8161: a trail byte is no letter
        {s + "k=" + std::string(3000, 'x'), "k", std::string(2047, 'x')},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(ProfileFile(c.file).read("S", c.key), c.value) << c.file.substr(0, 60);

    std::string chinese;
    for (int i = 0; i < 2047; ++i)
        chinese += "罐";
    EXPECT_EQ(ProfileFile(s + "k=" + utf8ToGbk(chinese + "长长")).read("S", "k"), chinese);
}

TEST(ProfileFile, WritesKeyByKeyLeavingOtherLinesAsTheyWere) {
    struct Case {
        std::string before;
        const char* key;
        const char* value;
        std::string after;
    };
    // clang-format off
    const Case cases[] = {
        {"", "k", "v", "[S]\r\nk=v\r\n"},
        {"[S]\nK=old\n[T]\nk=x\n", "k", "new", "[S]\nK=new\r\n[T]\nk=x\n"},
        {"[S]\r\na=1\r\n\r\n[T]\r\n", "b", "2", "[S]\r\na=1\r\nb=2\r\n\r\n[T]\r\n"},
        {"[T]\r\nx=1", "k", "v", "[T]\r\nx=1\r\n[S]\r\nk=v\r\n"},
        {"[s]\r\n;c\r\n", "k", "v", "[s]\r\nk=v\r\n;c\r\n"},
        {"[S]", "k", "v", "[S]\r\nk=v\r\n"},
        {"[S]\r\nk=1", "k", "2", "[S]\r\nk=2\r\n"},
        {"[S]\r\na=1\r", "k", "2", "[S]\r\na=1\r\nk=2\r\n"},
        {"[S]\r\na=1\r\nb=2", "a", "3", "[S]\r\na=3\r\nb=2"},
        {"[S]\r\n  k  = 1\r\nk=9\r\n", "K", "2", "[S]\r\nk=2\r\nk=9\r\n"},
        {"[S]\r\nk\r\n", "k", "1", "[S]\r\nk=1\r\n"},
        {"", "k", "a\r\nb", "[S]\r\nk=a  b\r\n"},
        {"[S]\r\n\x81\x41=1\r\n", "\xE4\xB9\xA4", "2", "[S]\r\n\x81\x41=1\r\n\x81\x61=2\r\n"},
        {"", "计算模块", "Kelvora", "[S]\r\n\xBC\xC6\xCB\xE3\xC4\xA3\xBF\xE9=Kelvora\r\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        ProfileFile file(c.before);
        file.write("S", c.key, c.value);
        EXPECT_EQ(file.bytes(), c.after) << c.before;
    }

    // A batch is the same as its keys one after another.
    const ProfileEntry batch[] = {{"a", "1"}, {"b", "2"}, {"A", "3"}, {"c", ""}};
    for (const auto& c : cases) {
        ProfileFile together(c.before), oneByOne(c.before);
        together.write("S", batch);
        for (const auto& e : batch)
            oneByOne.write("S", e.key, e.value);
        EXPECT_EQ(together.bytes(), oneByOne.bytes()) << c.before;
    }
}

} // namespace
} // namespace kelvora::persist
