#include "capacity/calibration_grid.h"

#include "capacity/input_table.h"
#include "kernel/number_text.h"

#include <string>

namespace kelvora::capacity {

namespace {

void numberRows(StringGrid& grid, int points) {
    grid.setRowCount(points + 1);
    for (int r = 1; r <= points; ++r) grid.setCell(0, r, std::to_string(r));
}

} // namespace

void setUpCalibrationGrid(NamedInputs& inputs) {
    const std::string shown = inputs.text("ComboBox2");
    inputs.setItems("ComboBox2", pointCountItems());
    inputs.setText("ComboBox2", shown);
    if (inputs.itemIndex("ComboBox2") < 0) inputs.setItemIndex("ComboBox2", 6);
    StringGrid& grid = inputs.grid();
    numberRows(grid, kernel::strToInt(inputs.text("ComboBox2")));
    grid.setCell(0, 0, "序号");
    grid.setCell(1, 0, "高度 mm");
    grid.setCell(2, 0, "容积 L");
    inputs.gridChanged();
}

void applyPointCount(NamedInputs& inputs) {
    numberRows(inputs.grid(), kernel::strToInt(inputs.text("ComboBox2")));
    inputs.gridChanged();
}

void clearPoints(NamedInputs& inputs) {
    StringGrid& grid = inputs.grid();
    for (int r = 1; r < grid.rowCount(); ++r)
        for (int c = 1; c < grid.colCount(); ++c) grid.setCell(c, r, "");
    inputs.gridChanged();
}

} // namespace kelvora::capacity
