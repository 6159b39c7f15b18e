// The reference pictures decode through libjpeg to pictures of their boxes' shape, and
// damaged data gives no picture rather than a crash or half a picture.

#include "ui/Unit1.h"
#include "ui/figure_boxes.h"
#include "ui/jpeg_image.h"

#include "recording_services.h"

#include <QLabel>
#include <QtTest>

using kelvora::ui::figureBoxes;

class FiguresTest : public QObject {
    Q_OBJECT

    static int darkPixels(const QImage& image) {
        int dark = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                if (qGray(image.pixel(x, y)) < 96) ++dark;
        return dark;
    }

private slots:
    void everyFigureDecodesToItsBoxsShape() {
        for (const auto& box : figureBoxes) {
            const QImage image = kelvora::ui::decodeJpeg(kelvora::ui::referenceFigureData(box.number));
            QVERIFY2(!image.isNull(), box.name);
            const double want = double(box.width) / box.height, got = double(image.width()) / image.height();
            QVERIFY2(std::abs(got / want - 1) < 0.02, box.name);
            QVERIFY2(darkPixels(image) > 50, box.name); // lines and letters, not a blank
        }
        QVERIFY(kelvora::ui::referenceFigure(14).isNull());
    }

    void damagedDataGivesNoPicture() {
        const QByteArray good = kelvora::ui::referenceFigureData(7);
        QVERIFY(kelvora::ui::decodeJpeg(QByteArray()).isNull());
        QVERIFY(kelvora::ui::decodeJpeg(QByteArray("not a picture")).isNull());
        QVERIFY(kelvora::ui::decodeJpeg(good.left(good.size() / 2)).isNull());
        QByteArray scrambled = good;
        for (qsizetype i = scrambled.size() / 3; i < scrambled.size() / 3 + 64; ++i) scrambled[i] = char(0xFF);
        kelvora::ui::decodeJpeg(scrambled); // whatever it gives, it returns
    }

    // F is measured from the probe to the girth weld of the high end, as the level
    // conversion takes it: its dimension line lies above the shell on the high-end side of
    // the probe, and nothing of it on the low-end side. Image11 is Image9 mirrored.
    void inclinedFiguresMeasureFToTheHighEnd() {
        struct Case {
            int number;
            bool lowEndLeft;
        };
        for (const Case c : {Case{9, true}, Case{11, false}}) {
            const QImage image = kelvora::ui::referenceFigure(c.number).convertToFormat(QImage::Format_RGB32);
            QVERIFY(!image.isNull());
            const double s = image.width() / 418.0;
            // In the drawing's own units (418 wide), low end left: the shell's top edge, the
            // ground at 30, the probe's riser from 189 to 202.
            auto shellTop = [](double x) { return 112.4 - 0.1584 * (x - 72.4); };
            auto bluePixels = [&](double x0, double x1) {
                int blue = 0;
                for (double x = x0; x < x1; x += 1 / s)
                    for (double y = 36; y < shellTop(x) - 4; y += 1 / s) {
                        const double xImage = c.lowEndLeft ? x : 418 - x;
                        const QRgb px = image.pixel(int(xImage * s), int(y * s));
                        if (qBlue(px) > 140 && qRed(px) < 110 && qBlue(px) - qGreen(px) > 40) ++blue;
                    }
                return blue;
            };
            const int lowSide = bluePixels(60, 186), highSide = bluePixels(206, 345);
            QVERIFY2(highSide > 200, qPrintable(QStringLiteral("Image%1: %2").arg(c.number).arg(highSide)));
            QVERIFY2(lowSide < 10, qPrintable(QStringLiteral("Image%1: %2").arg(c.number).arg(lowSide)));
        }
    }

    void theWindowShowsEachFigureInItsBox() {
        kelvora::ui::TFrmMain window(std::make_unique<kelvora::test::RecordingServices>());
        for (const auto& box : figureBoxes) {
            auto* label = window.findChild<QLabel*>(QLatin1String(box.name));
            QVERIFY2(label, box.name);
            QVERIFY2(!label->pixmap().isNull(), box.name);
            if (box.number != 12) QCOMPARE(label->geometry(), QRect(box.left, box.top, box.width, box.height));
        }
    }
};

QTEST_MAIN(FiguresTest)
#include "figures_test.moc"
