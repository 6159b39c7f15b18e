#pragma once
// The vertical tank's two tables beside the main one: the increase of capacity under the
// liquid's pressure at each level of the main table (静压力容量增大值表), and the litres in
// 1 … 9 mm of each course (小数表). Both in litres, two decimals, as the rows print them.

#include "capacity/named_inputs.h"
#include "capacity/requests.h"
#include "capacity/row_list.h"

#include <string>
#include <vector>

namespace kelvora::capacity {

// "level,increase" for the main table's levels at the liquid density VerticalDensity,
// which is then required. Refused as the main table is, and for any other structure.
RequestOutcome HydrostaticTable(NamedInputs& inputs, RowList& rows);

// One row per course from the bottom: the course's number from 1, then the litres of 1 … 9 mm.
RequestOutcome MillimetreTable(NamedInputs& inputs, std::vector<std::vector<std::string>>& rows);

// The rows of a read and checked vertical description.
RowList hydrostaticRows(const TTankDescription& d);
std::vector<std::vector<std::string>> millimetreRows(const TTankDescription& d);

namespace messages {
inline constexpr const char* kNotVertical = "呵呵，静压力容量增大值表和小数表只适用于立式圆筒！";
} // namespace messages

} // namespace kelvora::capacity
