// Level from a known volume on a horizontal tank with two heads: the window's "求液位" and
// kelvora-table --level-for, from the named inputs to the level text. Target: ≤ 1 ms.

#include "capacity/level_for.h"
#include "capacity/memory_inputs.h"
#include "capacity/page_inputs.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using kelvora::capacity::MemoryInputs;

// D 2600, L 8000, an ellipsoidal head at the left and a non-standard dished head at the right.
MemoryInputs twoHeadTank() {
    auto in = MemoryInputs::afterStartup();
    in.setChecked("RadioButton1", true);
    in.setText("Edit1", "2600");
    in.setText("Edit2", "8000");
    in.setChecked("RadioButton15", true);
    in.setText("Edit21", "25"), in.setText("Edit22", "675");
    in.setChecked("RadioButton6", true);
    in.setText("Edit45", "25"), in.setText("Edit46", "525"), in.setText("Edit47", "2600");
    for (auto name : {"Edit13", "Edit31", "Edit32", "Edit33"})
        in.setText(name, "0");
    return in;
}

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
