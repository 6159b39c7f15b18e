#pragma once
// Drawing conventions of the reference figures: black object lines, hatched cut walls,
// dash-dot centre lines, and blue dimensions, arrows and letters. Coordinates are pixels of
// the picture's box in the window; the sheet is drawn at twice that size for sharpness.

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QString>

#include <vector>

namespace kelvora::figures {

using Polyline = std::vector<QPointF>;

// Paints on a white image of scale × the box, with antialiasing and box coordinates.
class Sheet {
public:
    Sheet(int boxWidth, int boxHeight, int scale);
    QPainter& painter() { return painter_; }
    QImage finish(); // ends painting

private:
    QImage image_;
    QPainter painter_;
};

// Sans-serif letters for the figures, pixelSize in box pixels.
QFont letterFont(double pixelSize = 12.5);

// Points of an arc of an ellipse centred on c, angles in degrees counterclockwise as seen
// on the picture (0 = to the right, 90 = up).
Polyline ellipseArc(QPointF c, double rx, double ry, double fromDeg, double toDeg, int steps = 48);
Polyline circleArc(QPointF c, double r, double fromDeg, double toDeg, int steps = 48);

// The polyline moved sideways by distance d, to the left of its direction of travel as seen
// on the picture for positive d; corners are mitred.
Polyline offsetPolyline(const Polyline& line, double d);

// The band between a polyline and the same polyline moved sideways: a cut wall.
QPainterPath wallBand(const Polyline& inner, double thickness);

QPainterPath polylinePath(const Polyline& line);
void append(Polyline& line, const Polyline& more); // skips a point equal to the last one

QPointF polar(QPointF centre, double radius, double degrees); // angle as in ellipseArc
QPointF unit(QPointF v);
QPointF normalLeft(QPointF v); // v turned 90° counterclockwise as seen, unit length

class Drafter {
public:
    explicit Drafter(QPainter& painter) : p_(painter) {}

    // Object lines, black.
    void visible(const QPainterPath& path, double width = 1.3);
    void visible(const Polyline& line, double width = 1.3);
    void visible(QPointF a, QPointF b, double width = 1.3);
    void thin(QPointF a, QPointF b);
    void hidden(QPointF a, QPointF b); // dashed: parts removed or out of sight
    void hidden(const Polyline& line);
    void centre(QPointF a, QPointF b);    // dash-dot axis
    void wall(const QPainterPath& band);  // hatched and outlined cut wall
    void breakLine(QPointF a, QPointF b); // freehand break of a part that goes on

    // Dimensions, blue. Arrowheads touch the points they are drawn to.
    void extension(QPointF from, QPointF to);
    void dimension(QPointF a, QPointF b); // arrows inside, pointing outwards at a and b
    void dimensionOutside(QPointF a, QPointF b, double tail = 7); // short span: arrows from outside
    void leader(QPointF from, QPointF tip);                       // one arrow at tip
    void arrowHead(QPointF tip, QPointF direction);
    // Angle arc between two directions (degrees as in ellipseArc), arrows at both ends.
    void angle(QPointF vertex, double radius, double fromDeg, double toDeg);

    // A blue letter centred on a point, with a white halo so lines behind it do not cut it.
    void letter(QPointF centre, const QString& text, double pixelSize = 12.5);
    // Black caption text centred on a point.
    void caption(QPointF centre, const QString& text, double pixelSize = 13);

    QPainter& painter() { return p_; }

private:
    void text(QPointF centre, const QString& text, double pixelSize, const QColor& colour);
    QPainter& p_;
};

inline const QColor kInk{0, 0, 0};
inline const QColor kDimension{0, 72, 210};
inline const QColor kLiquid{196, 222, 246};

} // namespace kelvora::figures
