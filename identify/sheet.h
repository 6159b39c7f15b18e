#pragma once
// A station's records as a grid of cells, read from the forms they come in: text files
// (CSV as spreadsheet applications and gauge consoles save them), Excel 97-2003 workbooks
// and Excel workbooks. Every read is bounded in size, rows, columns and text, and what it
// keeps grows with the cells the file holds, never with a size the file declares: cells
// are stored sparsely, numbers without their text, shared strings once. A file that cannot
// be read as records throws IoError with a message for the user, and nothing else happens.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::identify {

struct Cell {
    // Formula: a formula whose file holds no computed value (one that holds it is that value).
    enum class Kind { Empty, Number, Text, Formula };
    Kind kind = Kind::Empty;
    double number = 0;
    std::string text; // UTF-8; empty for a number
};
using SheetRow = std::vector<Cell>;

// Texts stored once, each by its index (an Excel workbook's shared strings).
struct StringPool {
    std::string chars;
    std::vector<std::uint32_t> ends; // string i is chars[ends[i-1], ends[i])
    std::size_t size() const { return ends.size(); }
    std::string_view at(std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends[i - 1];
        return std::string_view(chars).substr(begin, ends[i] - begin);
    }
};

// The heading is the first row with two or more filled cells (a title above it is passed
// over); the rows follow it, rows whose cells are all empty left out and counted. Rows are
// numbered by the file's lines with the heading's line as 1.
class Sheet {
public:
    std::vector<std::string> heading;
    std::vector<std::size_t> lines; // the number of each row
    std::size_t emptyRows = 0;      // rows after the heading left out for being empty

    std::size_t rowCount() const { return lines.size(); }
    // An empty cell beyond what the row holds; `column` below the heading's width.
    Cell cell(std::size_t row, std::size_t column) const;
    // The row's cells, as many as the heading has.
    SheetRow row(std::size_t row) const;

private:
    friend class SheetBuilder;
    struct Stored {
        union {
            double number;
            std::uint32_t span[2]; // a text's offset and length in texts_, or [0] the pool's index
        };
        std::uint16_t column;
        std::uint8_t kind; // Cell::Kind, or kShared for a pooled text
    };
    static constexpr std::uint8_t kShared = 7;
    std::vector<Stored> cells_;
    std::vector<std::uint32_t> starts_; // row r's cells are cells_[starts_[r], starts_[r+1])
    std::string texts_;
    std::shared_ptr<const StringPool> pool_;
};

inline constexpr std::size_t kMaxFileBytes = 64u << 20;
inline constexpr std::size_t kMaxRecords = 1'000'000;
inline constexpr std::size_t kMaxColumns = 256;
inline constexpr std::size_t kMaxTextBytes = 1u << 20;     // one cell's or shared string's text
inline constexpr std::size_t kMaxMemberBytes = 512u << 20; // one member of an Excel workbook, inflated
inline constexpr int kMaxXmlDepth = 64;

// By content: a zip archive is an Excel workbook, a compound file an Excel 97-2003
// workbook, anything else text.
Sheet readSheet(const std::filesystem::path& path);

// Text through the CSV reader every text table shares (persist/csv_reader.h).
Sheet parseCsv(std::string_view bytes);
// The Excel 97-2003 library runs in a child process with limits on memory and time; its
// crash, its hang or its running out of memory is a workbook that cannot be read.
Sheet readXls(const std::filesystem::path& path);
Sheet readXlsx(const std::filesystem::path& path);

namespace messages {
inline constexpr const char* kTooLarge = "记录文件太大（超过64MB）！";
inline constexpr const char* kTooManyRows = "记录文件超过1000000行！";
inline constexpr const char* kTooManyColumns = "记录文件超过256列！";
inline constexpr const char* kTooLongText = "记录文件中有一段文字超过1MiB！";
inline constexpr const char* kMemberTooLarge = "记录文件的工作表解压后超过512MB！";
inline constexpr const char* kTooManyStrings = "记录文件的共享字符串共超过64MB！";
inline constexpr const char* kTooManySharedStrings = "记录文件的共享字符串超过16000000个！";
inline constexpr const char* kOutOfMemory = "记录文件太大，内存不足！";
inline constexpr const char* kTooDeep = "记录文件的XML嵌套超过64层！";
inline constexpr const char* kNoHeading = "记录文件没有标题行！";
inline constexpr const char* kQuote = "记录文件的引号不成对！";
inline constexpr const char* kWorkbook = "记录文件不是可读的Excel工作簿！";
} // namespace messages

// "记录文件第 n 行的文字编码无法识别（应为UTF-8或GBK）！"
std::string encodingMessage(std::size_t line);

// A cell from its text, in every form alike: blank text is an empty cell, a plain decimal
// is that number (a spreadsheet's text "12.5" too), anything else text.
Cell cellFromText(std::string_view text);

// "记录文件第 n 行的字段比标题行多！"
std::string raggedRowMessage(std::size_t line);

// Builds a sheet row by row from the readers' cells: finds the heading, leaves out and
// counts empty rows, refuses a row wider than the heading and the limits above. Throws
// IoError.
class SheetBuilder {
public:
    SheetBuilder();
    // Shared strings for pooled cells; set before the first one.
    void setPool(std::shared_ptr<const StringPool> pool);
    void add(std::size_t column, const Cell& cell);
    void addPooled(std::size_t column, std::size_t index);
    // Ends the row begun by the cells added since the last call; `line` is the file's line.
    void endRow(std::size_t line);
    Sheet finish();

private:
    struct Pending {
        std::size_t column;
        Cell cell;
        std::size_t pooled; // SIZE_MAX unless pooled
    };
    Sheet sheet_;
    std::vector<Pending> row_;
    bool headed_ = false;
    std::size_t headingLine_ = 0;
};

} // namespace kelvora::identify
