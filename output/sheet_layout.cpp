#include "output/sheet_layout.h"

#include "kernel/number_text.h"

#include <algorithm>
#include <vector>

namespace kelvora::output {

std::int32_t rowsPerGroupFromText(std::string_view edit9Text) {
    const auto n = kernel::tryStrToInt(edit9Text);
    if (!n || *n <= 0) return kDefaultRowsPerGroup;
    return *n;
}

EntryParts splitEntry(std::string_view entry) {
    const auto comma = entry.find(',');
    if (comma == std::string_view::npos) return {{}, entry};
    return {entry.substr(0, comma), entry.substr(comma + 1)};
}

std::optional<double> cellNumber(std::string_view part) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::size_t i = 0;
    const bool negative = !part.empty() && part[0] == '-';
    if (negative) ++i;
    std::uint64_t mantissa = 0;
    int digits = 0, fraction = -1;
    for (; i < part.size(); ++i) {
        const char c = part[i];
        if (c >= '0' && c <= '9') {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            ++digits;
            if (fraction >= 0) ++fraction;
        } else if (c == '.' && fraction < 0) {
            fraction = 0;
        } else {
            break;
        }
    }
    if (i != part.size() || digits == 0 || digits > 15) return kernel::tryStrToFloat(part);
    const double magnitude = static_cast<double>(mantissa) / kPowersOfTen[fraction < 0 ? 0 : fraction];
    return negative ? -magnitude : magnitude;
}

SheetLayout::SheetLayout(const capacity::RowList& rows, std::string_view edit9Text, bool weight,
                         const TableColumns& columns)
    : rows_(rows), columns_(columns), rowsPerGroup_(rowsPerGroupFromText(edit9Text)),
      width_(2 + columns.headings.size()), weight_(weight) {
    const std::uint64_t count = rows_.size();
    const std::uint64_t n = static_cast<std::uint64_t>(rowsPerGroup_);
    groups_ = count <= n ? 1 : (count + n - 1) / n;
}

std::uint64_t SheetLayout::lastRow() const {
    const std::uint64_t entryRows =
        std::min<std::uint64_t>(rows_.size(), static_cast<std::uint64_t>(rowsPerGroup_));
    return 2 + entryRows;
}

std::uint64_t SheetLayout::textBytesBound() const {
    std::uint64_t bytes =
        rows_.bytes() + kTableTitle.size() + groups_ * (kLevelHeading.size() + kWeightHeading.size());
    for (std::size_t c = 0; c < columns_.headings.size(); ++c) {
        bytes += groups_ * columns_.headings[c].size();
        for (const std::string& text : columns_.cells[c])
            bytes += text.size();
    }
    return bytes;
}

std::uint64_t SheetLayout::cellCount() const {
    std::uint64_t cells = 1 + width_ * groups_;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const EntryParts parts = splitEntry(rows_[i]);
        cells += (parts.level.empty() ? 0 : 1) + (parts.value.empty() ? 0 : 1);
    }
    for (const auto& column : columns_.cells)
        for (std::size_t i = 0; i < rows_.size() && i < column.size(); ++i)
            cells += column[i].empty() ? 0 : 1;
    return cells;
}

void SheetLayout::forEachRow(const RowVisitor& visit) const {
    std::vector<Cell> cells;
    cells.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(lastColumn(), 1u << 16)));

    const Cell title{1, groups_, kTableTitle, std::nullopt};
    visit(1, std::span<const Cell>(&title, 1));

    for (std::uint64_t k = 0; k < groups_; ++k) {
        cells.push_back({2, width_ * k + 1, kLevelHeading, std::nullopt});
        cells.push_back({2, width_ * k + 2, valueHeading(), std::nullopt});
        for (std::size_t c = 0; c < columns_.headings.size(); ++c)
            cells.push_back({2, width_ * k + 3 + c, columns_.headings[c], std::nullopt});
    }
    visit(2, cells);

    const std::uint64_t count = rows_.size();
    const std::uint64_t n = static_cast<std::uint64_t>(rowsPerGroup_);
    for (std::uint64_t j = 0; j < n && j < count; ++j) {
        cells.clear();
        const std::uint64_t row = j + 3;
        // Every group but the last is full, so the groups reaching row j are a prefix.
        for (std::uint64_t k = 0, i = j; k < groups_ && i < count; ++k, i += n) {
            const EntryParts parts = splitEntry(rows_[static_cast<std::size_t>(i)]);
            if (!parts.level.empty())
                cells.push_back({row, width_ * k + 1, parts.level, cellNumber(parts.level)});
            if (!parts.value.empty())
                cells.push_back({row, width_ * k + 2, parts.value, cellNumber(parts.value)});
            for (std::size_t c = 0; c < columns_.cells.size(); ++c) {
                const std::string_view text =
                    i < columns_.cells[c].size()
                        ? std::string_view(columns_.cells[c][static_cast<std::size_t>(i)])
                        : "";
                if (!text.empty()) cells.push_back({row, width_ * k + 3 + c, text, cellNumber(text)});
            }
        }
        if (!cells.empty()) visit(row, cells);
    }
}

} // namespace kelvora::output
