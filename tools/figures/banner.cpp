// Image12: the banner under the inputs, a tank farm at dusk with the program's name.

#include "drafting.h"
#include "figures.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace kelvora::figures {

namespace {

constexpr int kWidth = 697, kHeight = 260;
constexpr double kGround = 208;

QFont bannerFont(const QString& family, double pixelSize, int weight) {
    QFont font(family);
    font.setPointSizeF(pixelSize * 0.75);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QLinearGradient steel(double x0, double y0, double x1, double y1) {
    QLinearGradient g(x0, y0, x1, y1);
    g.setColorAt(0.0, QColor(112, 126, 140));
    g.setColorAt(0.32, QColor(238, 243, 247));
    g.setColorAt(0.62, QColor(196, 206, 216));
    g.setColorAt(1.0, QColor(92, 104, 118));
    return g;
}

// An upright storage tank with a shallow cone roof, ring seams and a stair up its side.
void storageTank(QPainter& p, double left, double width, double height) {
    const double top = kGround - height;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 30, 40, 70));
    p.drawEllipse(QRectF(left - 8, kGround - 5, width + 30, 10));
    p.setBrush(steel(left, 0, left + width, 0));
    p.drawRect(QRectF(left, top, width, height));
    const QPointF roof[] = {{left - 2, top}, {left + width / 2, top - width * 0.16}, {left + width + 2, top}};
    p.setBrush(steel(left, 0, left + width, 0));
    p.setPen(QPen(QColor(70, 82, 96), 0.8));
    p.drawPolygon(roof, 3);
    p.setPen(QPen(QColor(120, 132, 146, 150), 0.6));
    for (double y = top + 14; y < kGround - 4; y += 14)
        p.drawLine(QPointF(left, y), QPointF(left + width, y));
    p.setPen(QPen(QColor(60, 70, 82), 1.0));
    p.drawLine(QPointF(left + width * 0.15, kGround), QPointF(left + width * 0.85, top + 4));
    p.setPen(QPen(QColor(60, 70, 82), 0.6));
    p.drawLine(QPointF(left + width * 0.15, kGround - 7), QPointF(left + width * 0.85, top - 3));
    p.drawLine(QPointF(left + width * 0.55, top - 6), QPointF(left + width * 0.95, top - 3));
    p.restore();
}

// A horizontal tank on two saddles in the foreground.
void horizontalTank(QPainter& p, double left, double length, double diameter) {
    const double yAxis = kGround + 8 - diameter / 2 - 12;
    const double top = yAxis - diameter / 2, head = diameter * 0.28;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 30, 40, 80));
    p.drawEllipse(QRectF(left - head, kGround + 2, length + 2 * head, 12));
    p.setBrush(QColor(70, 78, 88));
    for (const double x : {left + length * 0.2, left + length * 0.8}) {
        const QPointF saddle[] = {
            {x - 12, kGround + 9}, {x + 12, kGround + 9}, {x + 8, yAxis + 8}, {x - 8, yAxis + 8}};
        p.drawPolygon(saddle, 4);
    }
    QPainterPath body;
    body.moveTo(left, top);
    body.lineTo(left + length, top);
    body.cubicTo(left + length + head * 1.33, top, left + length + head * 1.33, top + diameter, left + length,
                 top + diameter);
    body.lineTo(left, top + diameter);
    body.cubicTo(left - head * 1.33, top + diameter, left - head * 1.33, top, left, top);
    p.setBrush(steel(0, top, 0, top + diameter));
    p.setPen(QPen(QColor(70, 82, 96), 0.8));
    p.drawPath(body);
    p.setPen(QPen(QColor(120, 132, 146, 160), 0.6));
    for (const double f : {0.0, 0.33, 0.66, 1.0}) {
        const double x = left + f * length;
        p.drawLine(QPointF(x, top), QPointF(x, top + diameter));
    }
    p.setBrush(QColor(80, 90, 100));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(left + length * 0.45, top - 7, 12, 7));
    p.restore();
}

} // namespace

QImage banner(int scale) {
    Sheet sheet(kWidth, kHeight, scale);
    QPainter& p = sheet.painter();

    QLinearGradient sky(0, 0, 0, kGround);
    sky.setColorAt(0.0, QColor(14, 42, 86));
    sky.setColorAt(0.6, QColor(52, 112, 178));
    sky.setColorAt(1.0, QColor(164, 202, 234));
    p.fillRect(QRectF(0, 0, kWidth, kGround), sky);
    QRadialGradient glow(QPointF(590, 70), 190);
    glow.setColorAt(0.0, QColor(255, 236, 196, 150));
    glow.setColorAt(1.0, QColor(255, 236, 196, 0));
    p.fillRect(QRectF(0, 0, kWidth, kGround), glow);

    QPainterPath hills(QPointF(0, kGround));
    hills.cubicTo(120, 170, 220, 196, 330, 182);
    hills.cubicTo(430, 168, 520, 150, 697, 176);
    hills.lineTo(kWidth, kGround);
    hills.closeSubpath();
    p.fillPath(hills, QColor(62, 96, 128, 170));

    QLinearGradient ground(0, kGround, 0, kHeight);
    ground.setColorAt(0.0, QColor(78, 88, 98));
    ground.setColorAt(1.0, QColor(38, 44, 52));
    p.fillRect(QRectF(0, kGround, kWidth, kHeight - kGround), ground);

    // pipe rack behind the tanks
    p.setPen(QPen(QColor(80, 92, 104), 2.2));
    p.drawLine(QPointF(360, 186), QPointF(697, 186));
    p.setPen(QPen(QColor(110, 122, 134), 1.4));
    p.drawLine(QPointF(360, 192), QPointF(697, 192));
    for (double x = 370; x < 697; x += 46) {
        p.setPen(QPen(QColor(70, 80, 92), 1.6));
        p.drawLine(QPointF(x, 183), QPointF(x, kGround));
    }

    storageTank(p, 404, 94, 112);
    storageTank(p, 604, 100, 126);
    storageTank(p, 510, 80, 92);
    horizontalTank(p, 430, 178, 50);

    // a faint capacity table under the name
    p.setPen(QPen(QColor(255, 255, 255, 38), 0.8));
    for (int row = 0; row <= 4; ++row)
        p.drawLine(QPointF(38, 172 + row * 8.5), QPointF(318, 172 + row * 8.5));
    for (int col = 0; col <= 6; ++col)
        p.drawLine(QPointF(38 + col * 46.67, 172), QPointF(38 + col * 46.67, 206));

    QPainterPath title;
    title.addText(QPointF(36, 98), bannerFont(QStringLiteral("DejaVu Sans"), 58, QFont::Bold),
                  QStringLiteral("Kelvora"));
    QPainterPath subtitle;
    subtitle.addText(QPointF(40, 150), bannerFont(QStringLiteral("WenQuanYi Micro Hei"), 34, QFont::Normal),
                     QStringLiteral("油罐容积表"));
    for (const QPainterPath* text : {&title, &subtitle}) {
        p.fillPath(text->translated(2, 2.5), QColor(6, 20, 40, 120));
        p.fillPath(*text, QColor(250, 252, 255));
    }
    p.fillRect(QRectF(40, 112, 250, 3), QColor(242, 177, 52));
    return sheet.finish();
}

} // namespace kelvora::figures
