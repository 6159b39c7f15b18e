#pragma once
// A chart's legend as lines of text under the chart, wrapped to the width there is: Qt
// Charts cuts a legend's entries short ("…") when the chart is narrow, as on a 1024×768
// desktop, where every entry must still be read whole.

class QChartView;
class QLabel;
class QWidget;

namespace kelvora::ui {

// The chart's own legend put out of sight; the returned widget holds `view` with the legend's visible
// entries (colour and name) below it, kept up to date as the series and markers change.
// Put it in the layout where the view would go.
QWidget* withLegendBelow(QChartView* view);

// The legend line under a view given to withLegendBelow; nullptr for another view.
QLabel* legendBelow(const QChartView* view);

} // namespace kelvora::ui
