#pragma once
// The total liquid volume of a described tank at one level.

#include "capacity/tank_description.h"

namespace kelvora::capacity {

// Volume in cubic metres at level x (mm above the tank bottom): shell and heads by
// structure kind, by the required formulas or, when the description says so, by exact
// geometry (exactTerms), heads added or subtracted, plus the dead volume and the attachment's
// share. A failure while composing the level is swallowed: the result is then
// `previous`, the total of the request's previous level (0 at its first), or, when the
// attachment's share failed, the total without it.
double VolumeAtLevel(const TTankDescription& d, double x, double previous = 0);

// The same volume for a request that shows it: Failed when any part of the level could
// not be composed (a shell or head term with the failure value, a guard that caught a
// failure, the attachment's share), Negative when the total lies below zero; a total a
// rounding short of zero is 0.
struct LevelVolume {
    enum class Status { Ok, Failed, Negative };
    double V = 0;
    Status status = Status::Ok;
    bool ok() const { return status == Status::Ok; }
};
LevelVolume checkedVolumeAtLevel(const TTankDescription& d, double x);

} // namespace kelvora::capacity
