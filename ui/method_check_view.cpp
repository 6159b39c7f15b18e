#include "ui/method_check_view.h"

#include "capacity/display.h"
#include "kernel/number_text.h"
#include "ui/page_parts.h"

#include <QChart>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kelvora::ui {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QString percent(double share) {
    return q(kernel::RoundToStr(share * 100)) + QLatin1Char('%');
}

QString centimetres(double mm) {
    return q(kernel::formatGeneral(mm * 0.1L));
}

// How many points the deviation curve keeps: the largest deviation of each column.
constexpr std::size_t kDeviationColumns = 2048;

} // namespace

QString methodName(bool exactGeometry) {
    return exactGeometry ? QStringLiteral("按精确几何计算") : QStringLiteral("按规定公式计算");
}

MethodCheckView::MethodCheckView(QWidget* parent, QChart* chart) : QLabel(parent), chart_(chart) {
    setObjectName(QStringLiteral("MethodCheck"));
    setWordWrap(true);
    // The line wraps to the width the page gives it; it never widens the window.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    series_ = new QLineSeries(chart_);
    series_->setName(QStringLiteral("偏差（精确几何 − 规定公式）"));
    QPen pen(QColor(30, 120, 30));
    pen.setWidth(1);
    series_->setPen(pen);
    axis_ = new QValueAxis(chart_);
    axis_->setTitleText(QStringLiteral("偏差 (升)"));
    QFont small = font();
    small.setPixelSize(10);
    axis_->setLabelsFont(small);
    axis_->setTitleFont(small);
    axis_->setTickCount(5);
    clear();
}

// The series and its axis are on the chart only while a deviation is drawn, so the chart
// without a check is the chart without them, legend and minimum size included.
void MethodCheckView::attach(bool on) {
    const bool attached = chart_->series().contains(series_);
    if (on == attached) return;
    if (on) {
        chart_->addSeries(series_);
        chart_->addAxis(axis_, Qt::AlignRight);
        const auto bottom = chart_->axes(Qt::Horizontal);
        if (!bottom.isEmpty()) series_->attachAxis(bottom.first());
        series_->attachAxis(axis_);
    } else {
        chart_->removeSeries(series_);
        chart_->removeAxis(axis_);
        series_->setParent(chart_);
        axis_->setParent(chart_);
    }
}

void MethodCheckView::clear() {
    other_.clear();
    deviation_ = {};
    series_->clear();
    attach(false);
    setText({});
}

void MethodCheckView::compare(capacity::NamedInputs& inputs, std::size_t tableRows, bool exactTable,
                              bool weight) {
    clear();
    if (tableRows > kMethodCheckMaxRows) {
        setText(QStringLiteral("%1。表超过 %2 行，未与另一种算法对照。")
                    .arg(methodName(exactTable))
                    .arg(static_cast<qulonglong>(kMethodCheckMaxRows)));
        return;
    }
    std::vector<capacity::MethodRow> rows;
    const auto outcome = capacity::CompareMethods(inputs, rows);
    if (outcome.stopped()) {
        setText(QStringLiteral("%1。无法与精确几何对照：%2").arg(methodName(exactTable), q(outcome.message)));
        return;
    }
    capacity::ValueText value(inputs);
    other_.reserve(rows.size(), 24);
    for (const auto& row : rows)
        other_.append(value(exactTable ? row.formula : row.exact), value(row.exact - row.formula));
    // In weight mode the deviation is weighed like the table's values.
    const double scale = weight ? capacity::MiDu(inputs) : 1000;
    deviation_ = capacity::deviationOf(rows, scale);
    const auto& m = deviation_;
    const QString deviation = q(kernel::RoundToStr(m.largest));
    // Methods that agree to the table's hundredth leave only rounding noise to draw.
    if (deviation == QStringLiteral("0") || deviation == QStringLiteral("-0")) {
        setText(QStringLiteral("%1。对照（精确几何 − 规定公式）：两种算法结果一致。")
                    .arg(methodName(exactTable)));
        return;
    }
    setText(
        QStringLiteral("%1。对照（精确几何 − 规定公式）：最大偏差 %2 %3（液位 %4 cm），占最高液位%5的 %6；"
                       "%5超过最高液位%5 1% 的液位上，最大偏差占该液位%5的 %7（液位 %8 cm）。")
            .arg(methodName(exactTable), deviation, weight ? QStringLiteral("公斤") : QStringLiteral("升"),
                 centimetres(m.largestLevel), weight ? QStringLiteral("重量") : QStringLiteral("容积"),
                 percent(m.shareOfCapacity), percent(m.largestLocalShare), centimetres(m.localLevel)));
    axis_->setTitleText(weight ? QStringLiteral("偏差 (公斤)") : QStringLiteral("偏差 (升)"));
    drawDeviation(rows, scale);
}

void MethodCheckView::drawDeviation(const std::vector<capacity::MethodRow>& rows, double scale) {
    if (rows.empty()) return;
    QList<QPointF> points;
    const std::size_t per = (rows.size() + kDeviationColumns - 1) / kDeviationColumns;
    double low = 0, high = 0;
    for (std::size_t begin = 0; begin < rows.size(); begin += per) {
        const std::size_t end = std::min(rows.size(), begin + per);
        auto largest = std::max_element(
            rows.begin() + static_cast<std::ptrdiff_t>(begin),
            rows.begin() + static_cast<std::ptrdiff_t>(end), [](const auto& a, const auto& b) {
                return std::fabs(a.exact - a.formula) < std::fabs(b.exact - b.formula);
            });
        const double d = (largest->exact - largest->formula) * scale;
        low = std::min(low, d), high = std::max(high, d);
        points.append(QPointF(largest->level * 0.1, d));
    }
    attach(true);
    series_->replace(points);
    const double pad = std::max(high - low, 1e-6) * 0.05;
    axis_->setRange(low - pad, high + pad);
    axis_->applyNiceNumbers();
    usePlainLabels(axis_);
}

} // namespace kelvora::ui
