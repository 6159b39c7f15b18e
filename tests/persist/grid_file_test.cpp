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
    for (int k = 1; k <= 8; ++k) {
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

// Rows hidden past the count are saved while they hold points, so that they come back in
// the next run; a grid without such rows is saved exactly as before.
TEST(GridFile, HiddenRowsWithPointsAreSaved) {
    struct Case {
        const char* what;
        int count;
        std::vector<int> pointRows; // rows given a level and a volume
        std::vector<int> numbered;  // rows given only a row number
        int rowsSaved;
    };
    const Case cases[] = {
        {"eight points, count 8", 8, {1, 2, 3, 4, 5, 6, 7, 8}, {}, 9},
        {"twenty points, count 8", 8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}, {}, 21},
        {"count lowered from 20, hidden rows empty", 8, {1, 2, 3}, {9, 10, 20}, 9},
        {"one hidden point after a gap", 5, {1, 2, 15}, {}, 16},
        {"a point hidden inside the count's reach", 10, {1, 2, 3, 4}, {}, 11},
        {"a cell past the rows any load reads", 8, {1, 250}, {}, 9},
    };
    for (const auto& c : cases) {
        StringGrid grid(3, c.count + 1);
        for (int r : c.pointRows) {
            grid.setCell(1, r, std::to_string(r * 100));
            grid.setCell(2, r, std::to_string(r * 7) + ".5");
        }
        for (int r : c.numbered) grid.setCell(0, r, std::to_string(r));
        const std::string bytes = stringGridFileBytes(grid);
        EXPECT_TRUE(bytes.starts_with("3\r\n" + std::to_string(c.rowsSaved) + "\r\n")) << c.what;

        StringGrid loaded(3, 9);
        loadStringGridBytes(loaded, bytes);
        EXPECT_EQ(loaded.rowCount(), c.rowsSaved) << c.what;
        for (int r : c.pointRows) {
            if (r < kMaxGridRows) {
                EXPECT_EQ(loaded.cell(2, r), std::to_string(r * 7) + ".5") << c.what << " row " << r;
            }
        }
        EXPECT_EQ(stringGridFileBytes(loaded), bytes) << c.what;
    }
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
        // What editors make of a saved file: a byte-order mark (the text then UTF-8), or
        // the old Macintosh line ends.
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" "3\r\n2\r\n序号\r\n1\r\n高度 mm\r\n500\r\n容积 L\r\n1200\r\n",
         false, 3, 2, {{0, 0, "序号"}, {1, 1, "500"}, {2, 0, "容积 L"}, {2, 1, "1200"}}},
        {"CR line ends", "3\r2\r\xD0\xF2\xBA\xC5\r1\r\r500\r\rx\r", false, 3, 2,
         {{0, 0, "序号"}, {0, 1, "1"}, {1, 0, ""}, {1, 1, "500"}, {2, 1, "x"}}},
        {"random bytes", "\x8F\x01\xFE\x00\x7Fz\r\n", true, 3, 9, {{1, 1, "keep"}}},
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
