// A million-row capacity table of a circular tank with two non-standard dished heads,
// from the named inputs to the row list.

#include "million_row_tank.h"

#include "capacity/requests.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <stdexcept>

namespace {

using kelvora::bench::dishedTank;

void BM_MillionRowTable(benchmark::State& state) {
    // 2600 mm by 0.0026 mm: 1,000,001 rows.
    auto in = dishedTank("0.0026");
    kelvora::capacity::RowList rows;
    for (auto _ : state) {
        const auto outcome = kelvora::capacity::GenerateCapacityTable(in, rows);
        if (outcome.stopped()) throw std::runtime_error(outcome.message);
        benchmark::DoNotOptimize(rows.size());
    }
    state.counters["rows"] = static_cast<double>(rows.size());
    state.counters["rowListMB"] = static_cast<double>(rows.bytes()) / 1e6;
    state.SetItemsProcessed(state.iterations() * static_cast<long>(rows.size()));
}
BENCHMARK(BM_MillionRowTable)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
