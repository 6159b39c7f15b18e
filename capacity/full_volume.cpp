#include "capacity/full_volume.h"

#include "capacity/level_for.h"

#include <algorithm>
#include <cmath>

namespace kelvora::capacity {

LevelVolume fullTankVolume(const TTankDescription& d) {
    const auto range = levelRange(d);
    if (!range) return {0, LevelVolume::Status::Failed};
    if (d.kind != TStructureKind::skInclined) return checkedVolumeAtLevel(d, range->top);
    // The same shell and heads lying level: the horizontal tank of elliptical section A × B,
    // whose terms are the inclined tank's at an untilted level, by either method.
    TTankDescription level = d;
    level.kind = TStructureKind::skHorizontal;
    level.section = TSectionShape::ssEllipse;
    level.alpha = 0;
    level.beta = 0;
    return checkedVolumeAtLevel(level, range->top);
}

bool fullAtLevel(const TTankDescription& d, double x, double volume) {
    if (d.kind == TStructureKind::skCalibration) return false;
    const auto range = levelRange(d);
    if (!range || x < range->top) return false;
    if (d.kind != TStructureKind::skInclined) return true;
    const LevelVolume whole = fullTankVolume(d);
    return whole.ok() && std::fabs(volume - whole.V) <= 1e-9 * std::max(1.0, std::fabs(whole.V));
}

} // namespace kelvora::capacity
