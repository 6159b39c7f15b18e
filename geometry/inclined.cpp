#include "geometry/inclined.h"

namespace kelvora::geometry {

InclinedParts inclinedParts(const InclinedTank&, double) { return {-1.0, -1.0, -1.0}; }

double inclinedVolume(const InclinedTank& tank, double h) {
    const InclinedParts v = inclinedParts(tank, h);
    if (v.shell < 0 || v.lowerHead < 0 || v.upperHead < 0) return -1.0;
    return v.shell + v.lowerHead + v.upperHead;
}

double correctedLevel(double, double, double) { return -1.0; }

} // namespace kelvora::geometry
