#include "geometry/segment.h"

#include <algorithm>
#include <cmath>

namespace kelvora::geometry {

long double segmentArea(long double d, long double y) {
    if (!(d > 0)) return 0;
    const long double r = d / 2;
    y = std::clamp(y, 0.0L, d);
    // The smaller segment from its own side: near the bottom acos(1 - y/r) loses no digits
    // when written as 2·asin(√(y/d)).
    const long double low = std::min(y, d - y);
    const long double theta = 2 * std::asin(std::sqrt(low / d)); // half the central angle
    const long double small = r * r * (theta - std::sin(theta) * std::cos(theta));
    const long double pi = 3.14159265358979323846264338327950288L;
    return y <= r ? small : pi * r * r - small;
}

} // namespace kelvora::geometry
