#pragma once
// Exact liquid volumes of the horizontal shell, the heads and the sphere by their true
// geometry. A head is a solid of revolution about the tank axis closing a circular end of
// diameter D; on an elliptical section (height A, width B) the circular solid of diameter A
// is stretched horizontally by B/A. The level h is measured from the bottom of the section.
// Lengths in millimetres, volumes in cubic metres, -1.0 when the dimensions describe no
// such solid or the level lies outside 0..D.

#include "kernel/heads.h"

namespace kelvora::geometry {

using kernel::HeadDims;
using kernel::THeadKind;

// Straight shell of length L on a section of height A and width B.
double exactShell(double A, double B, double h, double L);

// Half an ellipsoid of axial depth a on a section of height D, width W.
double exactEllipsoidal(double D, double W, double a, double h);
// Half a sphere of diameter D.
double exactHemispherical(double D, double h);
// Cone of length Lc on a base of diameter D; frustum of length Lf from D1 down to D2.
double exactCone(double Lc, double h, double D);
double exactFrustum(double Lf, double h, double D1, double D2);
// Spherical cap of height Hc (0 < Hc ≤ D/2) on a base of diameter D, stretched by W/D.
double exactSphericalCap(double D, double W, double Hc, double h);
// Torispherical heads: the standard one (crown radius D, knuckle 0.1·D, depth from that
// geometry) and the non-standard one (crown Ri, depth H − hs, the knuckle that makes the
// crown and the shell tangent).
double exactStandardDished(double D, double h);
double exactNonStandardDished(double hs, double H, double Ri, double D, double h);
// A sphere of diameter D.
double exactSphere(double D, double h);

// The head of the given kind on a section of height D and width W (W = D for a circle).
// On an elliptical section only the ellipsoidal head and the spherical cap have a shape;
// the other kinds hold 0 there, and the flat head always.
double exactHeadVolume(THeadKind kind, const HeadDims& head, double D, double W, double h);

} // namespace kelvora::geometry
