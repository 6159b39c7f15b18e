// The capacity table as comma-separated text: the heading of the mode, the rows' own
// texts, and an old file kept when the save fails.
#include "output/csv_table.h"

#include "identify/sheet.h"
#include "kernel/errors.h"

#include "expected_sheet.h"
#include "output_test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvora::output {
namespace {

// UTF-8's byte-order mark, by which a spreadsheet on Chinese Windows reads the headings.
const std::string kBom = "\xEF\xBB\xBF";

TEST(CsvTableTest, HeadingAndRows) {
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        bool weight;
        std::string bytes;
    };
    const Case cases[] = {
        {"litres", {"0,0", "12.5,1234.5", "200,15707.96"}, false,
         "高度cm,容积L\r\n0,0\r\n12.5,1234.5\r\n200,15707.96\r\n"},
        {"kilograms", {"10,1020"}, true, "高度cm,重量Kg\r\n10,1020\r\n"},
        {"no rows", {}, false, "高度cm,容积L\r\n"},
        {"texts unchanged", {"1E15,-0.5", "3,1,2"}, false, "高度cm,容积L\r\n1E15,-0.5\r\n3,1,2\r\n"},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.path() + "/表.csv";
        test::writeFile(path, "old contents");
        saveCsvTable(path, test::rowList(c.rows), c.weight);
        EXPECT_EQ(test::readFile(path), kBom + c.bytes) << c.what;
    }
    // Larger than one written piece: every row arrives, in order.
    std::vector<std::string> many;
    std::string expected = kBom + "高度cm,容积L\r\n";
    for (int i = 0; i < 20000; ++i) {
        many.push_back(std::to_string(i) + "," + std::to_string(i * 7));
        expected += many.back() + "\r\n";
    }
    saveCsvTable(dir.path() + "/many.csv", test::rowList(many), false);
    EXPECT_EQ(test::readFile(dir.path() + "/many.csv"), expected);
}

// Kelvora's own reader takes the marked file back: the mark is no part of the first heading.
TEST(CsvTableTest, ReadBackByTheRecordsReader) {
    struct Case {
        std::vector<std::string> rows;
        bool weight;
        std::vector<std::string> heading;
    };
    const Case cases[] = {
        {{"0,0", "12.5,1234.5", "292.9,15707.96"}, false, {"高度cm", "容积L"}},
        {{"10,1020"}, true, {"高度cm", "重量Kg"}},
        {{}, false, {"高度cm", "容积L"}},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.path() + "/表.csv";
        saveCsvTable(path, test::rowList(c.rows), c.weight);
        const identify::Sheet sheet = identify::readSheet(path);
        EXPECT_EQ(sheet.heading, c.heading);
        ASSERT_EQ(sheet.rowCount(), c.rows.size());
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            const auto comma = c.rows[i].find(',');
            EXPECT_EQ(sheet.cell(i, 0).number, std::stod(c.rows[i].substr(0, comma)));
            EXPECT_EQ(sheet.cell(i, 1).number, std::stod(c.rows[i].substr(comma + 1)));
        }
    }
}

TEST(CsvTableTest, FailedSaveKeepsTheOldFile) {
    test::TempDir dir;
    const std::string path = dir.path() + "/table.csv";
    std::vector<std::string> rows;
    for (int i = 0; i < 50000; ++i) rows.push_back(std::to_string(i) + ".5," + std::to_string(i * 3) + ".25");
    test::writeFile(path, "old contents");
    std::string message;
    {
        const test::FileSizeLimit limit(2000);
        try {
            saveCsvTable(path, test::rowList(rows), false);
        } catch (const IoError& e) {
            message = e.what();
        }
    }
    EXPECT_EQ(message, "无法写入文件“" + path + "”：文件太大");
    EXPECT_EQ(test::readFile(path), "old contents");
    EXPECT_THROW(saveCsvTable(dir.path() + "/nowhere/table.csv", test::rowList(rows), false), IoError);
}

} // namespace
} // namespace kelvora::output
