#pragma once
// A station's records as a grid of cells, read from the forms they come in: text files
// (CSV as spreadsheet applications and gauge consoles save them), Excel 97-2003 workbooks
// and Excel workbooks. Every read is bounded in size and rows; a file that cannot be read
// as records throws IoError with a message for the user, and nothing else happens.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::identify {

struct Cell {
    enum class Kind { Empty, Number, Text, Formula };
    Kind kind = Kind::Empty;
    double number = 0;
    std::string text; // UTF-8; for a number the text as written, when the file has one
};
using SheetRow = std::vector<Cell>;

// The heading is the first row with two or more filled cells (a title above it is passed
// over); `rows` follow it, empty rows dropped, each padded to the heading's width. `lines[i]` is the file's row number of rows[i] (1-based).
struct Sheet {
    std::vector<std::string> heading;
    std::vector<SheetRow> rows;
    std::vector<std::size_t> lines;
};

inline constexpr std::size_t kMaxFileBytes = 64u << 20;
inline constexpr std::size_t kMaxRecords = 1'000'000;
inline constexpr std::size_t kMaxColumns = 256;

// By content: a zip archive is an Excel workbook, a compound file an Excel 97-2003
// workbook, anything else text.
Sheet readSheet(const std::filesystem::path& path);

// Text: UTF-8 with or without a byte-order mark, otherwise GBK; comma, semicolon or tab
// separated (whichever the heading holds most of), fields quoted with '"'.
Sheet parseCsv(std::string_view bytes);
Sheet readXls(const std::filesystem::path& path);
Sheet readXlsx(const std::filesystem::path& path);

namespace messages {
inline constexpr const char* kTooLarge = "记录文件太大（超过64MB）！";
inline constexpr const char* kTooManyRows = "记录文件超过1000000行！";
inline constexpr const char* kTooManyColumns = "记录文件超过256列！";
inline constexpr const char* kEncoding = "记录文件的文字编码无法识别（应为UTF-8或GBK）！";
inline constexpr const char* kNoHeading = "记录文件没有标题行！";
inline constexpr const char* kQuote = "记录文件的引号不成对！";
inline constexpr const char* kWorkbook = "记录文件不是可读的Excel工作簿！";
} // namespace messages

// A cell from its text, in every form alike: blank text is an empty cell, a plain decimal
// is that number (a spreadsheet's text "12.5" too), anything else text.
Cell cellFromText(std::string text);

// "记录文件第 n 行的字段比标题行多！"
std::string raggedRowMessage(std::size_t line);

// The sheet from cells already split, shared by the readers: finds the heading, drops
// empty rows and refuses a row wider than the heading.
Sheet sheetFromRows(std::vector<SheetRow> rows, const std::vector<std::size_t>& lines);

} // namespace kelvora::identify
