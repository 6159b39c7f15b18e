#include "identify/sheet.h"

#include "kernel/errors.h"
#include "kernel/number_text.h"
#include "persist/bounded_read.h"
#include "persist/csv_reader.h"
#include "persist/io_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace kelvora::identify {

namespace {

constexpr std::size_t kNotPooled = std::numeric_limits<std::size_t>::max();

bool blank(std::string_view s) {
    return s.find_first_not_of(" \t") == std::string_view::npos;
}

std::string trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t"), last = s.find_last_not_of(" \t");
    return first == std::string_view::npos ? std::string() : std::string(s.substr(first, last - first + 1));
}

} // namespace

std::string encodingMessage(std::size_t line) {
    return "记录文件第 " + std::to_string(line) + " 行的文字编码无法识别（应为UTF-8或GBK）！";
}

std::string raggedRowMessage(std::size_t line) {
    return "记录文件第 " + std::to_string(line) + " 行的字段比标题行多！";
}

Cell cellFromText(std::string_view text) {
    Cell cell;
    if (blank(text)) return cell;
    if (text.size() > kMaxTextBytes) throw IoError(messages::kTooLongText);
    if (const auto number = kernel::tryStrToFloat(text)) {
        cell.kind = Cell::Kind::Number;
        cell.number = *number;
    } else {
        cell.kind = Cell::Kind::Text;
        cell.text = std::string(text);
    }
    return cell;
}

// ---- Sheet -----------------------------------------------------------------------------

Cell Sheet::cell(std::size_t row, std::size_t column) const {
    Cell out;
    // The last of a column's cells wins, as when a workbook names one cell twice.
    for (std::size_t i = starts_[row + 1]; i-- > starts_[row];) {
        const Stored& s = cells_[i];
        if (s.column != column) continue;
        if (s.kind == kShared) return cellFromText(pool_->at(s.span[0]));
        out.kind = static_cast<Cell::Kind>(s.kind);
        if (out.kind == Cell::Kind::Number)
            out.number = s.number;
        else if (out.kind == Cell::Kind::Text)
            out.text = texts_.substr(s.span[0], s.span[1]);
        return out;
    }
    return out;
}

SheetRow Sheet::row(std::size_t r) const {
    SheetRow cells(heading.size());
    for (std::size_t c = 0; c < cells.size(); ++c)
        cells[c] = cell(r, c);
    return cells;
}

// ---- SheetBuilder ----------------------------------------------------------------------

SheetBuilder::SheetBuilder() {
    sheet_.starts_.push_back(0);
}

void SheetBuilder::setPool(std::shared_ptr<const StringPool> pool) {
    sheet_.pool_ = std::move(pool);
}

void SheetBuilder::add(std::size_t column, const Cell& cell) {
    if (column >= kMaxColumns) throw IoError(messages::kTooManyColumns);
    if (cell.kind == Cell::Kind::Empty) return;
    if (cell.text.size() > kMaxTextBytes) throw IoError(messages::kTooLongText);
    // A column named again replaces its cell, so a row holds at most kMaxColumns cells.
    for (Pending& p : row_)
        if (p.column == column) {
            p = {column, cell, kNotPooled};
            return;
        }
    row_.push_back({column, cell, kNotPooled});
}

void SheetBuilder::addPooled(std::size_t column, std::size_t index) {
    if (column >= kMaxColumns) throw IoError(messages::kTooManyColumns);
    if (!sheet_.pool_ || index >= sheet_.pool_->size()) throw IoError(messages::kWorkbook);
    const std::string_view text = sheet_.pool_->at(index);
    if (blank(text)) return;
    // A shared "12.5" is a number as in every other form; only texts keep their index.
    Cell cell;
    std::size_t pooled = index;
    if (const auto number = kernel::tryStrToFloat(text)) {
        cell = {Cell::Kind::Number, *number, {}};
        pooled = kNotPooled;
    }
    for (Pending& p : row_)
        if (p.column == column) {
            p = {column, std::move(cell), pooled};
            return;
        }
    row_.push_back({column, std::move(cell), pooled});
}

void SheetBuilder::endRow(std::size_t line) {
    std::vector<Pending> row;
    row.swap(row_);
    std::sort(row.begin(), row.end(), [](const Pending& a, const Pending& b) { return a.column < b.column; });
    if (!headed_) {
        // A title above the heading (a station's name, a date) fills one cell at most.
        if (row.size() < 2) return;
        headed_ = true;
        headingLine_ = line;
        sheet_.heading.assign(row.back().column + 1, std::string());
        for (const Pending& p : row) {
            std::string name;
            if (p.pooled != kNotPooled)
                name = sheet_.pool_->at(p.pooled);
            else if (p.cell.kind == Cell::Kind::Number)
                name = kernel::formatGeneral(p.cell.number);
            else if (p.cell.kind == Cell::Kind::Formula)
                name = "=";
            else
                name = p.cell.text;
            sheet_.heading[p.column] = trimmed(name);
        }
        return;
    }
    if (row.empty()) {
        ++sheet_.emptyRows;
        return;
    }
    const std::size_t number = line - headingLine_ + 1;
    if (row.back().column >= sheet_.heading.size()) throw IoError(raggedRowMessage(number));
    if (sheet_.rowCount() >= kMaxRecords) throw IoError(messages::kTooManyRows);
    for (const Pending& p : row) {
        Sheet::Stored s{};
        s.column = static_cast<std::uint16_t>(p.column);
        if (p.pooled != kNotPooled) {
            s.kind = Sheet::kShared;
            s.span[0] = static_cast<std::uint32_t>(p.pooled);
        } else {
            s.kind = static_cast<std::uint8_t>(p.cell.kind);
            if (p.cell.kind == Cell::Kind::Number) s.number = p.cell.number;
            if (p.cell.kind == Cell::Kind::Text) {
                if (sheet_.texts_.size() + p.cell.text.size() > std::numeric_limits<std::uint32_t>::max())
                    throw IoError(messages::kTooLarge);
                s.span[0] = static_cast<std::uint32_t>(sheet_.texts_.size());
                s.span[1] = static_cast<std::uint32_t>(p.cell.text.size());
                sheet_.texts_ += p.cell.text;
            }
        }
        sheet_.cells_.push_back(s);
    }
    sheet_.starts_.push_back(static_cast<std::uint32_t>(sheet_.cells_.size()));
    sheet_.lines.push_back(number);
}

Sheet SheetBuilder::finish() {
    if (!headed_) throw IoError(messages::kNoHeading);
    sheet_.cells_.shrink_to_fit();
    sheet_.texts_.shrink_to_fit();
    return std::move(sheet_);
}

// ---- Text ------------------------------------------------------------------------------

Sheet parseCsv(std::string_view bytes) {
    using persist::CsvError;
    try {
        const std::string text = persist::decodeUtf8OrGbk(bytes);
        persist::CsvReader reader(text, {.refuseControl = false, .maxCells = kMaxColumns});
        SheetBuilder builder;
        std::vector<persist::CsvCell> cells;
        std::size_t line = 0;
        while (reader.next(cells, line)) {
            for (std::size_t c = 0; c < cells.size(); ++c) {
                // A trailing separator leaves an empty cell past the last column, not a column.
                if (!blank(cells[c].text)) builder.add(c, cellFromText(cells[c].text));
            }
            builder.endRow(line);
        }
        return builder.finish();
    } catch (const CsvError& e) {
        switch (e.kind()) {
        case CsvError::Kind::Encoding:
            throw IoError(encodingMessage(e.line()));
        case CsvError::Kind::Quote:
            throw IoError(messages::kQuote);
        case CsvError::Kind::TooManyCells:
            throw IoError(messages::kTooManyColumns);
        case CsvError::Kind::Control:
            break;
        }
        throw IoError(messages::kWorkbook);
    }
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
