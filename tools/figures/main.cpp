// kelvora-figures <folder>: redraws the reference figures and the banner of the window as
// image1.jpg … image13.jpg in <folder> (ui/figures/ in the source tree).

#include "figures.h"
#include "jpeg_writer.h"
#include "ui/figure_boxes.h"

#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <cstdio>

namespace {

constexpr int kScale = 2; // sharp on dense displays, and the window only ever scales down
constexpr int kQuality = 92;

// Without these faces Qt would fall back silently, and the Chinese title would be boxes.
bool fontPresent(const QString& family, const QString& sample) {
    const QFont font(family);
    return QFontInfo(font).family() == family && QFontMetricsF(font).inFontUcs4(sample.toUcs4().front());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvora-figures <output folder>\n");
        return 2;
    }
    for (const auto& [family, sample] :
         {std::pair{QStringLiteral("DejaVu Sans"), QStringLiteral("α")},
          std::pair{QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("罐")}}) {
        if (!fontPresent(family, sample)) {
            std::fprintf(stderr,
                         "kelvora-figures: the font \"%s\" is missing (tools/install-deps installs it)\n",
                         qPrintable(family));
            return 1;
        }
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "kelvora-figures: cannot create %s\n", argv[1]);
        return 1;
    }
    for (const kelvora::ui::FigureBox& box : kelvora::ui::figureBoxes) {
        const QImage image = kelvora::figures::drawFigure(box.number, kScale);
        if (image.width() != box.width * kScale || image.height() != box.height * kScale) {
            std::fprintf(stderr, "kelvora-figures: %s is not drawn to its box\n", box.name);
            return 1;
        }
        const QString path = folder.filePath(QStringLiteral("image%1.jpg").arg(box.number));
        QString error;
        if (!kelvora::figures::writeJpeg(image, path, kQuality, error)) {
            std::fprintf(stderr, "kelvora-figures: %s: %s\n", qPrintable(path), qPrintable(error));
            return 1;
        }
        std::printf("%s  %s\n", box.name, qPrintable(QDir::current().relativeFilePath(path)));
    }
    return 0;
}
