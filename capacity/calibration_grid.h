#pragma once
// The calibration grid's layout: headings, row numbers, and the point count of ComboBox2.

#include "capacity/named_inputs.h"

namespace kelvora::capacity {

// Start-up set-up: ComboBox2 gets the items "2" … "200" and keeps the count it showed
// (the one the settings restored), or shows "8" when it showed none of them; the grid gets
// that many rows plus the heading row, the row numbers and the headings. Points the grid
// held stay in its cells.
void setUpCalibrationGrid(NamedInputs& inputs);

// A pick of ComboBox2: the grid gets M + 1 rows, rows 1 … M renumbered; point cells stay.
void applyPointCount(NamedInputs& inputs);

// Empties the point cells of the visible rows; headings, row numbers and hidden rows stay.
void clearPoints(NamedInputs& inputs);

} // namespace kelvora::capacity
