#include "ui/chart_legend.h"

#include <QAbstractSeries>
#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QVBoxLayout>

namespace kelvora::ui {

namespace {

// The entries as rich text: a square in the series' colour, then its name; hidden markers
// and series are left out.
QString legendText(QChart* chart) {
    QStringList entries;
    for (QLegendMarker* marker : chart->legend()->markers()) {
        if (!marker->isVisible() || !marker->series()->isVisible() || marker->label().isEmpty()) continue;
        QColor colour = marker->brush().color();
        if (marker->brush().style() == Qt::NoBrush) colour = marker->pen().color();
        entries << QStringLiteral(
                       "<span style=\"white-space:nowrap\"><span style=\"color:%1\">■</span>&nbsp;%2</span>")
                       .arg(colour.name(), marker->label().toHtmlEscaped());
    }
    return entries.join(QStringLiteral("　 "));
}

// Follows the chart at each of its paintings: a series renamed, hidden or added.
class LegendFollower : public QObject {
public:
    LegendFollower(QChartView* view, QLabel* label) : QObject(label), view_(view), label_(label) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const QString text = legendText(view_->chart());
            if (text != label_->text()) label_->setText(text);
            label_->setVisible(!text.isEmpty());
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QChartView* view_;
    QLabel* label_;
};

} // namespace

QWidget* withLegendBelow(QChartView* view) {
    auto* box = new QWidget(view->parentWidget());
    box->setObjectName(view->objectName() + QStringLiteral("Box"));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view, 1);
    auto* label = new QLabel(box);
    label->setObjectName(view->objectName() + QStringLiteral("Legend"));
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    label->setAlignment(Qt::AlignHCenter);
    label->setFont(view->chart()->legend()->font());
    label->setContentsMargins(4, 0, 4, 2);
    layout->addWidget(label);
    // The chart's legend stays, out of sight and out of the chart's layout: hidden, it would
    // hide every marker with it, and a marker hidden on purpose could not be told apart.
    QLegend* legend = view->chart()->legend();
    legend->detachFromChart();
    legend->setBackgroundVisible(false);
    legend->setGeometry(QRectF(-100000, -100000, 10, 10));
    label->setText(legendText(view->chart()));
    label->setVisible(!label->text().isEmpty());
    view->viewport()->installEventFilter(new LegendFollower(view, label));
    return box;
}

QLabel* legendBelow(const QChartView* view) {
    QWidget* box = view->parentWidget();
    return box ? box->findChild<QLabel*>(view->objectName() + QStringLiteral("Legend"),
                                         Qt::FindDirectChildrenOnly)
               : nullptr;
}

} // namespace kelvora::ui
