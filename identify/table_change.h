#pragma once
// How much "采用" would change the capacity table: the largest difference between the
// tables of the tank as described now and as the fit describes it.

#include "capacity/tank_description.h"

namespace kelvora::identify {

// The largest difference in litres between the tables of two descriptions of the same
// tank, over the section's height, and the level where it occurs.
struct TableChange {
    double litres = 0, level = 0;
};
TableChange tableChange(const capacity::TTankDescription& now, const capacity::TTankDescription& fitted);

} // namespace kelvora::identify
