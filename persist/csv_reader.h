#pragma once
// The one reader of comma-separated text in Kelvora, shared by the station records and the
// tank registers: the bytes decoded once (UTF-8 with or without a byte-order mark,
// otherwise GBK, the code page a Chinese spreadsheet saves in), then split into records as
// spreadsheet applications save them: cells separated by a comma, a semicolon (the locales
// whose decimal sign is a comma) or a tab, the separator being the one that splits the
// heading line into the most cells (a title line above the heading, holding one cell, does
// not decide it); a cell in double quotes may hold separators, line breaks and doubled
// quotes; a record ends at CRLF, LF or a CR alone.

#include "kernel/errors.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::persist {

// Why a text could not be read, and the line (from 1) where that was seen; the callers
// put it in their own words.
class CsvError : public Error {
public:
    enum class Kind { Encoding, Quote, Control, TooManyCells };
    CsvError(Kind kind, std::size_t line);
    Kind kind() const { return kind_; }
    std::size_t line() const { return line_; }

private:
    Kind kind_;
    std::size_t line_;
};

// UTF-8 when the bytes are (a byte-order mark dropped; after one, every byte must be),
// otherwise GBK. Bytes that are neither, and NUL bytes, are refused (CsvError::Encoding)
// naming the first line that holds them, rather than shown as replacement characters.
std::string decodeUtf8OrGbk(std::string_view bytes);

// The separator of decoded text: for each of ',', ';' and '\t', the first line (of the
// first 20) that it splits into two or more non-blank cells outside quotes; the one whose
// line has the most such cells wins, the earlier in that order on a tie; ',' when none
// splits any line.
char separatorOf(std::string_view text);

struct CsvCell {
    std::string text;
    bool quoted = false; // the cell was written in double quotes
};

// Reads decoded text record by record; `text` must outlive the reader.
class CsvReader {
public:
    struct Options {
        // A control character (below U+0020, tab and line ends aside) outside quotes is
        // refused as CsvError::Control.
        bool refuseControl = false;
        // A record of more cells than this is refused as CsvError::TooManyCells.
        std::size_t maxCells = 256;
    };

    CsvReader(std::string_view text, Options options);
    char separator() const { return separator_; }

    // The next record's cells into `cells` (cleared first), its first line into `line`;
    // false at the end of the text. An empty line is a record of one empty cell.
    bool next(std::vector<CsvCell>& cells, std::size_t& line);

private:
    std::string_view text_;
    Options options_;
    char separator_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
};

} // namespace kelvora::persist
