#pragma once
// Extended-precision helpers shared by the volume functions.

#include <cmath>

namespace kelvora::kernel {

inline constexpr long double kPi = 3.14159265358979323846264338327950288L;

// Arcsine and arccosine through atan2, so that an argument outside -1..1 fails in the
// square root (an invalid operation) instead of returning a quiet NaN.
inline long double arcSin(long double x) { return std::atan2(x, std::sqrt(1.0L - x * x)); }
inline long double arcCos(long double x) { return std::atan2(std::sqrt(1.0L - x * x), x); }

} // namespace kelvora::kernel
