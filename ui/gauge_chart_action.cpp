#include "ui/gauge_chart_action.h"

#include "capacity/gauge_chart.h"
#include "persist/atomic_file.h"
#include "ui/Unit1.h"

#include <QBoxLayout>
#include <QPushButton>

namespace kelvora::ui {

void exportGaugeChart(TFrmMain& window) {
    WindowServices& services = window.services();
    const auto intervals =
        services.askNumber("液位仪表的分段数 N（导出 N + 1 个点）：", capacity::kDefaultChartIntervals,
                           capacity::kMinChartIntervals, capacity::kMaxChartIntervals);
    if (!intervals) return;
    const auto result = capacity::makeGaugeChart(window, *intervals);
    if (!result.chart) {
        services.messageBox(result.message);
        return;
    }
    std::string proposed = "液位仪表";
    if (!result.chart->tankNumber.empty()) proposed += "_" + result.chart->tankNumber;
    const auto path = services.saveDialog({"csv", {"*.csv"}, proposed});
    if (!path) return;
    persist::writeFileAtomically(*path, capacity::gaugeChartText(*result.chart));
    services.informationBox("保存成功！");
}

void addGaugeChartButton(TFrmMain& window, QWidget* bar) {
    auto* button = new QPushButton(QStringLiteral("导出液位仪表…"), bar);
    button->setObjectName(QStringLiteral("GaugeChartButton"));
    if (auto* layout = qobject_cast<QBoxLayout*>(bar->layout())) layout->addWidget(button);
    QObject::connect(button, &QPushButton::clicked, bar,
                     [&window] { window.runHandler([&window] { exportGaugeChart(window); }); });
}

} // namespace kelvora::ui
