#pragma once
// A vertical tank's two tables beside the main one, as the workbook's sheets "小数表" (one
// row per course: 圈板, 1 mm … 9 mm) and "静压力容量增大值表" (高度cm, 增大值L).

#include "capacity/tank_description.h"
#include "output/document_model.h"
#include "output/text_sheet.h"

#include <string>
#include <vector>

namespace kelvora::output {

inline constexpr const char* kMillimetreSheetName = "小数表";
inline constexpr const char* kHydrostaticSheetName = "静压力容量增大值表";

struct VerticalSheets {
    std::vector<TextSheet> sheets; // none for any other structure
    std::string refusal;           // the liquid density the hydrostatic table needs
};

// For a read and checked description.
VerticalSheets verticalSheets(const capacity::TTankDescription& d);

// The header's fields of a vertical tank, after its structure and dimensions: each course
// (height, circumference, thickness, internal diameter), the tilt, the bottom points, the
// deadwood, the roof with its displacement, the liquid density and the reference height.
// None for any other structure.
std::vector<DocumentField> verticalFields(const capacity::TTankDescription& d);

} // namespace kelvora::output
