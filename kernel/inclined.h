#pragma once
// Level conversion of an inclined cylinder: the level read at the gauge becomes the mean
// liquid depth over the length, at which the shell and heads are then evaluated as if
// the tank lay horizontal.

namespace kelvora::kernel {

// A: section height; L: length over which the liquid lies; p: axial distance from the
// gauge to the lower end of that length; alpha: inclination along the axis (degrees);
// beta: transverse tilt of the gauge (degrees); h: level read at the gauge.
// Returns the equivalent level in mm, 0.0 on failure.
double GaoDuBianHuan(double A, double L, double p, double alpha, double beta, double h);

} // namespace kelvora::kernel
