#pragma once
// A further sheet of a workbook after the tank's sheet: a name and its rows of texts from
// row 1, column A; a text that is a plain decimal is stored as that number.

#include <cstdint>
#include <string>
#include <vector>

namespace kelvora::output {

struct TextSheet {
    std::string name;
    std::vector<std::vector<std::string>> rows;
};

inline std::uint64_t textSheetCells(const TextSheet& sheet) {
    std::uint64_t n = 0;
    for (const auto& row : sheet.rows)
        for (const auto& text : row)
            n += text.empty() ? 0 : 1;
    return n;
}

} // namespace kelvora::output
