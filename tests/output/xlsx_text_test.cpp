// What the .xlsx writer does with texts XML cannot hold or a reader would decode: a
// character XML 1.0 forbids is refused before any file is written, a literal "_xHHHH_"
// reads back as typed, and the workbook opens with its first sheet alone selected.
#include "output/workbook_export.h"
#include "output/xlsx_writer.h"

#include "kernel/errors.h"

#include "expected_sheet.h"
#include "output_test_util.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace kelvora::output {
namespace {

class StringSinkForTest : public ByteSink {
public:
    void write(const void* data, std::size_t size) override {
        bytes.append(static_cast<const char*>(data), size);
    }
    std::string bytes;
};

const std::vector<std::string> kRows{"0,0.00", "50,1234.50", "100,2469.00"};

// The format's own decoding of a stored text: "_xHHHH_" is the character HHHH.
std::string decodeStored(const std::string& stored) {
    std::string out;
    static const std::regex escape("_x([0-9A-Fa-f]{4})_");
    std::size_t at = 0;
    for (std::sregex_iterator it(stored.begin(), stored.end(), escape), end; it != end; ++it) {
        out.append(stored, at, static_cast<std::size_t>(it->position()) - at);
        const unsigned code = static_cast<unsigned>(std::stoul((*it)[1].str(), nullptr, 16));
        out.push_back(static_cast<char>(code)); // ASCII in these cases
        at = static_cast<std::size_t>(it->position() + it->length());
    }
    return out + stored.substr(at);
}

TEST(XlsxTexts, ForbiddenCharactersAreRefusedBeforeAnyFile) {
    struct Case {
        std::string label, value;
        const char* named;
    };
    const Case cases[] = {
        {"罐号",
         "T-\xEF\xBF\xBE"
         "7",
         "U+FFFE"},
        {"使用单位", "\xEF\xBF\xBF", "U+FFFF"},
        {"罐号\xEF\xBF\xBF", "T-7", "U+FFFF"},
    };
    test::TempDir dir;
    const capacity::RowList rows = test::rowList(kRows);
    for (const auto& c : cases) {
        const std::vector<DocumentField> tank{{"标题", "油罐容积表"}, {c.label, c.value}};
        const std::string path = dir.path() + "/t.xlsx";
        try {
            SaveFileToExcel(path, rows, "10", false, tank);
            ADD_FAILURE() << c.named << " was written";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << e.what();
        }
        EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << c.named; // not even a temporary file
        // The writer itself never lets one through.
        StringSinkForTest sink;
        XlsxWorkbookWriter book(sink, {"Sheet1"});
        book.beginSheet(1, 1);
        const Cell cell{1, 1, c.value, std::nullopt};
        if (c.value.find("\xEF\xBF") != std::string::npos) {
            EXPECT_THROW(book.writeRow(1, std::span<const Cell>(&cell, 1)), Error) << c.named;
        }
    }
}

TEST(XlsxTexts, LiteralEscapesReadBackAsTyped) {
    struct Case {
        const char* typed;
        const char* stored; // in the sheet's XML
    };
    const Case cases[] = {
        {"_x0041_", "_x005F_x0041_"},
        {"a_x00e9_b_x000D_", "a_x005F_x00e9_b_x005F_x000D_"},
        {"_x41_", "_x41_"},     // not four digits: no escape
        {"_xGGGG_", "_xGGGG_"}, // not hexadecimal
        {"__x0041_", "__x005F_x0041_"},
        {"T_7", "T_7"},
    };
    test::TempDir dir;
    const capacity::RowList rows = test::rowList(kRows);
    std::vector<DocumentField> tank{{"标题", "油罐容积表"}};
    for (const auto& c : cases)
        tank.push_back({"罐号", c.typed});
    const std::string path = dir.path() + "/e.xlsx";
    SaveFileToExcel(path, rows, "10", false, tank);
    const test::CommandResult read = test::runReader("sheets", path);
    ASSERT_EQ(read.status, 0) << read.errors;
    const auto tankSheet = read.output.find("sheet\t罐体数据\n");
    ASSERT_NE(tankSheet, std::string::npos) << read.output;
    const std::string sheet = read.output.substr(tankSheet);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        // "B<row>\ts\t<openpyxl's value>\t<stored>": openpyxl parses the file and keeps the stored text.
        const std::string cell = "B" + std::to_string(i + 2) + "\ts\t";
        const auto at = sheet.find("\n" + cell);
        ASSERT_NE(at, std::string::npos) << cases[i].typed << "\n" << sheet;
        const std::string line = sheet.substr(at + 1, sheet.find('\n', at + 1) - at - 1);
        const std::string stored = line.substr(line.rfind('\t') + 1);
        EXPECT_EQ(stored, cases[i].stored) << cases[i].typed;
        EXPECT_EQ(decodeStored(stored), cases[i].typed) << cases[i].typed;
    }
}

TEST(XlsxTexts, OnlyTheFirstSheetIsSelected) {
    test::TempDir dir;
    const std::string path = dir.path() + "/s.xlsx";
    const std::vector<DocumentField> tank{{"标题", "油罐容积表"}, {"罐号", "T-7"}};
    SaveFileToExcel(path, test::rowList(kRows), "10", false, tank);
    const test::CommandResult read = test::runReader("views", path);
    ASSERT_EQ(read.status, 0) << read.errors;
    EXPECT_EQ(read.output, "容积表\tselected\n罐体数据\t-\n");
}

} // namespace
} // namespace kelvora::output
