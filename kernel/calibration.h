#pragma once
// Volume from measured calibration points: piecewise-linear between neighbouring points,
// straight-line extrapolation beyond the first and the last.

#include <span>

namespace kelvora::kernel {

// n points (n ≥ 1) of levels X (mm, ascending) and volumes Y (litres); t the level.
// Two points of equal level on the interval used throw ArithmeticError.
double GetValueLagrange(int n, std::span<const double> X, std::span<const double> Y, double t);

} // namespace kelvora::kernel
