// Saved workbooks read back by readers written by others: libfreexl and xlrd for .xls,
// openpyxl for .xlsx. Every cell's position, type and value is compared with the
// placement rule.
#include "output/cfb_writer.h"
#include "output/workbook_export.h"

#include "expected_sheet.h"
#include "output_test_util.h"

#include <freexl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace kelvora::output {
namespace {

using test::ExpectedSheet;
using test::rowList;

struct Table {
    const char* name;
    std::vector<std::string> entries;
    const char* edit9;
    std::uint64_t n;
    bool weight;
    // libfreexl 1.0.6 takes the rest of a cut string from the next CONTINUE record only,
    // so it cannot read a string spread over three records (which Excel itself writes).
    bool freexlReadable = true;
};

std::vector<std::string> numbered(int count) {
    std::vector<std::string> v;
    for (int i = 0; i < count; ++i)
        v.push_back(std::to_string(i) + "." + std::to_string(i % 10) + "," + std::to_string(i * 37) + "." +
                    std::to_string(i % 100));
    return v;
}

// Numbers of every kind a cell may hold (RK integers, RK hundredths, full doubles), texts
// that are not numbers, Chinese texts and empty parts, in three groups.
std::vector<std::string> mixed() {
    std::vector<std::string> v = {
        "0,0", "0.5,0.25", "-1,-1",   "12345678.91,99999999.99", "1E15,3",       "5,1.5,x", "abc,def",
        ",7",  "8,",       "注,容积", "5368709.11,5368709.12",   "2.675,1234.57"};
    for (int i = 0; i < 13; ++i)
        v.push_back(std::to_string(100 + i) + ",12" + std::to_string(i) + ".3");
    return v;
}

// Enough distinct texts for dozens of CONTINUE records, with strings cut at record
// boundaries: 8-bit and 16-bit characters, and characters outside the BMP (surrogate
// pairs, never cut in two). Each long string fits in two records.
std::vector<std::string> manyTexts() {
    std::vector<std::string> v;
    v.reserve(70000);
    for (int i = 0; i < 70000; ++i) {
        std::string level = std::to_string(i / 10) + "." + std::to_string(i % 10);
        std::string value;
        switch (i % 3) {
        case 0:
            value = "备注" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 23), 'x') + ",甲";
            break;
        case 1:
            value = "text" + std::to_string(i);
            break;
        default:
            value = std::to_string(i) + ".25";
            break;
        }
        v.push_back(level + "," + value);
    }
    std::string wide, narrow(8000, 'a'), astral;
    for (int i = 0; i < 4000; ++i)
        wide += "容";
    for (int i = 0; i < 2000; ++i)
        astral += "\xF0\x9D\x84\x9E"; // U+1D11E
    v[100] = "10," + wide;
    v[200] = "20," + narrow;
    v[301] = "30," + astral;
    return v;
}

// Cells of the greatest length a cell holds, each spread over several records.
std::vector<std::string> longestTexts() {
    std::string wide, astral;
    for (int i = 0; i < 32767; ++i)
        wide += "容";
    for (int i = 0; i < 16383; ++i)
        astral += "\xF0\x9D\x84\x9E";
    return {"1," + wide, "2," + std::string(32767, 'a'), "3," + astral, "4,5"};
}

const Table kTables[] = {
    {"SevenEntries", numbered(7), "3", 3, false},
    {"ChineseThreeGroups", mixed(), "10", 10, true},
    {"Empty", {}, "", 9999, false},
    {"SeventyThousandTexts", manyTexts(), "", 9999, false},
    {"LongestCellTexts", longestTexts(), "2", 2, false, false},
};

enum class Reader { Freexl, Xlrd, Openpyxl };

struct ReadCase {
    const Table* table;
    Reader reader;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.table->name;
}

std::string caseName(const ::testing::TestParamInfo<ReadCase>& info) {
    static const char* const kReaders[] = {"Freexl", "Xlrd", "Openpyxl"};
    return std::string(info.param.table->name) + "_" + kReaders[static_cast<int>(info.param.reader)];
}

std::vector<ReadCase> readCases() {
    std::vector<ReadCase> cases;
    for (const Table& t : kTables) {
        if (t.freexlReadable) cases.push_back({&t, Reader::Freexl});
        cases.push_back({&t, Reader::Xlrd});
        // openpyxl is slow; it reads the small tables.
        if (t.entries.size() < 1000) cases.push_back({&t, Reader::Openpyxl});
    }
    return cases;
}

// Compares a reader's cells (row, column, number or text) with the expectation.
class CellComparison {
public:
    explicit CellComparison(const ExpectedSheet& expected) : expected_(expected) {}

    void number(std::uint64_t row, std::uint64_t column, double value) {
        const auto want = find(row, column);
        if (want && !want->number)
            fail(row, column, "a number where text belongs: " + want->text);
        else if (want && want->value != value)
            fail(row, column, "value " + std::to_string(value) + ", want " + std::to_string(want->value));
    }
    void text(std::uint64_t row, std::uint64_t column, const std::string& value) {
        const auto want = find(row, column);
        if (want && want->number)
            fail(row, column, "text '" + value + "' where a number belongs");
        else if (want && want->text != value)
            fail(row, column, "text '" + value.substr(0, 40) + "'");
    }
    void finish() {
        EXPECT_EQ(cells_, expected_.cellCount());
        EXPECT_EQ(failures_, 0u);
    }

private:
    std::optional<test::ExpectedCell> find(std::uint64_t row, std::uint64_t column) {
        ++cells_;
        auto want = expected_.at(row, column);
        if (!want) fail(row, column, "a cell where none belongs");
        return want;
    }
    void fail(std::uint64_t row, std::uint64_t column, const std::string& what) {
        if (++failures_ <= 5) ADD_FAILURE() << "cell (" << row << ", " << column << "): " << what;
    }

    const ExpectedSheet& expected_;
    std::uint64_t cells_ = 0, failures_ = 0;
};

void readWithFreexl(const std::string& path, CellComparison& cells) {
    const void* handle = nullptr;
    ASSERT_EQ(freexl_open(path.c_str(), &handle), FREEXL_OK);
    unsigned int info = 0;
    EXPECT_EQ(freexl_get_info(handle, FREEXL_BIFF_VERSION, &info), FREEXL_OK);
    EXPECT_EQ(info, unsigned{FREEXL_BIFF_VER_8});
    EXPECT_EQ(freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &info), FREEXL_OK);
    EXPECT_EQ(info, 1u);
    const char* name = nullptr;
    EXPECT_EQ(freexl_get_worksheet_name(handle, 0, &name), FREEXL_OK);
    EXPECT_STREQ(name, "容积表");
    ASSERT_EQ(freexl_select_active_worksheet(handle, 0), FREEXL_OK);
    unsigned int rows = 0;
    unsigned short columns = 0;
    ASSERT_EQ(freexl_worksheet_dimensions(handle, &rows, &columns), FREEXL_OK);
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue v;
            ASSERT_EQ(freexl_get_cell_value(handle, r, c, &v), FREEXL_OK);
            switch (v.type) {
            case FREEXL_CELL_NULL:
                break;
            case FREEXL_CELL_INT:
                cells.number(r + 1, c + 1, v.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                cells.number(r + 1, c + 1, v.value.double_value);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
                cells.text(r + 1, c + 1, v.value.text_value);
                break;
            default:
                ADD_FAILURE() << "cell type " << v.type << " at " << r + 1 << "," << c + 1;
            }
        }
    }
    freexl_close(handle);
}

void readWithPython(const char* mode, const std::string& path, CellComparison& cells) {
    const test::CommandResult result = test::runReader(mode, path);
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.errors, "");
    std::istringstream lines(result.output);
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line, "sheets\t1\t容积表");
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::uint64_t row = 0, column = 0;
        std::string kind, value;
        fields >> row >> column >> kind;
        fields.get();
        std::getline(fields, value);
        if (kind == "n")
            cells.number(row, column, std::stod(value));
        else if (kind == "s")
            cells.text(row, column, value);
        else
            ADD_FAILURE() << line;
    }
}

class WorkbookReadBackTest : public ::testing::TestWithParam<ReadCase> {
protected:
    test::TempDir dir_;
};

TEST_P(WorkbookReadBackTest, EveryCellInPlace) {
    const Table& t = *GetParam().table;
    const Reader reader = GetParam().reader;
    const capacity::RowList rows = rowList(t.entries);
    const std::string path =
        dir_.path() + (reader == Reader::Openpyxl ? "/油罐容量表.xlsx" : "/油罐容量表.xls");
    SaveFileToExcel(path, rows, t.edit9, t.weight);

    const ExpectedSheet expected(rows, t.n, t.weight);
    CellComparison cells(expected);
    switch (reader) {
    case Reader::Freexl:
        readWithFreexl(path, cells);
        break;
    case Reader::Xlrd:
        readWithPython("xls", path, cells);
        break;
    case Reader::Openpyxl:
        readWithPython("xlsx", path, cells);
        break;
    }
    cells.finish();
}

INSTANTIATE_TEST_SUITE_P(Tables, WorkbookReadBackTest, ::testing::ValuesIn(readCases()), caseName);

class StringSink : public ByteSink {
public:
    void write(const void* data, std::size_t size) override {
        bytes.append(static_cast<const char*>(data), size);
    }
    std::string bytes;
};

// Streams in the mini stream, at the cutoff, and past the 109 FAT sectors the header
// lists (one DIFAT sector, then a chain of two), read back by xlrd's compound-file reader.
TEST(CompoundFileTest, StreamReadsBackAtEverySize) {
    struct SizeCase {
        std::size_t size;
        std::uint32_t difatSectors;
    };
    const SizeCase kSizes[] = {{100, 0}, {4095, 0}, {4096, 0}, {7'500'000, 1}, {20'000'000, 2}};
    test::TempDir dir;
    for (const auto& [size, difatSectors] : kSizes) {
        std::string stream(size, '\0');
        std::uint32_t x = 2463534242u;
        for (char& c : stream) {
            x ^= x << 13, x ^= x >> 17, x ^= x << 5;
            c = static_cast<char>(x);
        }
        StringSink sink;
        const std::string_view parts[] = {std::string_view(stream).substr(0, size / 3),
                                          std::string_view(stream).substr(size / 3)};
        writeCompoundFile(sink, "Workbook", parts, kExcelWorkbookClsid);
        EXPECT_EQ(sink.bytes.size() % 512, 0u);
        const auto header32 = [&](std::size_t at) {
            std::uint32_t v = 0;
            for (int i = 3; i >= 0; --i)
                v = v << 8 | static_cast<unsigned char>(sink.bytes[at + i]);
            return v;
        };
        EXPECT_EQ(header32(72), difatSectors) << size;

        const std::string path = dir.path() + "/stream.xls";
        test::writeFile(path, sink.bytes);
        const test::CommandResult result = test::runReader("stream", path);
        ASSERT_EQ(result.status, 0) << result.errors;
        EXPECT_EQ(result.errors, "") << size;
        EXPECT_TRUE(result.output == stream) << "stream of " << size << " bytes differs";
    }
}


// The tank's sheet "罐体数据" after the table's, as the independent readers see it; the
// table's sheet reads back exactly as without it.
TEST(TankSheetTest, ReadsBackAfterAnUnchangedTableSheet) {
    const std::vector<DocumentField> tank{{"标题", "油罐容积表"},
                                          {"罐号", "T-9"},
                                          {"使用单位", "某油库"},
                                          {"计量方式", "重量（kg），密度 0.85 g/cm³"},
                                          {"标定点 1", "0，0"},
                                          {"空", ""}};
    const capacity::RowList rows = rowList({"0,0", "10,7.5", "20,15.25", "30,30"});
    test::TempDir dir;
    for (const char* ending : {".xls", ".xlsx"}) {
        SCOPED_TRACE(ending);
        const std::string plain = dir.path() + "/plain" + ending, with = dir.path() + "/罐体" + ending;
        SaveFileToExcel(plain, rows, "2", false);
        SaveFileToExcel(with, rows, "2", false, tank);

        const bool xls = std::string_view(ending) == ".xls";
        const test::CommandResult before = test::runReader(xls ? "xls" : "xlsx", plain),
                                  after = test::runReader(xls ? "xls" : "xlsx", with);
        ASSERT_EQ(after.status, 0) << after.errors;
        EXPECT_EQ(after.output.substr(after.output.find('\n')), before.output.substr(before.output.find('\n')));
        EXPECT_EQ(after.output.substr(0, after.output.find('\n')), "sheets\t2\t容积表");

        std::string expected = "sheets\t容积表\t罐体数据\n";
        for (std::size_t i = 0; i < tank.size(); ++i) {
            expected += std::to_string(i + 1) + "\t1\ts\t" + tank[i].label + "\n";
            if (!tank[i].value.empty()) expected += std::to_string(i + 1) + "\t2\ts\t" + tank[i].value + "\n";
        }
        const test::CommandResult read = test::runReader("tank", with);
        ASSERT_EQ(read.status, 0) << read.errors;
        EXPECT_EQ(read.errors, "");
        EXPECT_EQ(read.output, expected);
        if (!xls) continue;

        const void* handle = nullptr;
        ASSERT_EQ(freexl_open(with.c_str(), &handle), FREEXL_OK);
        unsigned int count = 0;
        EXPECT_EQ(freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count), FREEXL_OK);
        EXPECT_EQ(count, 2u);
        const char* name = nullptr;
        EXPECT_EQ(freexl_get_worksheet_name(handle, 1, &name), FREEXL_OK);
        EXPECT_STREQ(name, "罐体数据");
        ASSERT_EQ(freexl_select_active_worksheet(handle, 1), FREEXL_OK);
        std::string seen = "sheets\t容积表\t罐体数据\n";
        for (unsigned int r = 0; r < tank.size(); ++r) {
            for (unsigned short c = 0; c < 2; ++c) {
                FreeXL_CellValue v;
                ASSERT_EQ(freexl_get_cell_value(handle, r, c, &v), FREEXL_OK);
                if (v.type == FREEXL_CELL_SST_TEXT || v.type == FREEXL_CELL_TEXT)
                    seen += std::to_string(r + 1) + "\t" + std::to_string(c + 1) + "\ts\t" + v.value.text_value + "\n";
            }
        }
        freexl_close(handle);
        EXPECT_EQ(seen, expected);
    }
}

} // namespace
} // namespace kelvora::output
