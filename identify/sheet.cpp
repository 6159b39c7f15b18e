#include "identify/sheet.h"

#include "kernel/errors.h"
#include "kernel/number_text.h"
#include "persist/bounded_read.h"
#include "persist/gbk_text.h"
#include "persist/io_error.h"

#include <algorithm>
#include <array>
#include <cerrno>

namespace kelvora::identify {

namespace {

bool validUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (n == 0 || (n == 2 && c < 0xC2) || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        if (n == 3) {
            const auto c1 = static_cast<unsigned char>(s[i + 1]);
            if ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 >= 0xA0)) return false;
        }
        if (n == 4) {
            const auto c1 = static_cast<unsigned char>(s[i + 1]);
            if (c > 0xF4 || (c == 0xF0 && c1 < 0x90) || (c == 0xF4 && c1 >= 0x90)) return false;
        }
        i += n;
    }
    return true;
}

// UTF-8 as it is, otherwise GBK; a text that is neither (a NUL byte, UTF-16, bytes GBK
// has no character for) is refused rather than shown with replacement characters.
std::string decodeText(std::string_view bytes) {
    static constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.starts_with(kBom)) bytes.remove_prefix(kBom.size());
    if (bytes.find('\0') != std::string_view::npos) throw IoError(messages::kEncoding);
    if (validUtf8(bytes)) return std::string(bytes);
    static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    std::string text = persist::gbkToUtf8(bytes);
    if (text.find(kReplacement) != std::string::npos) throw IoError(messages::kEncoding);
    return text;
}

std::size_t filled(const SheetRow& row) {
    return static_cast<std::size_t>(std::count_if(row.begin(), row.end(), [](const Cell& c) {
        return c.kind != Cell::Kind::Empty &&
               !(c.kind == Cell::Kind::Text && c.text.find_first_not_of(" \t") == std::string::npos);
    }));
}

// The separator that most fills one of the first lines, outside quotes (a title above the
// heading may hold none); a comma when none does.
char separatorOf(std::string_view text) {
    constexpr std::array<char, 3> kSeparators{',', ';', '\t'};
    std::array<std::size_t, 3> best{}, line{};
    bool quoted = false;
    int lines = 0;
    for (std::size_t i = 0; i < text.size() && lines < 20; ++i) {
        const char c = text[i];
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n') {
            for (std::size_t k = 0; k < line.size(); ++k) best[k] = std::max(best[k], line[k]);
            line = {};
            ++lines;
        }
        for (std::size_t k = 0; k < kSeparators.size(); ++k)
            if (c == kSeparators[k]) ++line[k];
    }
    for (std::size_t k = 0; k < line.size(); ++k) best[k] = std::max(best[k], line[k]);
    const auto most = std::max_element(best.begin(), best.end()) - best.begin();
    return best[most] ? kSeparators[most] : ',';
}

} // namespace

Cell cellFromText(std::string text) {
    Cell cell;
    if (text.find_first_not_of(" \t") == std::string::npos) return cell;
    if (const auto number = kernel::tryStrToFloat(text)) {
        cell.kind = Cell::Kind::Number;
        cell.number = *number;
    } else {
        cell.kind = Cell::Kind::Text;
    }
    cell.text = std::move(text);
    return cell;
}

std::string raggedRowMessage(std::size_t line) {
    return "记录文件第 " + std::to_string(line) + " 行的字段比标题行多！";
}

Sheet sheetFromRows(std::vector<SheetRow> rows, const std::vector<std::size_t>& lines) {
    Sheet sheet;
    std::size_t width = 0;
    bool headed = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SheetRow& row = rows[i];
        const std::size_t cells = filled(row);
        if (cells == 0) continue;
        if (!headed) {
            // A title above the heading (a station's name, a date) fills one cell at most.
            if (cells < 2) continue;
            headed = true;
            while (!row.empty() && row.back().kind == Cell::Kind::Empty) row.pop_back();
            width = row.size();
            for (const Cell& c : row) {
                std::string name = c.text;
                if (c.kind == Cell::Kind::Number && name.empty()) name = kernel::formatGeneral(c.number);
                const auto first = name.find_first_not_of(" \t"), last = name.find_last_not_of(" \t");
                sheet.heading.push_back(first == std::string::npos ? "" : name.substr(first, last - first + 1));
            }
            continue;
        }
        while (row.size() > width && row.back().kind == Cell::Kind::Empty) row.pop_back();
        if (row.size() > width) throw IoError(raggedRowMessage(lines[i]));
        row.resize(width);
        sheet.rows.push_back(std::move(row));
        sheet.lines.push_back(lines[i]);
    }
    if (!headed) throw IoError(messages::kNoHeading);
    return sheet;
}

Sheet parseCsv(std::string_view bytes) {
    const std::string text = decodeText(bytes);
    const char separator = separatorOf(text);
    std::vector<SheetRow> rows;
    std::vector<std::size_t> lines;
    SheetRow row;
    std::string field;
    bool quoted = false, wasQuoted = false, fieldStarted = false;
    std::size_t line = 1, rowLine = 1;
    auto endField = [&] {
        if (row.size() >= kMaxColumns) throw IoError(messages::kTooManyColumns);
        row.push_back(cellFromText(std::move(field)));
        field.clear();
        wasQuoted = fieldStarted = false;
    };
    auto endRow = [&] {
        endField();
        if (rows.size() > kMaxRecords) throw IoError(messages::kTooManyRows);
        rows.push_back(std::move(row));
        lines.push_back(rowLine);
        row.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') field.push_back(text[++i]);
            else if (c == '"') quoted = false;
            else {
                if (c == '\n') ++line;
                field.push_back(c);
            }
        } else if (c == '"' && !fieldStarted) {
            quoted = wasQuoted = fieldStarted = true;
        } else if (c == separator) {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            endRow();
            rowLine = ++line;
        } else {
            field.push_back(c);
            if (c != ' ' && c != '\t') fieldStarted = true;
        }
    }
    if (quoted) throw IoError(messages::kQuote);
    if (!field.empty() || !row.empty() || wasQuoted) endRow();
    return sheetFromRows(std::move(rows), lines);
}

Sheet readSheet(const std::filesystem::path& path) {
    const auto prefix = persist::readFilePrefix(path, kMaxFileBytes);
    if (!prefix) persist::throwIoError("无法读取记录文件", path, ENOENT, persist::IoAccess::Read);
    if (prefix->truncated) throw IoError(messages::kTooLarge);
    const std::string_view bytes = prefix->bytes;
    if (bytes.starts_with("PK\x03\x04")) return readXlsx(path);
    if (bytes.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) return readXls(path);
    return parseCsv(bytes);
}

} // namespace kelvora::identify
