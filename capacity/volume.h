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

} // namespace kelvora::capacity
