#include "ui/identify_report.h"

#include "identify/identification.h"
#include "kernel/errors.h"
#include "kernel/number_text.h"
#include "persist/utf8_text.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QWidget>

#include <algorithm>

namespace kelvora::ui {

std::string identifyResultCsv(const identify::TiltFit& fit, const std::vector<double>& levels,
                              const std::vector<std::size_t>& lines) {
    std::string csv(persist::kUtf8Bom);
    for (const std::string& line : identify::resultLines(fit))
        csv += line + '\n';
    csv += '\n';
    csv += kResidualHeading;
    csv += '\n';
    const std::size_t n =
        std::min({levels.size(), lines.size(), fit.residualsBefore.size(), fit.residualsAfter.size()});
    for (std::size_t i = 0; i < n; ++i)
        csv += std::to_string(lines[i]) + ',' + kernel::formatGeneral(levels[i]) + ',' +
               identify::fixedText(fit.residualsBefore[i], 2) + ',' +
               identify::fixedText(fit.residualsAfter[i], 2) + '\n';
    return csv;
}

void printIdentifyReport(QPrinter& printer, const QString& resultHtml, QWidget* chart) {
    QPainter painter;
    if (!painter.begin(&printer)) throw IoError("打印失败");
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    QTextDocument text;
    text.documentLayout()->setPaintDevice(&printer);
    text.setHtml(QStringLiteral("<h3>变位识别结果</h3>") + resultHtml);
    text.setTextWidth(page.width());
    text.drawContents(&painter);
    const double top = text.size().height() + printer.resolution() / 4.0;
    if (chart && top < page.height()) {
        // The chart as shown, scaled to the page's width and no taller than what is left.
        const QSizeF shown = chart->size();
        double width = page.width(), height = width * shown.height() / std::max(1.0, shown.width());
        if (height > page.height() - top) {
            height = page.height() - top;
            width = height * shown.width() / std::max(1.0, shown.height());
        }
        // Drawn at the screen's resolution (twice over, for a sharper print), where its fonts
        // and its layout agree, then scaled onto the page.
        QImage picture(chart->size() * 2, QImage::Format_ARGB32_Premultiplied);
        picture.setDevicePixelRatio(2);
        picture.fill(Qt::white);
        chart->render(&picture);
        painter.drawImage(QRectF(0, top, width, height), picture);
    }
    painter.end();
    if (printer.printerState() == QPrinter::Error) throw IoError("打印失败");
}

} // namespace kelvora::ui
