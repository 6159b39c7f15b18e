#include "drafting.h"

#include <QFontMetricsF>
#include <QPen>

#include <cmath>
#include <numbers>

namespace kelvora::figures {

namespace {

constexpr double kArrowLength = 5.0;
constexpr double kArrowHalfWidth = 1.6;
constexpr double kDimensionWidth = 0.7;
constexpr double kThinWidth = 0.6;

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

double length(QPointF v) {
    return std::hypot(v.x(), v.y());
}

QPen pen(const QColor& colour, double width) {
    QPen p(colour, width);
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::MiterJoin);
    return p;
}

// Where the lines a0→a1 and b0→b1 cross; a1 when they are parallel.
QPointF crossing(QPointF a0, QPointF a1, QPointF b0, QPointF b1) {
    const QPointF r = a1 - a0, s = b1 - b0;
    const double denom = r.x() * s.y() - r.y() * s.x();
    if (std::abs(denom) < 1e-9) return a1;
    const QPointF q = b0 - a0;
    const double t = (q.x() * s.y() - q.y() * s.x()) / denom;
    return a0 + t * r;
}

} // namespace

Sheet::Sheet(int boxWidth, int boxHeight, int scale)
    : image_(boxWidth * scale, boxHeight * scale, QImage::Format_RGB32) {
    image_.fill(Qt::white);
    painter_.begin(&image_);
    painter_.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                            QPainter::SmoothPixmapTransform);
    painter_.scale(scale, scale);
}

QImage Sheet::finish() {
    painter_.end();
    return image_;
}

QFont letterFont(double pixelSize) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(pixelSize * 0.75); // the sheets are painted at 96 points per 72 pixels
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

Polyline ellipseArc(QPointF c, double rx, double ry, double fromDeg, double toDeg, int steps) {
    Polyline points;
    points.reserve(static_cast<std::size_t>(steps) + 1);
    for (int i = 0; i <= steps; ++i) {
        const double a = radians(fromDeg + (toDeg - fromDeg) * i / steps);
        points.emplace_back(c.x() + rx * std::cos(a), c.y() - ry * std::sin(a));
    }
    return points;
}

Polyline circleArc(QPointF c, double r, double fromDeg, double toDeg, int steps) {
    return ellipseArc(c, r, r, fromDeg, toDeg, steps);
}

QPointF polar(QPointF centre, double radius, double degrees) {
    const double a = radians(degrees);
    return centre + radius * QPointF(std::cos(a), -std::sin(a));
}

QPointF unit(QPointF v) {
    const double n = length(v);
    return n > 0 ? v / n : QPointF();
}

QPointF normalLeft(QPointF v) {
    // y grows downwards on the picture: counterclockwise as seen is (x, y) → (y, -x).
    return unit(QPointF(v.y(), -v.x()));
}

Polyline offsetPolyline(const Polyline& line, double d) {
    Polyline out;
    const std::size_t n = line.size();
    if (n < 2) return line;
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (i == 0 || i == n - 1) {
            const QPointF dir = i == 0 ? line[1] - line[0] : line[n - 1] - line[n - 2];
            out.push_back(line[i] + d * normalLeft(dir));
            continue;
        }
        const QPointF n0 = d * normalLeft(line[i] - line[i - 1]);
        const QPointF n1 = d * normalLeft(line[i + 1] - line[i]);
        out.push_back(crossing(line[i - 1] + n0, line[i] + n0, line[i] + n1, line[i + 1] + n1));
    }
    return out;
}

void append(Polyline& line, const Polyline& more) {
    for (const QPointF& q : more)
        if (line.empty() || length(q - line.back()) > 1e-9) line.push_back(q);
}

QPainterPath polylinePath(const Polyline& line) {
    QPainterPath path;
    if (line.empty()) return path;
    path.moveTo(line.front());
    for (std::size_t i = 1; i < line.size(); ++i)
        path.lineTo(line[i]);
    return path;
}

QPainterPath wallBand(const Polyline& inner, double thickness) {
    const Polyline outer = offsetPolyline(inner, thickness);
    QPainterPath band = polylinePath(inner);
    for (auto it = outer.rbegin(); it != outer.rend(); ++it)
        band.lineTo(*it);
    band.closeSubpath();
    return band;
}

void Drafter::visible(const QPainterPath& path, double width) {
    p_.save();
    p_.setPen(pen(kInk, width));
    p_.setBrush(Qt::NoBrush);
    p_.drawPath(path);
    p_.restore();
}

void Drafter::visible(const Polyline& line, double width) {
    visible(polylinePath(line), width);
}

void Drafter::visible(QPointF a, QPointF b, double width) {
    p_.save();
    p_.setPen(pen(kInk, width));
    p_.drawLine(a, b);
    p_.restore();
}

void Drafter::thin(QPointF a, QPointF b) {
    visible(a, b, kThinWidth);
}

void Drafter::hidden(QPointF a, QPointF b) {
    hidden(Polyline{a, b});
}

void Drafter::hidden(const Polyline& line) {
    p_.save();
    QPen dashed = pen(kInk, 0.8);
    dashed.setDashPattern({4.0, 2.5});
    p_.setPen(dashed);
    p_.drawPath(polylinePath(line)); // one path, so the dashes run on round curves
    p_.restore();
}

void Drafter::centre(QPointF a, QPointF b) {
    p_.save();
    QPen dashDot = pen(kInk, 0.5);
    dashDot.setDashPattern({16.0, 4.0, 3.0, 4.0});
    p_.setPen(dashDot);
    p_.drawLine(a, b);
    p_.restore();
}

void Drafter::wall(const QPainterPath& band) {
    p_.save();
    p_.setClipPath(band, Qt::IntersectClip);
    p_.setPen(pen(kInk, 0.45));
    const QRectF r = band.boundingRect();
    const double span = r.width() + r.height();
    for (double t = -r.height(); t < span; t += 2.4)
        p_.drawLine(QPointF(r.left() + t, r.bottom()), QPointF(r.left() + t + r.height(), r.top()));
    p_.restore();
    visible(band, 1.0);
}

void Drafter::breakLine(QPointF a, QPointF b) {
    const QPointF along = b - a;
    const QPointF side = normalLeft(along) * 1.6;
    QPainterPath wave(a);
    constexpr int kSteps = 24;
    for (int i = 1; i <= kSteps; ++i) {
        const double t = static_cast<double>(i) / kSteps;
        wave.lineTo(a + t * along + std::sin(t * 2 * std::numbers::pi) * side);
    }
    visible(wave, kThinWidth);
}

void Drafter::extension(QPointF from, QPointF to) {
    p_.save();
    p_.setPen(pen(kDimension, 0.5));
    p_.drawLine(from, to);
    p_.restore();
}

void Drafter::arrowHead(QPointF tip, QPointF direction) {
    const QPointF d = unit(direction);
    const QPointF n(-d.y(), d.x());
    const QPointF base = tip - kArrowLength * d;
    const QPointF head[] = {tip, base + kArrowHalfWidth * n, base - kArrowHalfWidth * n};
    p_.save();
    p_.setPen(Qt::NoPen);
    p_.setBrush(kDimension);
    p_.drawPolygon(head, 3);
    p_.restore();
}

void Drafter::dimension(QPointF a, QPointF b) {
    const QPointF d = unit(b - a);
    p_.save();
    p_.setPen(pen(kDimension, kDimensionWidth));
    p_.drawLine(a + d * (kArrowLength - 0.5), b - d * (kArrowLength - 0.5));
    p_.restore();
    arrowHead(a, -d);
    arrowHead(b, d);
}

void Drafter::dimensionOutside(QPointF a, QPointF b, double tail) {
    const QPointF d = unit(b - a);
    p_.save();
    p_.setPen(pen(kDimension, kDimensionWidth));
    p_.drawLine(a - d * (kArrowLength + tail), b + d * (kArrowLength + tail));
    p_.restore();
    arrowHead(a, d);
    arrowHead(b, -d);
}

void Drafter::leader(QPointF from, QPointF tip) {
    const QPointF d = unit(tip - from);
    p_.save();
    p_.setPen(pen(kDimension, kDimensionWidth));
    p_.drawLine(from, tip - d * (kArrowLength - 0.5));
    p_.restore();
    arrowHead(tip, d);
}

void Drafter::angle(QPointF vertex, double radius, double fromDeg, double toDeg) {
    const Polyline arc = circleArc(vertex, radius, fromDeg, toDeg, 32);
    p_.save();
    p_.setPen(pen(kDimension, kDimensionWidth));
    p_.drawPath(polylinePath(arc));
    p_.restore();
    arrowHead(arc.front(), arc.front() - arc[2]);
    arrowHead(arc.back(), arc.back() - arc[arc.size() - 3]);
}

void Drafter::text(QPointF centre, const QString& text, double pixelSize, const QColor& colour) {
    // Letters stay readable on a mirrored sheet: they are placed where the mirrored point
    // lands and drawn upright.
    const QTransform world = p_.worldTransform();
    const double sx = std::abs(world.m11()), sy = std::abs(world.m22());
    const QPointF device = world.map(centre);
    QPainterPath path;
    path.addText(QPointF(0, 0), letterFont(pixelSize), text);
    const QRectF r = path.boundingRect();
    path.translate(QPointF(device.x() / sx, device.y() / sy) - r.center());
    p_.save();
    p_.setWorldTransform(QTransform::fromScale(sx, sy));
    QPen halo(Qt::white, 3.0);
    halo.setJoinStyle(Qt::RoundJoin);
    p_.strokePath(path, halo);
    p_.fillPath(path, colour);
    p_.restore();
}

void Drafter::letter(QPointF centre, const QString& text, double pixelSize) {
    this->text(centre, text, pixelSize, kDimension);
}

void Drafter::caption(QPointF centre, const QString& text, double pixelSize) {
    this->text(centre, text, pixelSize, kInk);
}

} // namespace kelvora::figures
