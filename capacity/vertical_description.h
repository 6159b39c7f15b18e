#pragma once
// The vertical cylindrical tank ("立式圆筒", the fifth structure page) as the requests read
// it: its inputs on the page TabSheet10, kept in [Kelvora] and in tank files, the repeated
// ones (courses, bottom points, deadwood) each as one list "a,b,c;d,e,f".

#include "capacity/tank_description.h"
#include "vertical/vertical_tank.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvora::capacity {

inline constexpr int kVerticalPage = static_cast<int>(TStructureKind::skVertical);

namespace vertical_input {
inline constexpr std::string_view kCourses = "VerticalCourses";
inline constexpr std::string_view kBottom = "VerticalBottom";
inline constexpr std::string_view kDeadwood = "VerticalDeadwood";
inline constexpr std::string_view kTilt = "VerticalTilt";
inline constexpr std::string_view kDensity = "VerticalDensity";
inline constexpr std::string_view kRoofMass = "VerticalRoofMass";
inline constexpr std::string_view kRoofFloat = "VerticalRoofFloat";
inline constexpr std::string_view kRoofRest = "VerticalRoofRest";
inline constexpr std::string_view kReferenceHeight = "VerticalReferenceHeight";
} // namespace vertical_input

namespace messages {
inline constexpr const char* kVerticalRoof = "呵呵，浮顶数据还没输完呢！";
inline constexpr const char* kVerticalNoCompare = "呵呵，立式圆筒的几何就是圈板，没有两种方法可比较！";
inline constexpr const char* kVerticalNoUncertainty = "呵呵，立式圆筒暂不计算不确定度！";
} // namespace messages

// The page's inputs into `tank`; empty, or the message of a list entry without its fields
// or a roof given in part. A number field holding text throws ConvertError. The tilt is 0
// when empty; the density, the roof and the reference height are absent when empty.
std::string readVerticalTank(const NamedInputs& inputs, vertical::VerticalTank& tank);

// The vertical tank's checks for a request: the tank, the density where the roof needs
// it, and the table's last level or the quick level within the shell.
std::string checkVerticalDescription(const TTankDescription& d, RequestType type);

// The line naming the part of [low, high] (mm) that lies in "浮盘起浮区", from the roof's
// rest level up to, not including, its floating level; empty when none does.
std::string roofZoneNote(const TTankDescription& d, double low, double high);

inline constexpr const char* kRoofZoneRemark = "浮盘起浮区";
inline constexpr const char* kRemarkHeading = "备注";

// For each level of the table of `d`, whether it lies in "浮盘起浮区"; empty when none does
// (any other structure, no roof, or a range that misses the zone).
std::vector<bool> roofZoneRows(const TTankDescription& d);

} // namespace kelvora::capacity
