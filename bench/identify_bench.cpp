// The identification of α and β from 600 records of an inclined tank with two
// spherical-cap heads, with noise and a delivery in the middle: by exact geometry
// (target ≤ 1 s) and by the required formulas (target ≤ 0.2 s).

#include "identify/tilt_fit.h"

#include "../tests/identify/synthetic.h"

#include <benchmark/benchmark.h>

namespace {

void fit(benchmark::State& state) {
    const auto d = kelvora::test::inclinedTank(state.range(0) == 1);
    const auto records = kelvora::test::syntheticRecords(d, -1.9, 3.5, 41520, 1.3, 600);
    for (auto _ : state) {
        const auto identification = kelvora::identify::fitTilt(d, records, false);
        if (!identification.fit) state.SkipWithError("no fit");
        benchmark::DoNotOptimize(identification.fit);
    }
}
// 0: required formulas, 1: exact geometry.
BENCHMARK(fit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
