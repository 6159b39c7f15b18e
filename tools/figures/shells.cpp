// Image7 to Image11: the shell. The horizontal cylinders are oblique views with the end
// section true to shape in front; the inclined tank is a lengthwise section of a buried tank
// read by a vertical probe, and Image10 its cross-section with and without a transverse tilt.

#include "drafting.h"
#include "figures.h"

#include <cmath>
#include <numbers>

namespace kelvora::figures {

namespace {

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

double degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

// A cylinder of elliptic section (rx across, ry up) whose front end is centred on c0 and whose
// axis recedes by depth at recedeDeg. Returns the angle of the lower silhouette's tangent
// point on the section.
double obliqueCylinder(Drafter& d, QPointF c0, double rx, double ry, double recedeDeg, double depth) {
    const QPointF along = polar({0, 0}, depth, recedeDeg);
    const QPointF c1 = c0 + along;
    // the section's tangent is parallel to the axis where tan t = ry·ax / (rx·ay), angles as seen
    const double t0 = degrees(std::atan(ry * along.x() / (rx * -along.y())));
    const double lower = -std::abs(t0), upper = lower + 180;

    d.visible(ellipseArc(c1, rx, ry, lower, upper, 96));
    d.hidden(ellipseArc(c1, rx, ry, upper, lower + 360, 96));
    for (const double t : {lower, upper}) {
        const QPointF p = ellipseArc(c0, rx, ry, t, t, 1).front();
        d.visible(p, p + along);
    }
    QPainterPath front;
    front.addEllipse(c0, rx, ry);
    d.visible(front);
    d.centre(c0 - polar({0, 0}, 14, recedeDeg), c1 + polar({0, 0}, 14, recedeDeg));
    return lower;
}

// The length dimension along the lower silhouette, offset away from the body.
void lengthAlong(Drafter& d, QPointF c0, double rx, double ry, double lower, double recedeDeg, double depth) {
    const QPointF s0 = ellipseArc(c0, rx, ry, lower, lower, 1).front();
    const QPointF s1 = s0 + polar({0, 0}, depth, recedeDeg);
    const QPointF away = polar({0, 0}, 1, recedeDeg - 90);
    d.extension(s0 + 2 * away, s0 + 16 * away);
    d.extension(s1 + 2 * away, s1 + 16 * away);
    d.dimension(s0 + 13 * away, s1 + 13 * away);
    d.letter((s0 + s1) / 2 + 21 * away, QStringLiteral("L"));
}

} // namespace

QImage circularCylinder(int scale) {
    Sheet sheet(200, 174, scale);
    Drafter d(sheet.painter());
    const QPointF c0(66, 113);
    const double r = 45, recede = 40, depth = 96;
    const double lower = obliqueCylinder(d, c0, r, r, recede, depth);
    d.dimension(c0 - QPointF(0, r), c0 + QPointF(0, r));
    d.letter(c0 + QPointF(8, 17), QStringLiteral("D"));
    lengthAlong(d, c0, r, r, lower, recede, depth);
    return sheet.finish();
}

QImage ellipticCylinder(int scale) {
    Sheet sheet(200, 129, scale);
    Drafter d(sheet.painter());
    const QPointF c0(66, 83);
    const double b = 46, a = 28, recede = 35, depth = 82;
    const double lower = obliqueCylinder(d, c0, b, a, recede, depth);
    d.dimension(c0 - QPointF(b, 0), c0 + QPointF(b, 0));
    d.letter(c0 + QPointF(-23, -8), QStringLiteral("B"));
    d.dimension(c0 - QPointF(0, a), c0 + QPointF(0, a));
    d.letter(c0 + QPointF(8, 15), QStringLiteral("A"));
    lengthAlong(d, c0, b, a, lower, recede, depth);
    return sheet.finish();
}

namespace {

// Lengthwise section of a tank whose axis rises to the right at alpha: u runs along the axis
// from the girth weld of the low end, v across it, positive towards the bottom.
struct TankFrame {
    QPointF origin;
    double alpha; // radians
    QPointF at(double u, double v) const {
        return origin + u * QPointF(std::cos(alpha), -std::sin(alpha)) +
               v * QPointF(std::sin(alpha), std::cos(alpha));
    }
    // u where the vertical through x meets the line v
    double uAt(double x, double v) const { return (x - origin.x() - v * std::sin(alpha)) / std::cos(alpha); }
};

void levelMark(Drafter& d, QPointF onSurface) {
    const QPointF mark[] = {onSurface, onSurface + QPointF(-4, -6), onSurface + QPointF(4, -6)};
    QPainter& p = d.painter();
    p.save();
    p.setPen(QPen(kInk, 0.7));
    p.setBrush(Qt::white);
    p.drawPolygon(mark, 3);
    p.restore();
    d.thin(onSurface + QPointF(-3, 2.5), onSurface + QPointF(3, 2.5));
    d.thin(onSurface + QPointF(-1.5, 4.5), onSurface + QPointF(1.5, 4.5));
}

// The liquid below a horizontal surface at yLevel inside a closed outline, with its surface line.
void liquid(Drafter& d, const QPainterPath& inside, double yLevel) {
    QPainterPath below;
    const QRectF box = inside.boundingRect();
    below.addRect(QRectF(box.left() - 1, yLevel, box.width() + 2, box.bottom() - yLevel + 1));
    QPainter& p = d.painter();
    p.save();
    p.fillPath(inside.intersected(below), kLiquid);
    p.setClipPath(inside);
    p.setPen(QPen(kInk, 0.7));
    p.drawLine(QPointF(box.left(), yLevel), QPointF(box.right(), yLevel));
    p.restore();
}

// The level probe down the riser: transmitter head on top, float on the liquid surface.
void probe(Drafter& d, QPointF top, QPointF foot, double yLevel) {
    QPainter& p = d.painter();
    p.save();
    p.setPen(QPen(QColor(60, 60, 60), 1.8, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(top, foot);
    const QPointF dir = unit(foot - top);
    const QPointF across(-dir.y(), dir.x());
    // float, centred where the probe meets the surface
    const double t = (yLevel - top.y()) / dir.y();
    const QPointF f = top + t * dir;
    const QPointF floatBox[] = {f - 3.2 * across - 2.8 * dir, f + 3.2 * across - 2.8 * dir,
                                f + 3.2 * across + 2.8 * dir, f - 3.2 * across + 2.8 * dir};
    p.setPen(QPen(kInk, 0.6));
    p.setBrush(QColor(90, 90, 90));
    p.drawPolygon(floatBox, 4);
    const QPointF head[] = {top - 5 * across, top + 5 * across, top + 5 * across - 8 * dir,
                            top - 5 * across - 8 * dir};
    p.setBrush(QColor(225, 225, 225));
    p.drawPolygon(head, 4);
    p.restore();
}

// Riser pipe of half-width w along dir from the shell up to its cover, with the cover flange.
void riser(Drafter& d, QPointF baseLeft, QPointF baseRight, QPointF dir, double length) {
    const QPointF across = unit(baseRight - baseLeft);
    d.visible(baseLeft, baseLeft + length * dir, 1.1);
    d.visible(baseRight, baseRight + length * dir, 1.1);
    const QPointF l = baseLeft + length * dir - 3 * across, r = baseRight + length * dir + 3 * across;
    const QPointF flange[] = {l, r, r + 2.5 * dir, l + 2.5 * dir};
    QPainter& p = d.painter();
    p.save();
    p.setPen(QPen(kInk, 0.9));
    p.setBrush(Qt::white);
    p.drawPolygon(flange, 4);
    p.restore();
}

} // namespace

QImage inclinedTank(int scale, bool lowEndRight) {
    Sheet sheet(418, lowEndRight ? 236 : 237, scale);
    QPainter& p = sheet.painter();
    if (lowEndRight) { // the same tank seen from the other side; letters stay upright
        p.translate(418, 0);
        p.scale(-1, 1);
    }
    Drafter d(p);
    const double alpha = radians(9), r = 36, length = 270, headDepth = 18;
    const TankFrame tank{{78, 148}, alpha};
    const double yGround = 30;

    // shell with an ellipsoidal head at each end, and the two girth welds
    Polyline outline;
    append(outline, {tank.at(0, -r), tank.at(length, -r)});
    for (int i = 0; i <= 48; ++i) {
        const double a = std::numbers::pi * i / 48;
        append(outline, {tank.at(length + headDepth * std::sin(a), -r * std::cos(a))});
    }
    append(outline, {tank.at(0, r)});
    for (int i = 0; i <= 48; ++i) {
        const double a = std::numbers::pi * i / 48;
        append(outline, {tank.at(-headDepth * std::sin(a), r * std::cos(a))});
    }
    QPainterPath inside = polylinePath(outline);
    inside.closeSubpath();

    // the probe stands vertically part of the way up, and reaches down to the bottom
    const double uFoot = 0.42 * length;
    const QPointF foot = tank.at(uFoot, r - 1.5);
    const double yLevel = tank.at(0, r).y() - 52;
    liquid(d, inside, yLevel);
    d.visible(inside, 1.5);
    for (const double u : {0.0, length}) {
        d.thin(tank.at(u, -r), tank.at(u, r));
        for (const double v : {-r, r}) {
            QPainterPath bead;
            bead.addEllipse(tank.at(u, v), 1.7, 1.7);
            p.fillPath(bead, kInk);
        }
    }
    d.centre(tank.at(-headDepth - 12, 0), tank.at(length + headDepth + 12, 0));

    // riser from the top of the shell to the ground, probe inside it
    const double halfRiser = 6;
    const QPointF riserLeft = tank.at(tank.uAt(foot.x() - halfRiser, -r), -r);
    const QPointF riserRight = tank.at(tank.uAt(foot.x() + halfRiser, -r), -r);
    const double riserTop = yGround - 4;
    riser(d, QPointF(foot.x() - halfRiser, riserLeft.y()), QPointF(foot.x() + halfRiser, riserRight.y()),
          {0, -1}, riserLeft.y() - riserTop);
    probe(d, {foot.x(), riserTop - 7}, foot, yLevel);
    levelMark(d, {foot.x() + 58, yLevel});

    // ground surface, broken where the riser comes through
    for (const auto& [x0, x1] :
         {std::pair{8.0, foot.x() - halfRiser - 5}, std::pair{foot.x() + halfRiser + 5, 410.0}}) {
        d.visible(QPointF(x0, yGround), QPointF(x1, yGround), 1.2);
        for (double x = x0 + 3; x < x1 - 2; x += 7)
            d.thin({x + 4, yGround}, {x, yGround + 5});
    }

    // F: from the probe to the girth weld of the high end, above the shell; the level
    // conversion takes the gauge's distance from the low end as L less F
    const double vF = -r - 15;
    d.extension(tank.at(length, -r - 2), tank.at(length, vF - 4));
    const QPointF fStart = tank.at(tank.uAt(foot.x(), vF), vF);
    d.dimension(fStart, tank.at(length, vF));
    d.letter((fStart + tank.at(length, vF)) / 2 + QPointF(0, -8), QStringLiteral("F"));

    // L: the shell between the girth welds, below it
    const double vL = r + 23;
    d.extension(tank.at(0, r + 2), tank.at(0, vL + 4));
    d.extension(tank.at(length, r + 2), tank.at(length, vL + 4));
    d.dimension(tank.at(0, vL), tank.at(length, vL));
    d.letter(tank.at(length / 2, vL) + QPointF(0, 9), QStringLiteral("L"));

    // D: across the shell, in the space above the liquid
    const double uD = 0.8 * length;
    d.dimension(tank.at(uD, -r), tank.at(uD, r));
    d.letter(tank.at(uD, -r / 2) + QPointF(9, 0), QStringLiteral("D"));

    // α: between the horizontal and the bottom of the shell, at the girth weld of the low end
    const QPointF vertex = tank.at(0, r);
    d.thin(vertex, vertex + QPointF(98, 0));
    d.angle(vertex, 72, 0, degrees(alpha));
    d.letter(polar(vertex, 84, degrees(alpha) / 2), QStringLiteral("α"));
    return sheet.finish();
}

QImage transverseTilt(int scale) {
    Sheet sheet(418, 273, scale);
    QPainter& p = sheet.painter();
    Drafter d(p);
    const double r = 68, beta = 14;
    struct Section {
        QPointF centre;
        double tilt; // degrees, the tank turned clockwise about its axis as seen
        const char* caption;
    };
    for (const Section& s : {Section{{106, 140}, 0, "(a)"}, Section{{312, 140}, beta, "(b)"}}) {
        const QPointF c = s.centre;
        const QPointF up = polar({0, 0}, 1, 90 - s.tilt); // the tank's own "up"
        const QPointF right = polar({0, 0}, 1, -s.tilt);
        QPainterPath inside;
        inside.addEllipse(c, r, r);
        const double yLevel = c.y() + 24;
        liquid(d, inside, yLevel);
        d.visible(inside, 1.5);

        // riser on the top of the tank and the probe down through the axis
        const double half = 7;
        const double along = std::sqrt(r * r - half * half);
        riser(d, c + along * up - half * right, c + along * up + half * right, up, 32);
        probe(d, c + (along + 32 + 9) * up, c - (r - 1.5) * up, yLevel);
        levelMark(d, {c.x() + 40, yLevel});
        d.centre(c - (r + 10) * right, c + (r + 10) * right);
        d.centre(c + (r + 10) * up, c - (r + 10) * up);
        if (s.tilt != 0) {
            d.hidden(c, c + QPointF(0, -(r + 52))); // the vertical
            d.angle(c, 50, 90 - s.tilt, 90);
            d.letter(polar(c, 62, 90 - s.tilt / 2), QStringLiteral("β"));
        }
        d.caption({c.x(), c.y() + r + 32}, QString::fromLatin1(s.caption));
    }
    return sheet.finish();
}

} // namespace kelvora::figures
