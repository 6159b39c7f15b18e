#pragma once
// The reference figures of the window and its banner, each drawn on a sheet of scale × its
// box (ui/figure_boxes.h). Heads are drawn as axial sections, convex side up, inner
// dimensions: the volumes are those of the liquid space.

#include <QImage>

namespace kelvora::figures {

QImage ellipsoidalHead(int scale);                // Image1: D, h, H, wall thickness δ
QImage coneHead(int scale);                       // Image2: D, D2, h, H, H2, half-angle α
QImage hemisphericalHead(int scale);              // Image3: D
QImage dishedHead(int scale);                     // Image4: D, h, H, crown radius Ri, knuckle radius r
QImage sphericalCapHead(int scale);               // Image5: D, H, crown radius R
QImage flatHead(int scale);                       // Image6: D
QImage circularCylinder(int scale);               // Image7: D, L
QImage ellipticCylinder(int scale);               // Image8: B, A, L
QImage inclinedTank(int scale, bool lowEndRight); // Image9 (left), Image11 (right): probe, α, F, D, L
QImage transverseTilt(int scale);                 // Image10: sections (a) upright, (b) tilted by β
QImage banner(int scale);                         // Image12
QImage verticalTank(int scale);                   // Image13: courses, h, H, C₁, δ, roof, deadwood

// ImageN for N of 1 to 13; a null image for any other N.
QImage drawFigure(int number, int scale);

} // namespace kelvora::figures
