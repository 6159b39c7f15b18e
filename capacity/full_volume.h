#pragma once
// The volume of the whole tank, by the method the table uses (required formulas or exact
// geometry): what the document and the workbook call "满罐容量".

#include "capacity/tank_description.h"
#include "capacity/volume.h"

namespace kelvora::capacity {

// A horizontal tank and a sphere hold their whole volume at the top level. An inclined
// tank does not: at the gauge's top reading (A) the higher end still has room above the
// liquid, so its whole volume is that of the same shell and heads lying level, filled to
// A; the dead volume and the attachment count as at the top level. Calibration points
// have no tank beyond them: the volume at the highest point. Failed or Negative as the
// table's levels are, and Failed when the tank has no top level.
LevelVolume fullTankVolume(const TTankDescription& d);

// Whether the tank is full at level x, where VolumeAtLevel gives `volume`: at or above the
// top level and holding the whole tank (a horizontal tank or a sphere at its top; an
// inclined tank only when it lies level). Calibration points are never full.
bool fullAtLevel(const TTankDescription& d, double x, double volume);

} // namespace kelvora::capacity
