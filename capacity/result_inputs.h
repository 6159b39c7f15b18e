#pragma once
// The two results the window shows beside the inputs they were made from: the quick
// result Edit36 and the level from a known volume, LevelForResult. Which inputs each was
// made from, so that a result can be taken away as soon as one of them changes.

#include "capacity/named_inputs.h"

#include <array>
#include <string_view>

namespace kelvora::capacity {

inline constexpr std::string_view kQuickResult = "Edit36";
inline constexpr std::string_view kLevelForResult = "LevelForResult";
inline constexpr std::array<std::string_view, 2> kResults{kQuickResult, kLevelForResult};

// The calibration grid and the structure tabs, where they count as inputs.
inline constexpr std::string_view kGridInput = "StringGrid1";
inline constexpr std::string_view kStructureTabsInput = "PageControl1";

// Whether the request writing `result` reads `input` as the inputs stand now: the inputs
// of the active structure kind (its tab, its fields, the calibration grid), both heads,
// the dead volume and the attachment, the weight switch and, in weight mode, the density
// and its unit, the method; the quick level for the quick result, the known amount and
// its kind for the level. Never the table's levels, the tank's number or owner, nor a
// result.
bool resultReads(std::string_view result, std::string_view input, const NamedInputs& inputs);

} // namespace kelvora::capacity
