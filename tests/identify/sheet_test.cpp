#include "identify/records.h"
#include "identify/sheet.h"

#include "capacity/row_list.h"
#include "kernel/errors.h"
#include "output/workbook_export.h"
#include "persist/gbk_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace kelvora::identify {
namespace {

namespace fs = std::filesystem;

fs::path scratch(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("kelvora_sheet_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir / name;
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

Records recordsOf(const fs::path& path) {
    const Sheet sheet = readSheet(path);
    ColumnNames names;
    names.level = "高度cm";
    names.cumulativeIn = "容积L";
    return extractRecords(sheet, chooseColumns(sheet.heading, names));
}

TEST(ReadSheet, TheSameRecordsReadAlikeFromEveryForm) {
    // The workbook writers put a title above the headings "高度cm" and "容积L"; the text
    // files carry the same title and cells. With a row of text where a number belongs
    // every form refuses it alike, naming the row counted from the heading.
    for (const bool bad : {false, true}) {
        capacity::RowList rows;
        std::string csv = "油罐记录\n高度cm,容积L\n";
        for (int i = 0; i < 120; ++i) {
            const std::string row =
                std::to_string(1800 - 13 * i) + ".25," + std::to_string(100000 - 391 * i) + ".5";
            rows.append(row);
            csv += row + "\n";
        }
        if (bad) {
            rows.append("缺,12");
            csv += "缺,12\n";
        }
        const fs::path xls = scratch("r.xls"), xlsx = scratch("r.xlsx"), utf8 = scratch("r.csv"),
                       gbk = scratch("g.csv");
        output::SaveFileToExcel(xls.string(), rows, "1000", false);
        output::SaveFileToExcel(xlsx.string(), rows, "1000", false);
        writeBytes(utf8, "\xEF\xBB\xBF" + csv);
        std::string semicolons = csv;
        for (char& c : semicolons)
            if (c == ',') c = ';';
        writeBytes(gbk, persist::utf8ToGbk(semicolons));

        for (const fs::path& path : {utf8, xls, xlsx, gbk}) {
            if (bad) {
                try {
                    recordsOf(path);
                    ADD_FAILURE() << path;
                } catch (const RecordsRefusal& e) {
                    EXPECT_STREQ(e.what(), "记录文件第 122 行“高度cm”列的“缺”不是数！") << path;
                }
                continue;
            }
            const Records r = recordsOf(path);
            ASSERT_EQ(r.level.size(), 120u) << path;
            EXPECT_EQ(r.skipped, 0u) << path;
            EXPECT_EQ(r.level[1], 1787.25) << path;
            EXPECT_EQ(r.net[1], 99609.5) << path;
            EXPECT_EQ(r.line[1], 3u) << path;
        }
        fs::remove_all(xls.parent_path());
    }
}

TEST(ReadSheet, TheWorkbooksFirstSheetWithSharedStringsAndFormulas) {
    // The first sheet is the one its relationship names, not sheet1.xml; headings and a
    // level stored as shared strings (one in runs, with a phonetic run left out); a
    // formula counts by the value the file holds for it. Rows are numbered from the
    // heading's row as 1.
    const Sheet sheet = readSheet(fs::path(KELVORA_TEST_DATA) / "identify" / "formula.xlsx");
    ASSERT_EQ(sheet.heading, (std::vector<std::string>{"", "显示油高/mm", "出油量/L"}));
    const Records r = extractRecords(sheet, chooseColumns(sheet.heading));
    EXPECT_EQ(r.level, (std::vector<double>{1500, 1490.5, 1480.5, 1470}));
    EXPECT_EQ(r.net, (std::vector<double>{-10, -22.5, -29.5, -29.5}));
    EXPECT_EQ(r.skipped, 0u);
    EXPECT_EQ(sheet.lines, (std::vector<std::size_t>{2, 3, 6, 7}));
}

TEST(ReadSheet, QuotedFieldsAndSeparators) {
    const Sheet sheet =
        parseCsv("a\t\"b\tc\"\t\"say \"\"x\"\"\"\r\n1\t\"2\"\t\r\n\r\n3\t\t\"line\nbreak\"\n");
    ASSERT_EQ(sheet.heading, (std::vector<std::string>{"a", "b\tc", "say \"x\""}));
    ASSERT_EQ(sheet.rowCount(), 2u);
    EXPECT_EQ(sheet.cell(0, 1).kind, Cell::Kind::Number);
    EXPECT_EQ(sheet.cell(0, 1).number, 2);
    EXPECT_EQ(sheet.cell(0, 2).kind, Cell::Kind::Empty);
    EXPECT_EQ(sheet.cell(1, 2).text, "line\nbreak");
    EXPECT_EQ(sheet.row(1).size(), 3u);
    EXPECT_EQ(sheet.lines[1], 4u);
    EXPECT_EQ(sheet.emptyRows, 1u);
}

TEST(ReadSheet, TheSeparatorOfTheHeadingNotOfATitle) {
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"comma", "显示油高/mm,出油量/L\n1500,10\n"},
        {"semicolon", "显示油高/mm;出油量/L\n1500;10\n"},
        {"tab", "显示油高/mm\t出油量/L\n1500\t10\n"},
        {"a title above a tab heading", "一号站 2号罐\n显示油高/mm\t出油量/L\n1500\t10\n"},
        {"a title with a comma above a semicolon heading",
         "一号站, 2号罐\n时间;显示油高/mm;出油量/L\n1;1500;10\n"},
        {"a byte-order mark", "\xEF\xBB\xBF显示油高/mm,出油量/L\n1500,10\n"},
    };
    for (const Case& c : cases) {
        const Sheet sheet = parseCsv(c.text);
        ASSERT_EQ(sheet.heading.back(), "出油量/L") << c.what;
        ASSERT_EQ(sheet.rowCount(), 1u) << c.what;
        EXPECT_EQ(sheet.cell(0, sheet.heading.size() - 1).number, 10) << c.what;
        EXPECT_EQ(sheet.lines[0], 2u) << c.what;
    }
}

TEST(ReadSheet, HostileFilesEndInAMessage) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string message;
    };
    std::string wide = "a,b\n1,2\n";
    for (int i = 0; i < 300; ++i)
        wide += "x,";
    std::string manyRows = "a,b\n";
    for (std::size_t i = 0; i <= kMaxRecords + 1; ++i)
        manyRows += "1\n";
    const fs::path data = fs::path(KELVORA_TEST_DATA) / "identify";
    auto fileBytes = [](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const Case cases[] = {
        {"ragged row", "a,b\n1,2\n3,4,5\n", raggedRowMessage(3)},
        {"ragged row under a title", "title\na,b\n1,2\n3,4,5\n", raggedRowMessage(3)},
        {"open quote", "a,b\n\"1,2\n", messages::kQuote},
        {"no heading", "\n  \n", messages::kNoHeading},
        {"not UTF-8 nor GBK", "a,b\n\x80\xFF,1\n", encodingMessage(2)},
        {"UTF-16",
         std::string("\xFF\xFE"
                     "a\0,\0b\0",
                     8),
         encodingMessage(1)},
        {"too many columns", wide, messages::kTooManyColumns},
        {"too many rows", manyRows, messages::kTooManyRows},
        {"broken workbook", std::string("PK\x03\x04garbage", 11), messages::kWorkbook},
        {"broken xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 garbage", 17), messages::kWorkbook},
        {"an xls that crashes its library", fileBytes(data / "crashing.xls"), messages::kWorkbook},
        {"XML nested 100000 deep", fileBytes(data / "deep.xlsx"), messages::kTooDeep},
        {"a shared string over 1 MiB", fileBytes(data / "long_shared_string.xlsx"), messages::kTooLongText},
    };
    for (const Case& c : cases) {
        const fs::path path = scratch("hostile");
        writeBytes(path, c.bytes);
        try {
            readSheet(path);
            ADD_FAILURE() << c.what;
        } catch (const IoError& e) {
            EXPECT_EQ(e.what(), c.message) << c.what;
        }
    }
    const fs::path huge = scratch("huge.csv");
    writeBytes(huge, "");
    fs::resize_file(huge, kMaxFileBytes + 1);
    EXPECT_THROW(readSheet(huge), IoError);
    EXPECT_THROW(readSheet(scratch("missing.csv")), IoError);
    fs::remove_all(huge.parent_path());
}

} // namespace
} // namespace kelvora::identify
