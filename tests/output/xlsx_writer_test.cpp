// The streaming .xlsx writer: what a cell's text becomes in the file and in a reader we did
// not write, with either deflate engine and over several sheets; the sheet size limit; and
// the check after saving, against the damage a failing disk leaves.
#include "output/workbook_export.h"
#include "output/xlsx_writer.h"

#include "kernel/errors.h"

#include "expected_sheet.h"
#include "output_test_util.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvora::output {
namespace {

using test::rowList;

class StringSink : public ByteSink {
public:
    void write(const void* data, std::size_t size) override {
        bytes.append(static_cast<const char*>(data), size);
    }
    std::string bytes;
};

struct TextCase {
    const char* text;
    const char* read;   // as openpyxl gives it: "n<TAB>repr" or "s<TAB>text"
    const char* stored; // what the cell's <v> or <t> holds
};

const TextCase kTexts[] = {
    {"8253.87", "n\t8253.87", "8253.87"}, // no "%.16G" noise
    {"96.51", "n\t96.51", "96.51"},
    {"-0.25", "n\t-0.25", "-0.25"},
    {"007", "n\t7.0", "007"},
    {"12345678901234567890", "n\t1.2345678901234567e+19", "12345678901234567890"},
    {"1E15", "n\t1000000000000000.0", "1e+15"}, // not plain: the double's shortest text
    {".5", "n\t0.5", "0.5"},
    {"5.", "n\t5.0", "5"},
    {"油罐容积表", "s\t油罐容积表", "油罐容积表"},
    {"a&b<c>\"d\"", "s\ta&b<c>\"d\"", "a&b<c>\"d\""},
    {" 3 ", "n\t3.0", "3"}, // a number to the general conversion, not plain
    {" a ", "s\t a ", " a "},
    {"1,5", "s\t1,5", "1,5"},
    {"x\ty", "s\tx\\ty", "x\\ty"},
    {"\xF0\x9D\x84\x9E", "s\t\xF0\x9D\x84\x9E", "\xF0\x9D\x84\x9E"},
    {"a\xFF", "s\ta\xEF\xBF\xBD", "a\xEF\xBF\xBD"}, // not UTF-8: U+FFFD
};

std::string cellName(std::uint64_t row, char column) {
    return std::string(1, column) + std::to_string(row);
}

TEST(XlsxWriterTest, CellTextsWithEitherEngineInEverySheet) {
    std::vector<Cell> cells;
    for (std::size_t i = 0; i < std::size(kTexts); ++i)
        cells.push_back({i + 1, 1, kTexts[i].text, cellNumber(kTexts[i].text)});
    std::string expected;
    for (const char* sheet : {"Sheet1", "罐体数据"}) {
        expected += std::string("sheet\t") + sheet + "\n";
        for (std::size_t i = 0; i < std::size(kTexts); ++i)
            expected += cellName(i + 1, sheet[0] == 'S' ? 'A' : 'C') + "\t" + kTexts[i].read + "\t" +
                        kTexts[i].stored + "\n";
    }
    test::TempDir dir;
    for (const DeflateEngine engine : {DeflateEngine::Isal, DeflateEngine::Zlib}) {
        if (!deflateEngineAvailable(engine)) continue;
        StringSink sink;
        XlsxWorkbookWriter book(sink, {"Sheet1", "罐体数据"}, engine);
        book.beginSheet(cells.size(), 1);
        for (const Cell& c : cells)
            book.writeRow(c.row, std::span<const Cell>(&c, 1));
        book.endSheet();
        book.beginSheet(cells.size(), 3);
        for (Cell c : cells) {
            c.column = 3;
            book.writeRow(c.row, std::span<const Cell>(&c, 1));
        }
        book.endSheet();
        const XlsxPackage written = book.finish();
        EXPECT_EQ(written.cells, 2 * cells.size());
        EXPECT_EQ(written.bytes, sink.bytes.size());

        const std::string path = dir.path() + "/sheets.xlsx";
        test::writeFile(path, sink.bytes);
        EXPECT_NO_THROW(checkWrittenXlsx(path, written, 2 * cells.size(), ""));
        EXPECT_THROW(checkWrittenXlsx(path, written, 2 * cells.size() + 1, ""), IoError);
        const test::CommandResult result = test::runReader("sheets", path);
        ASSERT_EQ(result.status, 0) << result.errors;
        EXPECT_EQ(result.output, expected) << static_cast<int>(engine);
    }
}

TEST(XlsxWriterTest, TooLongCellTextIsRefused) {
    const std::string longest(kMaxCellTextLength, 'a'), beyond = longest + "a";
    std::string astral;
    for (std::size_t i = 0; i < kMaxCellTextLength / 2 + 1; ++i)
        astral += "\xF0\x9D\x84\x9E"; // two UTF-16 units each
    const std::pair<const std::string*, bool> kCases[] = {
        {&longest, true}, {&beyond, false}, {&astral, false}};
    for (const auto& [text, fits] : kCases) {
        StringSink sink;
        XlsxWorkbookWriter book(sink, {"Sheet1"});
        book.beginSheet(1, 1);
        const Cell cell{1, 1, *text, std::nullopt};
        if (fits)
            EXPECT_NO_THROW(book.writeRow(1, std::span<const Cell>(&cell, 1)));
        else
            EXPECT_THROW(book.writeRow(1, std::span<const Cell>(&cell, 1)), Error) << text->size();
    }
}

// The sheet's XML must stay below 4 GiB; the limit is lowered here to the size of a
// 1000-row sheet, which is saved at exactly that size and refused one byte below it.
TEST(XlsxWriterTest, SheetBeyondTheLimitIsRefusedBeforeWriting) {
    std::vector<std::string> entries;
    for (int i = 0; i < 1000; ++i)
        entries.push_back(std::to_string(i) + ".5," + std::to_string(i * 7) + ".25");
    const capacity::RowList rows = rowList(entries);
    StringSink sink;
    const XlsxPackage written = writeXlsx(SheetLayout(rows, "", false), sink);
    std::uint64_t sheetSize = 0;
    for (const ZipEntry& e : written.entries)
        if (e.name == "xl/worksheets/sheet1.xml") sheetSize = e.size;
    ASSERT_GT(sheetSize, 0u);

    test::TempDir dir;
    const std::string path = dir.path() + "/table.xlsx";
    for (const auto& [limit, fits] : {std::pair{sheetSize, true}, std::pair{sheetSize - 1, false}}) {
        test::writeFile(path, "old contents");
        setXlsxSheetByteLimit(limit);
        try {
            SaveFileToExcel(path, rows, "", false);
            EXPECT_TRUE(fits) << limit;
            EXPECT_NE(test::readFile(path), "old contents");
        } catch (const IoError& e) {
            ADD_FAILURE() << e.what();
        } catch (const Error& e) {
            EXPECT_FALSE(fits) << e.what();
            EXPECT_NE(std::string(e.what()).find(std::to_string(limit)), std::string::npos) << e.what();
            EXPECT_EQ(test::readFile(path), "old contents");
        }
        setXlsxSheetByteLimit(0);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}

// What the check after saving reads: the whole file, the directory against what was
// written, every local header, the small parts whole and the end of each sheet.
TEST(XlsxWriterTest, CheckAfterSavingRejectsWhatTheDiskLost) {
    std::vector<std::string> entries;
    for (int i = 0; i < 20000; ++i)
        entries.push_back(std::to_string(i) + ".1," + std::to_string(i * 3) + ".5");
    const capacity::RowList rows = rowList(entries);
    StringSink sink;
    const XlsxPackage written = writeXlsx(SheetLayout(rows, "", false), sink);
    const std::uint64_t cells = test::ExpectedSheet(rows, 9999, false).cellCount();
    const ZipEntry* sheet = nullptr;
    for (const ZipEntry& e : written.entries)
        if (e.descriptor) sheet = &e;
    ASSERT_NE(sheet, nullptr);
    const std::size_t sheetData = sheet->offset + 30 + sheet->name.size();
    const std::size_t directory = sheetData + sheet->packed + 16;

    struct Damage {
        const char* name;
        std::function<void(std::string&)> apply;
    };
    const Damage kDamages[] = {
        {"intact", [](std::string&) {}},
        {"cut short", [](std::string& b) { b.resize(b.size() - 1); }},
        {"grown", [](std::string& b) { b.push_back('\0'); }},
        {"sheet's end", [&](std::string& b) { b[sheetData + sheet->packed - 3] ^= 0x55; }},
        {"sheet's descriptor", [&](std::string& b) { b[sheetData + sheet->packed + 5] ^= 1; }},
        {"sheet's header", [&](std::string& b) { b[sheet->offset + 31] ^= 1; }},
        {"a small part", [&](std::string& b) { b[40] ^= 0x55; }},
        {"directory", [&](std::string& b) { b[directory + 20] ^= 1; }},
        {"zeros",
         [](std::string& b) { std::fill(b.begin() + static_cast<long>(b.size() / 2), b.end(), '\0'); }},
    };
    test::TempDir dir;
    const std::string path = dir.path() + "/table.xlsx";
    for (const Damage& d : kDamages) {
        std::string bytes = sink.bytes;
        d.apply(bytes);
        test::writeFile(path, bytes);
        if (std::string_view(d.name) == "intact")
            EXPECT_NO_THROW(checkWrittenXlsx(path, written, cells, ""));
        else
            EXPECT_THROW(checkWrittenXlsx(path, written, cells, ""), IoError) << d.name;
    }
}

} // namespace
} // namespace kelvora::output
