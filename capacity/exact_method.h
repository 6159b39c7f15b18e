#pragma once
// The second way of composing a level's volume: every shell and head by its true
// geometry instead of the required formulas. The description carries the choice
// (ExactGeometry); VolumeAtLevel follows it, so every request does.

#include "capacity/tank_description.h"

#include <string>
#include <string_view>

namespace kelvora::capacity {

// The check box "按精确几何计算".
inline constexpr std::string_view kExactGeometryInput = "ExactGeometry";

namespace messages {
inline constexpr const char* kExactShell = "罐体尺寸不能构成实际罐体，无法按精确几何计算！";
inline constexpr const char* kExactLeftHead =
    "左封头尺寸不能构成实际封头（如 H 不大于 h、D2 不小于 D、Ri 与封头深度不相容），无法按精确几何计算！";
inline constexpr const char* kExactRightHead =
    "右封头尺寸不能构成实际封头（如 H 不大于 h、D2 不小于 D、Ri 与封头深度不相容），无法按精确几何计算！";
} // namespace messages

// The left head, the shell and the right head at level x by exact geometry, in cubic
// metres, before the signs of the subtract choices; a term that cannot be evaluated at
// this level is -1.0, as the formulas' are.
struct ExactTerms {
    double left = 0, shell = 0, right = 0;
};
ExactTerms exactTerms(const TTankDescription& d, double x);

// Empty when the exact method can evaluate the described tank; otherwise the message
// naming the part whose dimensions describe no solid (the shell, then the left head,
// then the right head).
std::string exactGeometryProblem(const TTankDescription& d);

} // namespace kelvora::capacity
