#pragma once
// bd.txt: the calibration grid between runs. GBK text, every line ended by CRLF: the
// column count C, the row count R, then the C·R cell texts column by column (column 0
// from row 0 to R−1, then column 1, ...), an empty cell as an empty line. Any string grid
// can be stored; the program stores StringGrid1.

#include "capacity/string_grid.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace kelvora::persist {

// Ceilings on what a load takes from a file. The program only ever writes 3 columns and
// at most 201 rows (200 points and the headings); rows past 201 could never be shown,
// since ComboBox2 stops at 200 points. 16 columns leave room for a grid of another shape
// while keeping a damaged count from making a grid no window can show or save. A cell
// holds a typed number, so 4096 bytes per line is generous; the file ceiling covers
// 16 · 201 lines of that length.
inline constexpr int kMaxGridCols = 16;
inline constexpr int kMaxGridRows = 201;
inline constexpr std::size_t kMaxGridLineBytes = 4096;
inline constexpr std::size_t kMaxGridFileBytes = std::size_t{16} << 20;

// The calibration-point file in the program directory `dir`.
std::filesystem::path calibrationFilePath(const std::string& dir);

// The bytes SaveStringGrid writes: the rows of the grid's row count and, beyond them, up
// to the last hidden row (within kMaxGridRows) that holds text outside the fixed column;
// the row count line counts every row written. A line break inside a cell is written as a
// blank; it would otherwise split the cell and shift every later one.
std::string stringGridFileBytes(const capacity::StringGrid& grid);
// Replaces the file in one step; a failure (IoError) leaves the old file as it was.
void SaveStringGrid(const capacity::StringGrid& grid, const std::filesystem::path& path);

// Lines end with CRLF, LF or a CR alone; a file that starts with a UTF-8 byte-order mark
// is read as UTF-8. Each count is the first whole number after blanks and empty lines,
// the rest of its line ignored; a missing count reads as 0 (which the grid takes as 1),
// and a count that is not a whole number throws IoError, leaving what was set before it.
// Then the cells of the counts the grid now has; missing lines read as empty texts.
// Counts above the ceilings are cut to them while the cells keep their places in the
// file; an over-long line is cut at kMaxGridLineBytes and the file at kMaxGridFileBytes.
// A missing or unreadable file throws IoError with the grid untouched.
void LoadStringGrid(capacity::StringGrid& grid, const std::filesystem::path& path);
// The same on a file's content.
void loadStringGridBytes(capacity::StringGrid& grid, std::string_view bytes);

} // namespace kelvora::persist
