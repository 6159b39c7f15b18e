// The libjpeg decoder below the window: every embedded picture at a whole multiple of its box,
// and damaged data of every kind giving a null image, never a crash or half a picture.

#include "ui/figure_boxes.h"
#include "ui/jpeg_image.h"

#include <gtest/gtest.h>

#include <QColor>

namespace kelvora::ui {
namespace {

// Every picture decodes to a whole multiple of its box, so stretching keeps its proportions,
// and is not blank: line drawings are black on a white ground, the banner is not one colour.
TEST(ReferenceFigures, EachDecodesToItsBoxAndShowsADrawing) {
    for (const FigureBox& box : figureBoxes) {
        SCOPED_TRACE(box.name);
        const QImage image = referenceFigure(box.number);
        ASSERT_FALSE(image.isNull());
        const int scale = image.width() / box.width;
        ASSERT_GE(scale, 1);
        EXPECT_EQ(image.width(), box.width * scale);
        EXPECT_EQ(image.height(), box.height * scale);

        int dark = 0, white = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const int grey = qGray(image.pixel(x, y));
                dark += grey < 80;
                white += grey > 240;
            }
        const double pixels = double(image.width()) * image.height();
        EXPECT_GT(dark / pixels, 0.002);
        if (box.page != FigurePage::Panel4) {
            EXPECT_GT(white / pixels, 0.6);
        }
    }
}

TEST(ReferenceFigures, NumbersWithoutAPictureGiveNothing) {
    for (const int number : {0, -1, 14, 100}) {
        SCOPED_TRACE(number);
        EXPECT_TRUE(referenceFigureData(number).isEmpty());
        EXPECT_TRUE(referenceFigure(number).isNull());
    }
}

QByteArray withSides(QByteArray bytes, int width, int height) {
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0) return {};
    // marker, length (2), precision (1), then height and width, big-endian
    bytes[sof + 5] = char(height >> 8);
    bytes[sof + 6] = char(height & 0xFF);
    bytes[sof + 7] = char(width >> 8);
    bytes[sof + 8] = char(width & 0xFF);
    return bytes;
}

QByteArray withMarkerInScan(QByteArray bytes) {
    bytes.replace(bytes.size() * 2 / 3, 2, QByteArray("\xFF\xD4", 2)); // a restart marker nobody asked for
    return bytes;
}

TEST(DecodeJpeg, DamagedDataGivesANullImage) {
    const QByteArray good = referenceFigureData(1);
    ASSERT_GT(good.size(), 1000);
    const qsizetype scanStart = good.indexOf(QByteArray("\xFF\xDA", 2));
    ASSERT_GT(scanStart, 0);
    struct Case {
        const char* name;
        QByteArray bytes;
        bool decodes;
    };
    const Case cases[] = {
        {"intact", good, true},
        {"empty", QByteArray(), false},
        {"not a JPEG", QByteArray("GIF89a, not a JPEG at all"), false},
        {"start of image only", good.left(2), false},
        {"headers without a scan", good.left(scanStart), false},
        {"cut in the middle of the scan", good.left(good.size() / 2), false},
        {"end-of-image marker missing", good.left(good.size() - 2), false},
        {"marker inside the scan", withMarkerInScan(good), false},
        {"zero height", withSides(good, 400, 0), false},
        {"sides beyond the limit", withSides(good, 60000, 60000), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(!decodeJpeg(c.bytes).isNull(), c.decodes);
    }
}

} // namespace
} // namespace kelvora::ui
