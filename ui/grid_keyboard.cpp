#include "ui/grid_keyboard.h"

namespace kelvora::ui {

namespace {

bool takesInput(GridCell cell, const GridShape& shape) {
    return cell.row >= shape.fixedRows && cell.row < shape.rows && cell.col >= shape.fixedCols && cell.col < shape.cols;
}

} // namespace

GridCell tabTarget(GridCell from, bool forward, const GridShape& shape) {
    const int inputCols = shape.cols - shape.fixedCols, inputRows = shape.rows - shape.fixedRows;
    if (inputCols <= 0 || inputRows <= 0) return from;
    // Cells in reading order, numbered over the input area; a fixed cell counts as lying
    // just before the first input cell of its row.
    const int row = from.row < shape.fixedRows ? 0 : from.row - shape.fixedRows;
    int at = row * inputCols + (from.col < shape.fixedCols ? -1 : from.col - shape.fixedCols);
    if (!forward && from.col < shape.fixedCols) ++at; // Shift+Tab on a row number: the row before
    if (from.row < shape.fixedRows) at = forward ? -1 : 0;
    const int count = inputCols * inputRows;
    const int next = ((at + (forward ? 1 : -1)) % count + count) % count;
    return {shape.fixedRows + next / inputCols, shape.fixedCols + next % inputCols};
}

std::optional<GridCell> typingTarget(GridCell at, const GridShape& shape) {
    if (takesInput(at, shape)) return at;
    const GridCell first{at.row, shape.fixedCols};
    if (at.col < shape.fixedCols && takesInput(first, shape)) return first;
    return std::nullopt;
}

} // namespace kelvora::ui
