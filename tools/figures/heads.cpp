// Image1 to Image6: the head kinds as axial sections, straight flange at the bottom where
// the head joins the shell. Dimensions run to the inner surface, as the head volumes do;
// extension lines start just outside the wall so they do not cross the hatching.

#include "drafting.h"
#include "figures.h"

#include <cmath>
#include <numbers>

namespace kelvora::figures {

namespace {

constexpr double kWall = 4.0;

double degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

// The D dimension under a head whose inner wall ends at x0 and x1 on the base line.
void diameterBelow(Drafter& d, double x0, double x1, double yBase, double yLine, const QString& text = "D") {
    d.extension({x0, yBase + 2}, {x0, yLine + 3});
    d.extension({x1, yBase + 2}, {x1, yLine + 3});
    d.dimension({x0, yLine}, {x1, yLine});
    d.letter({(x0 + x1) / 2, yLine - 7.5}, text);
}

// A vertical dimension right of the head from y0 down to y1 at x, extension lines from xFrom.
void heightRight(Drafter& d, double xFrom0, double xFrom1, double y0, double y1, double x,
                 const QString& text, double letterDx = 8) {
    d.extension({xFrom0, y0}, {x + 4, y0});
    d.extension({xFrom1, y1}, {x + 4, y1});
    if (y1 - y0 < 12)
        d.dimensionOutside({x, y0}, {x, y1}, 3);
    else
        d.dimension({x, y0}, {x, y1});
    d.letter({x + letterDx, (y0 + y1) / 2}, text);
}

} // namespace

QImage ellipsoidalHead(int scale) {
    Sheet sheet(200, 90, scale);
    Drafter d(sheet.painter());
    const double cx = 80, a = 60, b = 31, yBase = 60, yTan = 47;

    Polyline inner{{cx - a, yBase}};
    append(inner, ellipseArc({cx, yTan}, a, b, 180, 0, 72));
    append(inner, {{cx + a, yBase}});
    d.wall(wallBand(inner, kWall));
    d.centre({cx, 4}, {cx, 66});

    diameterBelow(d, cx - a, cx + a, yBase, 80);
    const double xRight = cx + a + kWall + 2;
    const double yCrown = yTan - b;
    // where the outer surface passes the crown's height
    const double xCrown = cx + (a + kWall) * std::sqrt(1 - std::pow(b / (b + kWall), 2)) + 2;
    heightRight(d, xRight, xRight, yTan, yBase, 161, "h");
    heightRight(d, xCrown, xRight, yCrown, yBase, 182, "H");

    // wall thickness, arrows from outside onto both surfaces of the flange
    const double y = 54;
    d.leader({cx - a - kWall - 11, y}, {cx - a - kWall, y});
    d.leader({cx - a + 11, y}, {cx - a, y});
    d.letter({cx - a - kWall - 8, y - 9}, QStringLiteral("δ"));
    return sheet.finish();
}

QImage coneHead(int scale) {
    Sheet sheet(200, 119, scale);
    Drafter d(sheet.painter());
    const double cx = 75, r1 = 55, r2 = 25, yBase = 100, yTan = 88;
    const double alpha = 40.0 * std::numbers::pi / 180.0;
    const double yApex = yTan - r1 / std::tan(alpha);
    const double yTop = yTan - (r1 - r2) / std::tan(alpha);

    const Polyline inner{{cx - r1, yBase}, {cx - r1, yTan}, {cx - r2, yTop},
                         {cx + r2, yTop},  {cx + r1, yTan}, {cx + r1, yBase}};
    d.wall(wallBand(inner, kWall));
    // the tip cut away from the cone, up to its apex
    d.hidden({cx - r2, yTop}, {cx, yApex});
    d.hidden({cx + r2, yTop}, {cx, yApex});
    d.centre({cx, yApex - 12}, {cx, 103});

    d.angle({cx, yApex}, 13, 270, 270 + degrees(alpha));
    d.letter(polar({cx, yApex}, 20.5, 270 + degrees(alpha) / 2), QStringLiteral("α"));

    // small end, measured inside under the closing plate
    d.extension({cx - r2, yTop + 2}, {cx - r2, yTop + 14});
    d.extension({cx + r2, yTop + 2}, {cx + r2, yTop + 14});
    d.dimension({cx - r2, yTop + 11}, {cx + r2, yTop + 11});
    d.letter({cx, yTop + 19.5}, QStringLiteral("D2"));

    diameterBelow(d, cx - r1, cx + r1, yBase, 113);
    const double xRight = cx + r1 + kWall + 2;
    const double xTop = cx + r2 + kWall / std::cos(alpha) + 4;
    heightRight(d, xRight, xRight, yTan, yBase, 146, "h");
    heightRight(d, xTop, xRight, yTop, yBase, 163, "H");
    heightRight(d, cx + 4, xRight, yApex, yBase, 180, "H2", 10.5);
    return sheet.finish();
}

QImage hemisphericalHead(int scale) {
    Sheet sheet(200, 121, scale);
    Drafter d(sheet.painter());
    const double cx = 100, r = 56, yBase = 86;

    d.wall(wallBand(circleArc({cx, yBase}, r, 180, 0, 96), kWall));
    d.centre({cx, yBase - r - kWall - 9}, {cx, yBase + 6});
    d.thin({cx - r + 3, yBase}, {cx + r - 3, yBase}); // the joint with the shell
    diameterBelow(d, cx - r, cx + r, yBase, 106);
    return sheet.finish();
}

QImage dishedHead(int scale) {
    Sheet sheet(200, 68, scale);
    Drafter d(sheet.painter());
    // standard proportions: crown radius 1.0·D, knuckle radius 0.1·D
    const double cx = 80, r0 = 60, ri = 2 * r0, rk = 0.2 * r0, yBase = 45, yTan = 36, wall = 3.5;
    const double depth = ri - std::sqrt((ri - rk) * (ri - rk) - (r0 - rk) * (r0 - rk));
    const double yCrown = yTan - depth;
    const QPointF crownCentre(cx, yCrown + ri);
    const QPointF knuckleLeft(cx - r0 + rk, yTan), knuckleRight(cx + r0 - rk, yTan);
    // the crown and the knuckle meet on the line through both centres
    const double tangent =
        degrees(std::atan2(crownCentre.y() - knuckleLeft.y(), knuckleLeft.x() - crownCentre.x()));

    Polyline inner{{cx - r0, yBase}};
    append(inner, circleArc(knuckleLeft, rk, 180, tangent, 24));
    append(inner, circleArc(crownCentre, ri, tangent, 180 - tangent, 72));
    append(inner, circleArc(knuckleRight, rk, 180 - tangent, 0, 24));
    append(inner, {{cx + r0, yBase}});
    d.wall(wallBand(inner, wall));
    d.centre({cx, 3}, {cx, yBase + 4});

    // crown radius: a radius of the crown sphere, whose centre lies far below
    d.leader(polar(crownCentre, ri - 21, 103), polar(crownCentre, ri, 103));
    d.letter({cx - 12.5, yCrown + 13.5}, QStringLiteral("Ri"));
    // knuckle radius from its centre on the tangent line
    d.thin(knuckleRight - QPointF(2, 0), knuckleRight + QPointF(2, 0));
    d.thin(knuckleRight - QPointF(0, 2), knuckleRight + QPointF(0, 2));
    d.leader(knuckleRight, polar(knuckleRight, rk, 45));
    d.letter(knuckleRight + QPointF(-6, -6.5), QStringLiteral("r"));

    diameterBelow(d, cx - r0, cx + r0, yBase, 61);
    const double xRight = cx + r0 + wall + 2;
    const double outer = ri + wall;
    const double xCrown = cx + std::sqrt(outer * outer - ri * ri) + 2;
    heightRight(d, xRight, xRight, yTan, yBase, 158, "h");
    heightRight(d, xCrown, xRight, yCrown, yBase, 180, "H");
    return sheet.finish();
}

QImage sphericalCapHead(int scale) {
    Sheet sheet(200, 85, scale);
    Drafter d(sheet.painter());
    const double cx = 80, half = 60, height = 26, yBase = 62;
    const double r = half * half / (2 * height) + height / 2;
    const QPointF centre(cx, yBase - height + r);
    const double opening = degrees(std::asin(half / r));

    // drawn a little past the base and cut there, so the wall ends square on the shell
    const QPainterPath band = wallBand(circleArc(centre, r, 90 + opening + 6, 90 - opening - 6, 96), kWall);
    QPainterPath above;
    above.addRect(0, 0, 200, yBase);
    d.wall(band.intersected(above));
    d.centre({cx, yBase - height - kWall - 8}, {cx, yBase + 4});

    d.leader(polar(centre, r - 21, 110), polar(centre, r, 110));
    d.letter(polar(centre, r - 12, 110) + QPointF(8.5, 0), QStringLiteral("R"));

    diameterBelow(d, cx - half, cx + half, yBase, 77);
    // where the outer surface passes the crown's height and the base
    const double outer = r + kWall;
    const double xCrown = cx + std::sqrt(outer * outer - r * r) + 2;
    const double xBase = cx + std::sqrt(outer * outer - (r - height) * (r - height)) + 2;
    heightRight(d, xCrown, xBase, yBase - height, yBase, 162, "H");
    return sheet.finish();
}

QImage flatHead(int scale) {
    Sheet sheet(200, 128, scale);
    Drafter d(sheet.painter());
    const double cx = 100, r = 55, yPlate = 34, plate = 9, yShellEnd = 88;
    const double xl = cx - r - kWall, xr = cx + r + kWall;

    QPainterPath plateBand;
    plateBand.addRect(QRectF(xl, yPlate, xr - xl, plate));
    d.wall(plateBand);
    QPainterPath shell;
    shell.addRect(QRectF(xl, yPlate + plate, kWall, yShellEnd - yPlate - plate));
    shell.addRect(QRectF(cx + r, yPlate + plate, kWall, yShellEnd - yPlate - plate));
    d.wall(shell);
    // the shell goes on below
    d.breakLine({xl - 3, yShellEnd}, {xl + kWall + 3, yShellEnd});
    d.breakLine({cx + r - 3, yShellEnd}, {xr + 3, yShellEnd});
    // fillet welds of plate to shell
    for (const double sign : {-1.0, 1.0}) {
        const double x = cx + sign * r;
        const QPointF weld[] = {{x, yPlate + plate}, {x - sign * 4, yPlate + plate}, {x, yPlate + plate + 4}};
        d.painter().save();
        d.painter().setPen(Qt::NoPen);
        d.painter().setBrush(kInk);
        d.painter().drawPolygon(weld, 3);
        d.painter().restore();
    }
    d.centre({cx, yPlate - 10}, {cx, yShellEnd + 4});
    diameterBelow(d, cx - r, cx + r, yShellEnd, 108);
    return sheet.finish();
}

} // namespace kelvora::figures
