// The CSV reader every text table shares: its separator from the heading line, its
// records, and text that is neither UTF-8 nor GBK refused naming the line.

#include "persist/csv_reader.h"

#include "persist/gbk_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvora::persist {
namespace {

using Records = std::vector<std::vector<std::string>>;

Records readAll(std::string_view text, std::vector<std::size_t>* lines = nullptr) {
    CsvReader reader(text, {});
    Records records;
    std::vector<CsvCell> cells;
    std::size_t line = 0;
    while (reader.next(cells, line)) {
        records.emplace_back();
        for (const auto& c : cells)
            records.back().push_back(c.text);
        if (lines) lines->push_back(line);
    }
    return records;
}

TEST(CsvReader, TheSeparatorComesFromTheHeadingLine) {
    struct Case {
        const char* what;
        std::string text;
        char separator;
    };
    const Case cases[] = {
        {"comma", "a,b,c\n1,2,3\n", ','},
        {"semicolon", "a;b;c\n1,5;2;3\n", ';'},
        {"tab", "a\tb\tc\n1,5\t2\t3\n", '\t'},
        {"a title without separators above a tab heading", "油罐记录\n时间\t液位\t出油量\n1\t2\t3\n", '\t'},
        {"a title holding a comma above a semicolon heading",
         "站名：一号站, 2号罐\n时间;液位;出油量\n1;2;3\n", ';'},
        {"a title holding a semicolon above a comma heading", "记录；说明;见附页\n时间,液位,出油量,进油量\n",
         ','},
        {"separators only inside quotes", "\"a,b\";c\n", ';'},
        {"one column", "tank_number\nT1\n", ','},
        {"nothing", "", ','},
        {"CR line ends", "x\ra\tb\r1\t2\r", '\t'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(separatorOf(c.text), c.separator) << c.what;
}

TEST(CsvReader, RecordsCellsAndLines) {
    std::vector<std::size_t> lines;
    const Records records =
        readAll("a;\"b;c\";\"say \"\"x\"\"\"\r\n1;  \"2\" ;\r\n\r\n3;;\"line\nbreak\"\r4;5;6", &lines);
    const Records expected{
        {"a", "b;c", "say \"x\""}, {"1", "2 ", ""}, {""}, {"3", "", "line\nbreak"}, {"4", "5", "6"}};
    EXPECT_EQ(records, expected);
    EXPECT_EQ(lines, (std::vector<std::size_t>{1, 2, 3, 4, 6}));
}

TEST(CsvReader, RefusesWhatCannotBeRead) {
    struct Case {
        const char* what;
        std::string text;
        CsvReader::Options options;
        CsvError::Kind kind;
        std::size_t line;
    };
    std::string wide = "a,b\n";
    for (int i = 0; i < 300; ++i)
        wide += "x,";
    const Case cases[] = {
        {"an open quote", "a,b\n1,2\n\"3,4\n", {}, CsvError::Kind::Quote, 3},
        {"a control character", "a,b\n1,\x01\n", {.refuseControl = true}, CsvError::Kind::Control, 2},
        {"more cells than the limit", wide, {}, CsvError::Kind::TooManyCells, 2},
    };
    for (const Case& c : cases) {
        try {
            CsvReader reader(c.text, c.options);
            std::vector<CsvCell> cells;
            std::size_t line = 0;
            while (reader.next(cells, line)) {
            }
            ADD_FAILURE() << c.what;
        } catch (const CsvError& e) {
            EXPECT_EQ(e.kind(), c.kind) << c.what;
            EXPECT_EQ(e.line(), c.line) << c.what;
        }
    }
}

TEST(CsvReader, DecodesUtf8OrGbkAndRefusesOtherText) {
    EXPECT_EQ(decodeUtf8OrGbk("\xEF\xBB\xBF油罐,1\n"), "油罐,1\n");
    EXPECT_EQ(decodeUtf8OrGbk(utf8ToGbk("罐号,容积\nT1,2\n")), "罐号,容积\nT1,2\n");
    EXPECT_EQ(decodeUtf8OrGbk("\xEF\xBF\xBD"), "\xEF\xBF\xBD"); // U+FFFD written as such is text
    struct Case {
        const char* what;
        std::string bytes;
        std::size_t line;
    };
    const Case cases[] = {
        {"bytes GBK has no character for", "a,b\n1,2\n\x80\xFF,1\n", 3},
        {"UTF-16",
         std::string("\xFF\xFE"
                     "a\0,\0b\0",
                     8),
         1},
        {"a NUL byte", std::string("a,b\n1,2\n3\0", 10), 3},
        {"not UTF-8 after a byte-order mark",
         "\xEF\xBB\xBF"
         "a\nb\n\xD3\xCD\n",
         3},
    };
    for (const Case& c : cases) {
        try {
            decodeUtf8OrGbk(c.bytes);
            ADD_FAILURE() << c.what;
        } catch (const CsvError& e) {
            EXPECT_EQ(e.kind(), CsvError::Kind::Encoding) << c.what;
            EXPECT_EQ(e.line(), c.line) << c.what;
        }
    }
}

} // namespace
} // namespace kelvora::persist
