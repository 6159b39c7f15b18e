#pragma once
// Whether a vertical tank's inputs describe a tank whose tables can be shown. Each check
// answers empty when the request may go on, otherwise the message naming the input.

#include "vertical/vertical_tank.h"

#include <string>

namespace kelvora::vertical {

namespace messages {
inline constexpr const char* kCourseCount = "呵呵，立式圆筒的圈板要有1到50个！";
inline constexpr const char* kTilt = "呵呵，立式圆筒的倾斜角 θ 必须不小于0度、小于5度！";
inline constexpr const char* kFirstBottomPoint = "呵呵，第 1 个罐底点的高度必须为0！";
inline constexpr const char* kRoofMass = "呵呵，浮顶质量必须大于零！";
inline constexpr const char* kRoofLevels = "呵呵，浮顶的落底高度必须低于起浮高度！";
inline constexpr const char* kNoDensity = "呵呵，静压力容量增大值和浮顶排液量要先输入液体密度！";
inline constexpr const char* kDensityRange = "呵呵，立式圆筒的液体密度必须在100到3000 kg/m3之间！";
} // namespace messages

// The courses, the tilt, the bottom points, the deadwood and the roof, in that order.
std::string checkVerticalTank(const VerticalTank& tank);

// The liquid density: required when `needed` (the hydrostatic table, a roof), and within
// 100 … 3000 kg/m^3 whenever it is given.
std::string checkLiquidDensity(const VerticalTank& tank, bool needed);

// A table's or a quick calculation's level no higher than the shell.
std::string checkLevelInShell(const VerticalTank& tank, double level);

} // namespace kelvora::vertical
