#pragma once
// Columns beside a table's rows, as a verifier's document and the page show them: the value
// with two fixed decimals, so the points line up, and the volume per millimetre up to the
// next row, by which a reading between two rows is interpolated by hand.

#include "capacity/row_list.h"

#include <optional>
#include <string>
#include <string_view>

namespace kelvora::capacity {

// A row's value text ("6698.5", "10081", "1E15") with exactly two decimals ("6698.50",
// "10081.00", "1000000000000000.00"); a text that is no number is returned as it is.
std::string fixedDecimals(std::string_view valueText);

// (V_next − V) / (level_next − level) of row i from the rows' own rounded texts, the levels
// taken from centimetres to millimetres; none on the last row or between equal levels.
std::optional<double> perMillimetre(const RowList& rows, std::size_t i);

// The per-millimetre value with three decimals, "" for none.
std::string perMillimetreText(std::optional<double> value);

} // namespace kelvora::capacity
