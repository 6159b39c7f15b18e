#pragma once
// Whether a read description is a tank whose volumes can be shown: every request (the
// table, the quick calculation, the level from a volume, the document, the batch tool)
// passes it before any level is composed, so no row, answer or document shows the number
// of a tank that does not exist.

#include "capacity/tank_description.h"

#include <string>

namespace kelvora::capacity {

namespace messages {
inline constexpr const char* kInclinedAngle = "呵呵，倾斜圆筒的倾角 α 必须不小于0度、小于45度！";
inline constexpr const char* kSphereDiameter = "呵呵，球罐内直径必须大于零！";
inline constexpr const char* kFirstLevelNegative = "呵呵，液位高度从不能小于零！";
inline constexpr const char* kFirstLevelAboveLast = "呵呵，液位高度从不能高于终止液位！";
inline constexpr const char* kQuickLevelNegative = "呵呵，液位不能小于零！";
} // namespace messages

// Empty when the request may go on; otherwise the message naming the first part that
// describes no tank: the shell's dimensions and angle, then the heads that shape this
// section, the calibration points, and the request's levels.
std::string checkTank(const TTankDescription& d, RequestType type);

// The calibration points' own order: levels strictly rising, volumes not falling. Empty
// when they are in order, otherwise the message naming the first point out of order.
std::string checkCalibrationPoints(const TTankDescription& d);

// The message for a level whose volume cannot be composed, or is negative.
std::string levelFailedMessage(const TTankDescription& d, double x, bool negative);

// For calibration points: the words stating which part of [low, high] (mm) lies outside
// the points and is extrapolated ("外推"); empty when all of it lies within them.
std::string extrapolationNote(const TTankDescription& d, double low, double high);

} // namespace kelvora::capacity
