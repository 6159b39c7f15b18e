#include "kernel/errors.h"

#include <gtest/gtest.h>

namespace {

using kelvora::errorReportText;

// A Chinese sentence already ends in its own full stop; only a text that ends in none
// gets the ASCII point.
TEST(ErrorReportText, AddsAPointOnlyWhereNoSentenceEnds) {
    struct Case {
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {"'abc' is not a valid floating point value", "'abc' is not a valid floating point value."},
        {"Floating point overflow.", "Floating point overflow."},
        {"文件格式不对。", "文件格式不对。"},
        {"呵呵，数据还没输完呢！", "呵呵，数据还没输完呢！"},
        {"文件是否已打开？", "文件是否已打开？"},
        {"不是正确的格式", "不是正确的格式."},
        {"", "."},
        // A comma or a closing quote ends no sentence.
        {"格式，", "格式，."},
        {"“格式。”", "“格式。”."},
        // A lone last byte of a multi-byte character is no full stop.
        {"\x82", "\x82."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorReportText(c.text), c.shown) << c.text;
}

} // namespace
