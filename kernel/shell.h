#pragma once
// Liquid volume in the straight shell of a horizontal tank of circular or upright
// elliptical section. Lengths in millimetres, volumes in cubic metres; -1.0 on failure.

namespace kelvora::kernel {

// D: vertical dimension of the section (the diameter of a circle), W: horizontal
// dimension (W = D for a circle), h: level above the bottom of the section, L: length.
double YuangTong(double D, double W, double h, double L);

} // namespace kelvora::kernel
