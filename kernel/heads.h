#pragma once
// Liquid volume inside one head of a horizontal tank at a level. Every head is coaxial
// with the shell, so head and shell share the level h, measured from the bottom of the
// shell's section. Lengths in millimetres, volumes in cubic metres, -1.0 on failure.

namespace kelvora::kernel {

// Ellipsoidal head: half an ellipsoid of axial depth a on a section of height D, width W.
double TuoFengTou(double D, double W, double a, double h);
// Cone of length Lc (base to apex) on a base of diameter D, lying on its side.
double YuangZhui(double Lc, double h, double D);
// Frustum of length Lf from the large end D1 (at the shell) to the small end D2.
double YuangTai(double Lf, double h, double D1, double D2);
// Spherical cap of height Hc on a base of chord diameter D. A failure in its preparation
// (Hc = 0, D = 0, h outside 0..D) throws ArithmeticError; a later failure gives -1.0.
double QiuQueFengTou(double D, double Hc, double h);
// Standard dished head (crown radius 1.0·D, knuckle radius 0.1·D).
double DieFengTou(double D, double h);
// Full volume of the shaped part of a torispherical head: straight part hs, overall
// length H, crown radius Ri, diameter D. No level.
double FeiBiaoDieXin(double hs, double H, double Ri, double D);

enum class THeadKind {
    hkEllipsoidal,
    hkCone,
    hkFrustum,
    hkSphericalCap,
    hkStandardDished,
    hkNonStandardDished,
    hkHemispherical,
    hkFlat,
};

// One head's dimensions as the window asks for them; 0 where the kind has none.
struct HeadDims {
    double h = 0;  // straight part; it lengthens the shell
    double H = 0;  // overall length (H2 for the cone; the cap height for the spherical cap)
    double D2 = 0; // small end of the frustum
    double Ri = 0; // crown radius of the non-standard dished head
};

// Scale of the non-standard dished head: its exact full volume over the full volume of
// the ellipsoidal head of the same diameter and depth. A failed division throws
// ArithmeticError.
double dishedRatio(const HeadDims& head, double D);

// Volume in one head of the given kind at level h, on a section of height D and width W
// (W = D for a circle). The spherical cap stands on the horizontal width W.
double headVolume(THeadKind kind, const HeadDims& head, double D, double W, double h, double ratio);

} // namespace kelvora::kernel
