#include "persist/grid_file.h"

#include "kernel/errors.h"
#include "kernel/number_text.h"
#include "persist/atomic_file.h"
#include "persist/bounded_read.h"
#include "persist/gbk_text.h"

#include <algorithm>

namespace kelvora::persist {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The file read as a text file is: whole numbers or whole lines, with an empty text at
// the end of the file.
class TextReader {
public:
    explicit TextReader(std::string_view bytes) : bytes_(bytes) {}

    bool atEnd() const { return pos_ >= bytes_.size(); }

    // A whole number and the rest of its line; 0 at the end of the file.
    int count() {
        while (!atEnd() && isSpace(bytes_[pos_]))
            ++pos_;
        if (atEnd()) return 0;
        std::size_t end = pos_;
        while (end < bytes_.size() && !isSpace(bytes_[end]))
            ++end;
        // No 32-bit number needs more characters, leading zeros aside; the limit keeps a
        // huge token cheap.
        const std::size_t size = end - pos_;
        const auto number = size <= 64 ? kernel::tryStrToInt(bytes_.substr(pos_, size)) : std::nullopt;
        pos_ = end;
        line();
        if (!number) throw IoError("Invalid numeric input");
        return *number;
    }

    // The next line without its line end: CRLF, LF, or a CR alone, as an editor that
    // keeps the old Macintosh line ends writes them.
    std::string_view line() {
        if (atEnd()) return {};
        std::size_t end = bytes_.find_first_of("\r\n", pos_);
        if (end == std::string_view::npos) end = bytes_.size();
        const std::string_view text = bytes_.substr(pos_, end - pos_);
        pos_ = end;
        if (pos_ < bytes_.size() && bytes_[pos_] == '\r') ++pos_;
        if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
        return text;
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

std::string encodeCell(std::string_view utf8) {
    std::string gbk = utf8ToGbk(utf8);
    std::replace_if(
        gbk.begin(), gbk.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return gbk;
}

} // namespace

std::filesystem::path calibrationFilePath(const std::string& dir) {
    return std::filesystem::path(dir) / "bd.txt";
}

std::string stringGridFileBytes(const capacity::StringGrid& grid) {
    const int cols = grid.colCount();
    // Rows hidden past the count go too while they hold data, so the points come back
    // when the count is raised in a later run; row numbers alone are no data.
    int rows = grid.rowCount();
    for (int r = kMaxGridRows - 1; r >= rows; --r) {
        bool data = false;
        for (int c = grid.fixedCols(); c < cols && !data; ++c) data = !grid.cell(c, r).empty();
        if (data) {
            rows = r + 1;
            break;
        }
    }
    std::string out = std::to_string(cols) + "\r\n" + std::to_string(rows) + "\r\n";
    for (int c = 0; c < cols; ++c)
        for (int r = 0; r < rows; ++r)
            out.append(encodeCell(grid.cell(c, r))).append("\r\n");
    return out;
}

void SaveStringGrid(const capacity::StringGrid& grid, const std::filesystem::path& path) {
    writeFileAtomically(path, stringGridFileBytes(grid));
}

void loadStringGridBytes(capacity::StringGrid& grid, std::string_view bytes) {
    bytes = bytes.substr(0, kMaxGridFileBytes);
    // A byte-order mark says an editor saved the file as UTF-8: its text is taken as such,
    // a character without a GBK form as the "?" the next save writes anyway.
    std::string fromUtf8;
    if (bytes.starts_with(kUtf8Bom)) {
        fromUtf8 = utf8ToGbk(bytes.substr(kUtf8Bom.size()));
        bytes = fromUtf8;
    }
    TextReader reader(bytes);
    grid.setColCount(std::min(reader.count(), kMaxGridCols));
    const int rowsInFile = std::max(reader.count(), 1);
    grid.setRowCount(std::min(rowsInFile, kMaxGridRows));

    const int cols = grid.colCount(), rows = grid.rowCount();
    for (int c = 0; c < cols; ++c) {
        // Rows past the ceiling are read and dropped, so the next column starts where the
        // file has it; the end of the file bounds the loop whatever the count says.
        for (int r = 0; r < rowsInFile && !(reader.atEnd() && r >= rows); ++r) {
            const std::string_view line = reader.line();
            if (r < rows) grid.setCell(c, r, gbkToUtf8(gbkPrefix(line, kMaxGridLineBytes)));
        }
    }
}

void LoadStringGrid(capacity::StringGrid& grid, const std::filesystem::path& path) {
    const auto file = readFilePrefix(path, kMaxGridFileBytes);
    if (!file) throw IoError("File not found \"" + path.string() + "\"");
    loadStringGridBytes(grid, file->bytes);
}

} // namespace kelvora::persist
