// The table's uncertainty for 10,000 rows of the two-head tank. Targets: ≤ 0.5 s by the
// required formulas, ≤ 3 s by exact geometry.

#include "capacity/page_inputs.h"
#include "capacity/tank_description.h"
#include "capacity/uncertainty.h"
#include "two_head_tank.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using namespace kelvora::capacity;

TTankDescription described(bool exact) {
    auto in = kelvora::bench::twoHeadTank();
    in.setText("Edit6", "0"), in.setText("Edit7", "2600"), in.setText("Edit8", "0.26"), in.setText("Edit9", "50");
    in.setChecked("ExactGeometry", exact);
    auto read = ReadTankDescription(in, RequestType::Table);
    if (!read.description) throw std::runtime_error(read.message);
    return *read.description;
}

void run(benchmark::State& state, bool exact) {
    const TTankDescription d = described(exact);
    const StandardUncertainties u{.section = 2, .length = 3, .head = 2, .level = 1};
    for (auto _ : state) {
        const auto rows = tableUncertainty(d, u, 1000);
        if (rows.size() != 10'001) throw std::runtime_error("rows");
        benchmark::DoNotOptimize(rows.data());
    }
}

void BM_TableUncertaintyFormulas(benchmark::State& state) { run(state, false); }
void BM_TableUncertaintyExact(benchmark::State& state) { run(state, true); }

} // namespace

BENCHMARK(BM_TableUncertaintyFormulas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableUncertaintyExact)->Unit(benchmark::kMillisecond);
