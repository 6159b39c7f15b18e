#pragma once
// The columns a verifier may choose beside a table's level and value, in the order the
// table page shows them: the value per millimetre up to the next row (附毫米容量), then the
// expanded uncertainty U and U/V (when any standard uncertainty is given), and a vertical
// tank's 备注 marking the rows in "浮盘起浮区". The document and the workbook show the same
// texts under the same headings.

#include "capacity/named_inputs.h"
#include "capacity/row_list.h"
#include "capacity/tank_description.h"
#include "capacity/uncertainty.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kelvora::output {

inline constexpr const char* kPerMillimetreHeading = "每毫米容量";
inline constexpr const char* kRelativeUncertaintyHeading = "U/V";

struct TableColumns {
    std::vector<std::string> headings;           // "每毫米容量", "U (L)" or "U (kg)", "U/V", as chosen
    std::vector<std::vector<std::string>> cells; // cells[c][i]: column c's text of row i
    bool empty() const { return headings.empty(); }
};

// The table's unit per cubic metre: litres, or the density in kg/m³ with the weight option.
double tableValueScale(const capacity::NamedInputs& inputs);

// The rows' uncertainty (the table's unit: litres, or kilograms with the weight option),
// or none when no standard uncertainty is given.
std::optional<std::vector<capacity::RowUncertainty>> tableUncertaintyOf(const capacity::TTankDescription& d,
                                                                        const capacity::NamedInputs& inputs);

// The chosen columns of a table of `rowCount` rows made from `d`: 每毫米容量 with
// PerMillimetre checked, (V(x[i+1]) − V(x[i])) / (x[i+1] − x[i]) from the unrounded values
// and the levels in mm, two decimals, empty on the last row; U with two decimals and U/V
// in percent with three decimals and "%" when `uncertainty` is given, U/V empty where the
// value is 0; 备注 with "浮盘起浮区" on the rows of a floating roof's zone, when any is.
TableColumns tableColumns(const capacity::TTankDescription& d, const capacity::NamedInputs& inputs,
                          std::size_t rowCount,
                          const std::optional<std::vector<capacity::RowUncertainty>>& uncertainty);

// The value per millimetre as the columns show it: two decimals, never "-0.00"; "" for none.
std::string perMillimetreColumnText(std::optional<double> value);

} // namespace kelvora::output
