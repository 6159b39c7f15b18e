#pragma once
// Level from a known volume ("已知容积求液位"): the lowest level at which the described
// tank holds at least a given amount, by the same VolumeAtLevel as the table and with the
// same weight-mode conversion, so the answer agrees with the table's rows.

#include "capacity/named_inputs.h"
#include "capacity/requests.h"
#include "capacity/tank_description.h"

#include <optional>
#include <string>

namespace kelvora::capacity {

// The levels searched: from level 0 to the tank's top level (the diameter, then the section
// height, as the table's top level is limited); for calibration points from the lowest to
// the highest calibration level. Nothing when the tank has no height to search.
struct LevelRange {
    double bottom = 0, top = 0;
};
std::optional<LevelRange> levelRange(const TTankDescription& d);

struct LevelSearch {
    enum class Status { Found, AboveCapacity, BelowBottom, NoHeight, LevelFailed };
    Status status = Status::NoHeight;
    double level = 0;             // Found: mm, a multiple of 0.01 mm or the range's end;
                                  // LevelFailed: the level whose volume failed or is negative
    bool negative = false;        // LevelFailed: the volume there is negative
    LevelRange range;             // the levels searched
    long double bottomAmount = 0; // the amount at the range's bottom
    long double capacity = 0;     // the amount at the range's top
};

// The amount at a level is VolumeAtLevel × `scale` (1000 for litres, the density in
// kg/m³ for kilograms). The answer is the lowest level of the range, rounded up to the
// next 0.01 mm, whose amount is at least `target`; the range's own bottom and top count as
// levels too. Volumes need not rise with the level: the first crossing is found by a scan
// (at every calibration level and in fine steps) and then narrowed down to 0.01 mm. A level
// met on the way whose volume cannot be composed or is negative ends the search there.
LevelSearch levelFor(const TTankDescription& d, long double target, long double scale);

namespace messages {
inline constexpr const char* kNoTankHeight = "呵呵，油罐高度为零，求不出液位！";
} // namespace messages

// The message of a refused search: above the capacity, or below the amount at level 0 (the
// dead volume), with that amount in the unit of the table.
std::string levelForMessage(const LevelSearch& search, bool weight);

// The level-from-volume request: reads the description (common group Edit13, Edit31,
// Edit32, Edit33), the known amount in LevelForValue (litres, kilograms in weight mode, or
// with LevelForMode on "百分比" a percentage of the capacity) and writes the level in mm,
// general format, into LevelForResult. A stop or a refusal leaves LevelForResult as it was.
RequestOutcome LevelForVolume(NamedInputs& inputs);

} // namespace kelvora::capacity
