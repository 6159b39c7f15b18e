// Level from a known volume on a horizontal tank with two heads: the window's "求液位" and
// kelvora-table --level-for, from the named inputs to the level text. Target: ≤ 1 ms.

#include "capacity/level_for.h"
#include "capacity/memory_inputs.h"
#include "capacity/page_inputs.h"
#include "two_head_tank.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using kelvora::bench::twoHeadTank;

void run(benchmark::State& state, const char* value, int mode) {
    auto in = twoHeadTank();
    in.setText("LevelForValue", value);
    in.setItemIndex("LevelForMode", mode);
    for (auto _ : state) {
        const auto outcome = kelvora::capacity::LevelForVolume(in);
        if (outcome.stopped()) throw std::runtime_error(outcome.message);
        benchmark::DoNotOptimize(in.text("LevelForResult"));
    }
}

void BM_LevelForVolume(benchmark::State& state) {
    run(state, "20000", kelvora::capacity::kLevelForByVolume);
}
void BM_LevelForPercent(benchmark::State& state) {
    run(state, "95", kelvora::capacity::kLevelForByPercent);
}

} // namespace

BENCHMARK(BM_LevelForVolume)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LevelForPercent)->Unit(benchmark::kMicrosecond);
