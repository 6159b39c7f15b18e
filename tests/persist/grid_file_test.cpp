#include "persist/grid_file.h"

#include "capacity/calibration_grid.h"
#include "capacity/memory_inputs.h"
#include "kernel/errors.h"
#include "persist_test_util.h"

#include <gtest/gtest.h>

namespace kelvora::persist {
namespace {

using capacity::MemoryInputs;
using capacity::StringGrid;
using test::fixture;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

std::string lines(int from, int to, const std::string& prefix = "") {
    std::string out;
    for (int i = from; i < to; ++i)
        out += prefix + std::to_string(i) + "\r\n";
    return out;
}

TEST(GridFile, SavesEightPointsAsTwentyNineLines) {
    MemoryInputs inputs = MemoryInputs::afterStartup();
    for (int k = 1; k <= 20; ++k) { // points past the eighth are hidden and not saved
        inputs.grid().setCell(1, k, std::to_string(k * 100));
        inputs.grid().setCell(2, k, std::to_string(k * 1000) + ".5");
    }
    TempDir dir;
    SaveStringGrid(inputs.grid(), dir / "bd.txt");
    EXPECT_EQ(readBytes(dir / "bd.txt"), fixture("bd_8_points.txt"));

    StringGrid windows;
    writeBytes(dir / "bd.txt", fixture("windows_bd.txt"));
    LoadStringGrid(windows, dir / "bd.txt");
    ASSERT_EQ(windows.rowCount(), 21);
    EXPECT_EQ(windows.cell(1, 0), "高度 mm");
    EXPECT_EQ(windows.cell(2, 20), "20000.5");
    inputs.grid() = windows;
    inputs.setText("ComboBox2", "20");
    EXPECT_EQ(stringGridFileBytes(inputs.grid()), fixture("windows_bd.txt"));
}

TEST(GridFile, DamagedFilesLoadWhatTheyCanAndNeverMore) {
    struct Cell {
        int col, row;
        std::string text;
    };
    struct Case {
        const char* what;
        std::string file;
        bool throws;
        int cols, rows;
        std::vector<Cell> cells;
    };
    const std::string chinese = [] {
        std::string s;
        for (int i = 0; i < 3000; ++i)
            s += "\xB9\xDE";
        return s;
    }();
    std::string longCell; // 2048 characters of "罐": the line ceiling, not split
    for (int i = 0; i < 2048; ++i)
        longCell += "罐";
    // clang-format off
    const Case cases[] = {
        {"column count not a number", "abc\r\n9\r\n", true, 3, 9, {{1, 1, "keep"}}},
        {"row count not a number: the column count stays", "4\r\nabc\r\n", true, 4, 9, {{1, 1, "keep"}}},
        {"empty file: one column, one row, one empty cell", "", false, 1, 1, {{0, 0, ""}, {1, 1, "keep"}}},
        {"a billion rows", "3\r\n1000000000\r\nA\r\nB\r\n", false, 3, kMaxGridRows,
         {{0, 0, "A"}, {0, 1, "B"}, {0, 200, ""}, {1, 1, ""}}},
        {"blanks and empty lines before counts, text after them", "\r\n \r\n 3 junk\r\n\r\n2\r\na\r\nb\r\nc\r\nd\r\n",
         false, 3, 2, {{0, 0, "a"}, {0, 1, "b"}, {1, 0, "c"}, {1, 1, "d"}, {2, 0, ""}, {2, 1, ""}}},
        {"LF only, ends early", "3\n2\nA\nB", false, 3, 2, {{0, 0, "A"}, {0, 1, "B"}, {1, 0, ""}, {1, 1, ""}}},
        {"hexadecimal and negative counts", "$2\r\n-5\r\nx\r\ny\r\n", false, 2, 1, {{0, 0, "x"}, {1, 0, "y"}}},
        {"count beyond 32 bits", "3\r\n4294967296\r\n", true, 3, 9, {{1, 1, "keep"}}},
        {"twenty columns", "20\r\n1\r\n" + lines(0, 20, "c"), false, kMaxGridCols, 1, {{15, 0, "c15"}}},
        // 300 rows in the file: the rows past the ceiling are skipped, so column 1 still
        // starts at its own line.
        {"rows past the ceiling", "2\r\n300\r\n" + lines(0, 600), false, 2, kMaxGridRows,
         {{0, 200, "200"}, {1, 0, "300"}, {1, 200, "500"}}},
        {"over-long line", "1\r\n1\r\n" + chinese + "\r\n", false, 1, 1, {{0, 0, longCell}}},
        {"broken GBK in a cell", "1\r\n2\r\n\xB9\xDE\xFF\r\nnext\r\n", false, 1, 2,
         {{0, 0, "罐\uFFFD"}, {0, 1, "next"}}},
    };
    // clang-format on
    for (const auto& c : cases) {
        StringGrid grid(3, 9);
        grid.setCell(1, 1, "keep");
        if (c.throws)
            EXPECT_THROW(loadStringGridBytes(grid, c.file), IoError) << c.what;
        else
            EXPECT_NO_THROW(loadStringGridBytes(grid, c.file)) << c.what;
        EXPECT_EQ(grid.colCount(), c.cols) << c.what;
        EXPECT_EQ(grid.rowCount(), c.rows) << c.what;
        for (const auto& cell : c.cells)
            EXPECT_EQ(grid.cell(cell.col, cell.row), cell.text) << c.what;
    }

    TempDir dir;
    StringGrid grid(3, 9);
    EXPECT_THROW(LoadStringGrid(grid, dir / "bd.txt"), IoError);
    EXPECT_EQ(grid.rowCount(), 9);
}

} // namespace
} // namespace kelvora::persist
