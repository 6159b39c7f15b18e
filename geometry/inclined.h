#pragma once
// Exact liquid volume of an inclined cylinder: the liquid surface is a plane, so the depth
// above the section's bottom line falls linearly along the axis, and the shell and both
// heads are integrated under that one plane. Lengths in millimetres, angles in degrees,
// volumes in cubic metres, -1.0 on a failed evaluation.

namespace kelvora::geometry {

// A head closing one end of the inclined tank, coaxial with the shell.
struct InclinedHead {
    enum class Shape {
        None,        // flat end, or a kind that holds nothing on this tank
        Ellipsoidal, // half an ellipsoid of axial depth `depth` (H − h)
        SphericalCap // spherical cap of height `depth` (H) on the section's height A
    };
    Shape shape = Shape::None;
    double depth = 0;
};

struct InclinedTank {
    double A = 0;     // section height (the circle's diameter before the stretch to B)
    double B = 0;     // section width; B = A for a circular section
    double Ltot = 0;  // shell length plus both straight flanges
    double p = 0;     // the gauge's axial distance from the lower end of Ltot (L − F)
    double alpha = 0; // inclination of the axis; 0 lies horizontal
    double beta = 0;  // transverse tilt of the gauge, corrected as the level conversion does
    InclinedHead lower, upper;
};

// The volume split as the table composes it: shell (with the straight flanges) and the
// head at each end, each cut by the same plane. Each part is -1.0 when it fails on its own.
struct InclinedParts {
    double shell = 0, lowerHead = 0, upperHead = 0;
};

// Liquid below the gauge reading h. A tank that cannot be evaluated (A, B ≤ 0, Ltot < 0,
// |alpha| ≥ 90°, a head of depth ≤ 0, a spherical cap taller than half the section,
// a non-finite input) fails in the parts it touches.
InclinedParts inclinedParts(const InclinedTank& tank, double h);

// The sum of the parts; -1.0 if any part failed.
double inclinedVolume(const InclinedTank& tank, double h);

// The level in the section at the gauge after the transverse correction:
// A/2 + (h − A/2)·cos β.
double correctedLevel(double A, double beta, double h);

} // namespace kelvora::geometry
