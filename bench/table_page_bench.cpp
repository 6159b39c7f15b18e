// Showing a 1,000,000-row table on the "容积表" page: the model reset, the summary and the
// curve reduction, and the series handed to the chart. Target: ≤ 300 ms.

#include "capacity/row_list.h"
#include "ui/Unit1.h"
#include "ui/table_page.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

// 0 … 200 cm by 0.0002 cm, the litres of a horizontal cylinder of D 2000 and L 5000.
kelvora::capacity::RowList millionRows() {
    kelvora::capacity::RowList rows;
    char level[32], value[32];
    for (int i = 0; i <= 1'000'000; ++i) {
        const double x = i * 0.002; // mm
        const double R = 1000, h = x;
        const double area =
            R * R * std::acos((R - h) / R) - (R - h) * std::sqrt(std::fmax(0, 2 * R * h - h * h));
        std::snprintf(level, sizeof level, "%.15g", x / 10);
        std::snprintf(value, sizeof value, "%.2f", area * 5000 / 1e6);
        rows.append(level, value);
    }
    return rows;
}

void BM_ShowMillionRowTable(benchmark::State& state) {
    const auto rows = millionRows();
    kelvora::ui::TFrmMain window;
    auto* page = window.tablePage();
    bool weight = false;
    for (auto _ : state) {
        page->showTable(rows, weight);
        weight = !weight;
        benchmark::DoNotOptimize(page->summary().curve.size());
    }
    state.counters["rows"] = static_cast<double>(rows.size());
    state.counters["curve points"] = static_cast<double>(page->summary().curve.size());
}

} // namespace

BENCHMARK(BM_ShowMillionRowTable)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
