#pragma once
// "导出液位仪表…" of the "容积表" page: the chart of a level gauge's console
// (capacity/gauge_chart.h), N + 1 points with N asked (20 proposed), saved as CSV.

class QWidget;

namespace kelvora::ui {

class TFrmMain;

// Asks N, then the file, and saves; a validation stop is shown as the message box shows
// it, a failed save throws for the general error report.
void exportGaugeChart(TFrmMain& window);

// The button "GaugeChartButton" in `bar` (a widget with a box layout).
void addGaugeChartButton(TFrmMain& window, QWidget* bar);

} // namespace kelvora::ui
