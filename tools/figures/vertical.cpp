// Image13: a vertical cylindrical tank in axial section, as its strapping describes it: the
// courses from the bottom up with their heights and plate thicknesses, the strap round the
// first course, the measured bottom below the gauge's datum, a pipe inside, the floating
// roof on the liquid, the level h and the reference height from the datum.

#include "drafting.h"
#include "figures.h"

namespace kelvora::figures {

QImage verticalTank(int scale) {
    Sheet sheet(418, 420, scale);
    Drafter d(sheet.painter());
    QPainter& p = d.painter();

    constexpr double axis = 190, r = 118, bottom = 352, courseHeight = 54;
    constexpr int courses = 5;
    const double thickness[courses] = {7, 6, 5, 4, 3.5}; // drawn thicker than true, thinning upwards
    const double top = bottom - courses * courseHeight;
    const double left = axis - r, right = axis + r;

    // The bottom: a shallow cone, its centre the gauge's datum; the foundation under it.
    const QPointF datum(axis, bottom);
    const Polyline floor{{left, bottom - 8}, datum, {right, bottom - 8}};
    QPainterPath inside;
    inside.moveTo(left, top);
    inside.lineTo(left, bottom - 8);
    inside.lineTo(datum);
    inside.lineTo(right, bottom - 8);
    inside.lineTo(right, top);
    inside.closeSubpath();

    // The liquid up to the level, the roof floating on it.
    const double level = bottom - 2.62 * courseHeight;
    QPainterPath below;
    below.addRect(QRectF(left, level, 2 * r, bottom - level + 1));
    p.fillPath(inside.intersected(below), kLiquid);
    p.save();
    p.setPen(QPen(kInk, 0.9));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(left + 4, level - 7, 2 * r - 8, 7));
    p.restore();
    // Its legs, standing clear of the bottom while it floats.
    for (const double x : {left + 30, axis - 40, axis + 40, right - 30})
        d.visible(QPointF(x, level), QPointF(x, level + 26), 1.0);
    d.caption(QPointF(axis, level - 16), QStringLiteral("浮顶"), 12);

    // The shell, one cut wall per course outside the inner line; the bottom plate.
    for (int k = 0; k < courses; ++k) {
        const double lo = bottom - k * courseHeight - (k == 0 ? 8 : 0), hi = bottom - (k + 1) * courseHeight;
        d.wall(wallBand(Polyline{{left, hi}, {left, lo}}, thickness[k]));
        d.wall(wallBand(Polyline{{right, lo}, {right, hi}}, thickness[k]));
        d.thin(QPointF(left + 3, hi), QPointF(left + 12, hi));
        p.save();
        p.setFont(letterFont(11));
        p.setPen(kInk);
        p.drawText(QRectF(left + 6, hi, 20, courseHeight), Qt::AlignCenter, QString::number(k + 1));
        p.restore();
    }
    d.wall(wallBand(floor, 4));
    d.visible(QPointF(left - 14, bottom + 6), QPointF(right + 14, bottom + 6), 1.0);
    d.centre(QPointF(axis, top - 14), QPointF(axis, bottom + 14));

    // A pipe inside: deadwood.
    p.save();
    p.setPen(QPen(kInk, 0.9));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(right - 40, bottom - 30), 9, 9);
    p.restore();
    d.leader(QPointF(right - 12, bottom - 62), QPointF(right - 36, bottom - 38));
    d.caption(QPointF(right - 10, bottom - 70), QStringLiteral("附件"), 11);

    // The strap round course 1: the external circumference.
    const double strap = bottom - courseHeight / 2;
    d.visible(ellipseArc(QPointF(axis, strap), r + thickness[0] + 1, 9, 180, 360), 1.0);
    d.hidden(ellipseArc(QPointF(axis, strap), r + thickness[0] + 1, 9, 0, 180));
    d.letter(QPointF(axis + 58, strap + 16), QStringLiteral("C₁"));

    // The level h and the reference height from the datum, on the left.
    d.extension(datum + QPointF(-4, 0), QPointF(left - 52, bottom));
    d.extension(QPointF(left - 10, level), QPointF(left - 34, level));
    d.dimension(QPointF(left - 28, bottom), QPointF(left - 28, level));
    d.letter(QPointF(left - 20, (bottom + level) / 2), QStringLiteral("h"));
    const double hatch = top - 22;
    d.visible(QPointF(axis - 60, top), QPointF(axis - 60, hatch), 1.1);
    d.visible(QPointF(axis - 70, hatch), QPointF(axis - 50, hatch), 1.6);
    d.extension(QPointF(axis - 74, hatch), QPointF(left - 52, hatch));
    d.dimension(QPointF(left - 46, bottom), QPointF(left - 46, hatch));
    d.letter(QPointF(left - 37, top + 40), QStringLiteral("H"));
    d.caption(QPointF(axis - 30, hatch - 8), QStringLiteral("计量口"), 11);

    // Course heights and thicknesses on the right.
    for (int k = 0; k < 2; ++k) {
        const double lo = bottom - k * courseHeight, hi = lo - courseHeight;
        d.extension(QPointF(right + thickness[k] + 3, hi), QPointF(right + 40, hi));
        d.dimension(QPointF(right + 34, lo), QPointF(right + 34, hi));
        d.letter(QPointF(right + 46, (lo + hi) / 2), k == 0 ? QStringLiteral("h₁") : QStringLiteral("h₂"));
    }
    d.extension(QPointF(right + thickness[0] + 3, bottom), QPointF(right + 40, bottom));
    d.dimensionOutside(QPointF(right, bottom - 90), QPointF(right + thickness[1], bottom - 90));
    d.letter(QPointF(right + 20, bottom - 100), QStringLiteral("δ₂"));
    d.caption(QPointF(axis, bottom + 24), QStringLiteral("液位基准点（罐底中心）"), 11);
    d.caption(QPointF(axis, bottom + 44), QStringLiteral("圈板自下而上编号 1, 2, …"), 11);
    return sheet.finish();
}

} // namespace kelvora::figures
