#pragma once
// StringGrid1's keyboard. Tab and Shift+Tab go from point cell to point cell, row by row,
// over the row numbers and headings, which take no input; a key typed while a row number
// has the focus goes into that row's first point cell. A plain table view would stop on
// the fixed cells and, on a key typed there, search the column for a cell starting with
// that key and jump to its row, so the points typed next would land in another row.

#include <optional>

namespace kelvora::ui {

struct GridCell {
    int row = 0, col = 0;
    bool operator==(const GridCell&) const = default;
};

struct GridShape {
    int rows = 0, cols = 0;
    int fixedRows = 0, fixedCols = 0;
};

// The cell Tab (forward) or Shift+Tab reaches from `from`: the next cell that takes input,
// row by row, wrapping at either end of the grid; `from` when no cell takes input.
GridCell tabTarget(GridCell from, bool forward, const GridShape& shape);

// The cell a typed key goes into from `at`: `at` itself when it takes input, the first
// point cell of its row when `at` is a row number; none in the heading row.
std::optional<GridCell> typingTarget(GridCell at, const GridShape& shape);

} // namespace kelvora::ui
