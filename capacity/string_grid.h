#pragma once
// The calibration grid's content: a column and row count and a text per cell.
// Cells outside the current counts keep their texts, so lowering the point count hides
// rows without erasing them and raising it shows them again.

#include <string>
#include <string_view>
#include <vector>

namespace kelvora::capacity {

class StringGrid {
public:
    StringGrid(int cols = 3, int rows = 2) { setColCount(cols), setRowCount(rows); }

    int colCount() const { return cols_; }
    int rowCount() const { return rows_; }
    int fixedCols() const { return fixedCols_; }
    int fixedRows() const { return fixedRows_; }

    // A count below 1 is taken as 1; the fixed row or column goes when it leaves no room.
    void setColCount(int cols) {
        cols_ = cols < 1 ? 1 : cols;
        if (fixedCols_ >= cols_) fixedCols_ = cols_ - 1;
    }
    void setRowCount(int rows) {
        rows_ = rows < 1 ? 1 : rows;
        if (fixedRows_ >= rows_) fixedRows_ = rows_ - 1;
    }

    const std::string& cell(int col, int row) const {
        static const std::string empty;
        if (col < 0 || row < 0 || col >= static_cast<int>(cells_.size())) return empty;
        const auto& column = cells_[col];
        return row < static_cast<int>(column.size()) ? column[row] : empty;
    }

    void setCell(int col, int row, std::string_view text) {
        if (col < 0 || row < 0) return;
        if (col >= static_cast<int>(cells_.size())) {
            if (text.empty()) return;
            cells_.resize(col + 1);
        }
        auto& column = cells_[col];
        if (row >= static_cast<int>(column.size())) {
            if (text.empty()) return;
            column.resize(row + 1);
        }
        column[row].assign(text);
    }

private:
    int cols_ = 1;
    int rows_ = 1;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    std::vector<std::vector<std::string>> cells_;
};

} // namespace kelvora::capacity
