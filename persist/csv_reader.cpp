#include "persist/csv_reader.h"

#include "persist/gbk_text.h"
#include "persist/utf8_text.h"

#include <algorithm>
#include <array>

namespace kelvora::persist {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::size_t lineAt(std::string_view text, std::size_t pos) {
    return 1 + static_cast<std::size_t>(
                   std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(pos), '\n'));
}

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

} // namespace

CsvError::CsvError(Kind kind, std::size_t line)
    : Error("line " + std::to_string(line)), kind_(kind), line_(line) {}

std::string decodeUtf8OrGbk(std::string_view bytes) {
    const bool marked = bytes.starts_with(kUtf8Bom);
    if (marked) bytes.remove_prefix(kUtf8Bom.size());
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos)
        throw CsvError(CsvError::Kind::Encoding, lineAt(bytes, nul));
    const std::size_t valid = utf8ValidLength(bytes);
    if (valid == bytes.size()) return std::string(bytes);
    // The mark says UTF-8: a byte that is not is damage, not another code page.
    if (marked) throw CsvError(CsvError::Kind::Encoding, lineAt(bytes, valid));
    // GBK keeps every ASCII byte, line ends included, so lines count alike in both.
    std::string text = gbkToUtf8(bytes);
    if (const auto bad = text.find(kReplacement); bad != std::string::npos)
        throw CsvError(CsvError::Kind::Encoding, lineAt(text, bad));
    return text;
}

char separatorOf(std::string_view text) {
    constexpr std::array<char, 3> kSeparators{',', ';', '\t'};
    std::array<std::size_t, 3> best{};  // cells on the first line split, per separator
    std::array<std::size_t, 3> cells{}; // non-blank cells on the current line
    std::array<bool, 3> filled{};       // the current cell of each split is non-blank
    bool quoted = false;
    int lines = 0;
    auto endLine = [&] {
        for (std::size_t k = 0; k < kSeparators.size(); ++k) {
            const std::size_t n = cells[k] + (filled[k] ? 1 : 0);
            if (best[k] == 0 && n >= 2) best[k] = n;
        }
        cells = {};
        filled = {};
        ++lines;
    };
    for (std::size_t i = 0; i < text.size() && lines < 20; ++i) {
        const char c = text[i];
        if (c == '"') quoted = !quoted;
        if (!quoted && isLineEnd(c)) {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            endLine();
            continue;
        }
        for (std::size_t k = 0; k < kSeparators.size(); ++k) {
            if (!quoted && c == kSeparators[k]) {
                if (filled[k]) ++cells[k];
                filled[k] = false;
            } else if (c != ' ' && c != '\t') {
                filled[k] = true;
            }
        }
    }
    if (lines < 20) endLine();
    std::size_t chosen = 0;
    for (std::size_t k = 1; k < kSeparators.size(); ++k)
        if (best[k] > best[chosen]) chosen = k;
    return best[chosen] ? kSeparators[chosen] : ',';
}

CsvReader::CsvReader(std::string_view text, Options options)
    : text_(text), options_(options), separator_(separatorOf(text)) {}

bool CsvReader::next(std::vector<CsvCell>& cells, std::size_t& line) {
    cells.clear();
    if (pos_ >= text_.size()) return false;
    line = line_;
    CsvCell cell;
    bool quoted = false, blank = true;
    auto endCell = [&] {
        if (cells.size() >= options_.maxCells) throw CsvError(CsvError::Kind::TooManyCells, line);
        cells.push_back(std::move(cell));
        cell = CsvCell{};
        blank = true;
    };
    const std::size_t size = text_.size();
    while (pos_ < size) {
        const char c = text_[pos_++];
        if (quoted) {
            if (c == '"' && pos_ < size && text_[pos_] == '"') {
                cell.text.push_back('"');
                ++pos_;
            } else if (c == '"') {
                quoted = false;
            } else {
                if (c == '\n' || (c == '\r' && (pos_ >= size || text_[pos_] != '\n'))) ++line_;
                cell.text.push_back(c);
            }
        } else if (c == '"' && blank) {
            cell.text.clear();
            cell.quoted = quoted = true;
            blank = false;
        } else if (c == separator_) {
            endCell();
        } else if (isLineEnd(c)) {
            if (c == '\r' && pos_ < size && text_[pos_] == '\n') ++pos_;
            ++line_;
            endCell();
            return true;
        } else {
            if (options_.refuseControl && static_cast<unsigned char>(c) < 0x20 && c != '\t')
                throw CsvError(CsvError::Kind::Control, line_);
            cell.text.push_back(c);
            if (c != ' ' && c != '\t') blank = false;
        }
    }
    if (quoted) throw CsvError(CsvError::Kind::Quote, line);
    endCell();
    return true;
}

} // namespace kelvora::persist
