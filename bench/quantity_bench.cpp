// 10,000 quantities as kelvora-table --quantity computes them, on a horizontal tank with two
// heads: the quick calculation's litres, ρ20 from a sample reading, VCF20, V20 and the
// mass, each with its own reading, temperature and level. Target: 10,000 in < 0.1 s, in
// "查表" and in "公式".

#include "quantity/quantity.h"
#include "two_head_tank.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kQuantities = 10'000;

void run(benchmark::State& state, int mode) {
    auto in = kelvora::bench::twoHeadTank();
    in.setText(kelvora::quantity::inputs::kProduct, "成品油");
    in.setItemIndex(kelvora::quantity::inputs::kMode, mode);
    // The texts are made before the clock runs: a station's readings, all different.
    struct Reading {
        std::string density, sampleTemperature, oilTemperature, level;
    };
    std::vector<Reading> readings;
    for (int i = 0; i < kQuantities; ++i)
        readings.push_back({std::to_string(700 + (i % 1500) * 0.1), std::to_string(-10 + (i % 400) * 0.25),
                            std::to_string(-5 + (i % 300) * 0.15), std::to_string(100 + (i % 1700))});
    for (auto _ : state) {
        for (const Reading& r : readings) {
            in.setText(kelvora::quantity::inputs::kSampleDensity, r.density);
            in.setText(kelvora::quantity::inputs::kSampleTemperature, r.sampleTemperature);
            in.setText(kelvora::quantity::inputs::kOilTemperature, r.oilTemperature);
            in.setText(kelvora::quantity::inputs::kLevel, r.level);
            const auto q = kelvora::quantity::computeQuantity(in);
            if (!q.message.empty()) throw std::runtime_error(q.message);
            benchmark::DoNotOptimize(q.mass.units);
        }
    }
}

void BM_TenThousandQuantitiesTable(benchmark::State& state) {
    run(state, 0);
}
void BM_TenThousandQuantitiesFormula(benchmark::State& state) {
    run(state, 1);
}

} // namespace

BENCHMARK(BM_TenThousandQuantitiesTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TenThousandQuantitiesFormula)->Unit(benchmark::kMillisecond);
