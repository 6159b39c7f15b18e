#pragma once
// What a saved capacity table must look like, derived entry by entry from the placement
// rule (entry i of group k = i / N at row i − k·N + 3, columns 2k+1 and 2k+2), so that it
// checks the writers' row-by-row walk instead of repeating it.

#include "capacity/row_list.h"
#include "kernel/number_text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::output::test {

struct ExpectedCell {
    bool number = false;
    double value = 0;
    std::string text;
};

class ExpectedSheet {
public:
    ExpectedSheet(const capacity::RowList& rows, std::uint64_t n, bool weight)
        : rows_(rows), n_(n), weight_(weight) {
        groups_ = rows.size() <= n ? 1 : (rows.size() + n - 1) / n;
        cells_ = 1 + 2 * groups_;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto [level, value] = split(rows[i]);
            cells_ += !level.empty() + !value.empty();
        }
    }

    std::uint64_t groups() const { return groups_; }
    std::uint64_t cellCount() const { return cells_; }

    std::optional<ExpectedCell> at(std::uint64_t row, std::uint64_t column) const {
        if (row == 1) return column == groups_ ? std::optional(text("油罐容积表")) : std::nullopt;
        if (column < 1 || column > 2 * groups_) return std::nullopt;
        if (row == 2) return text(column % 2 == 1 ? "高度cm" : weight_ ? "重量Kg" : "容积L");
        const std::uint64_t k = (column - 1) / 2, j = row - 3, i = k * n_ + j;
        if (row < 3 || j >= n_ || i >= rows_.size()) return std::nullopt;
        const auto [level, value] = split(rows_[i]);
        const std::string_view part = column % 2 == 1 ? level : value;
        if (part.empty()) return std::nullopt;
        if (const auto v = kernel::tryStrToFloat(part)) return ExpectedCell{true, *v, {}};
        return text(part);
    }

private:
    static std::pair<std::string_view, std::string_view> split(std::string_view entry) {
        const auto comma = entry.find(',');
        if (comma == std::string_view::npos) return {{}, entry};
        return {entry.substr(0, comma), entry.substr(comma + 1)};
    }
    static ExpectedCell text(std::string_view s) { return {false, 0, std::string(s)}; }

    const capacity::RowList& rows_;
    std::uint64_t n_;
    bool weight_;
    std::uint64_t groups_ = 1;
    std::uint64_t cells_ = 0;
};

inline capacity::RowList rowList(const std::vector<std::string>& entries) {
    capacity::RowList rows;
    for (const auto& e : entries)
        rows.append(e);
    return rows;
}

} // namespace kelvora::output::test
