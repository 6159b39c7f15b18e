// The inclined tank's exact volume over a 100,001-row table, beside the same table by the
// level conversion and the lying-tank formulas, for a tank with two ellipsoidal heads.

#include "geometry/inclined.h"
#include "kernel/heads.h"
#include "kernel/inclined.h"
#include "kernel/shell.h"

#include <benchmark/benchmark.h>

namespace {

using kelvora::geometry::InclinedHead;
using kelvora::geometry::InclinedTank;

constexpr int kRows = 100001;
constexpr double kA = 2000, kL = 6000, kHead = 500;

InclinedTank tank(double alpha) {
    const InclinedHead head{InclinedHead::Shape::Ellipsoidal, kHead};
    return {kA, kA, kL, kL / 2, alpha, 0, head, head};
}

void BM_InclinedExactTable(benchmark::State& state) {
    const InclinedTank k = tank(static_cast<double>(state.range(0)) / 1000);
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < kRows; ++i)
            sum += kelvora::geometry::inclinedVolume(k, kA * i / (kRows - 1));
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
// α in thousandths of a degree: the smallest the window passes, a usual tilt, the steepest.
BENCHMARK(BM_InclinedExactTable)->Arg(1)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_InclinedFormulaTable(benchmark::State& state) {
    const double alpha = 2;
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < kRows; ++i) {
            const double level =
                kelvora::kernel::GaoDuBianHuan(kA, kL, kL / 2, alpha, 0, kA * i / (kRows - 1));
            sum += kelvora::kernel::YuangTong(kA, kA, level, kL) +
                   2 * kelvora::kernel::TuoFengTou(kA, kA, kHead, level);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_InclinedFormulaTable)->Unit(benchmark::kMillisecond);

} // namespace
