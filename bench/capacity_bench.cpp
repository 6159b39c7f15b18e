// A million-row capacity table of a circular tank with two non-standard dished heads,
// from the named inputs to the row list.

#include "capacity/memory_inputs.h"
#include "capacity/requests.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <stdexcept>

namespace {

using kelvora::capacity::MemoryInputs;

MemoryInputs dishedTank(const char* step) {
    auto in = MemoryInputs::afterStartup();
    in.setChecked("RadioButton1", true);
    in.setText("Edit1", "2600");
    in.setText("Edit2", "8000");
    in.setChecked("RadioButton5", true);
    in.setText("Edit38", "25"), in.setText("Edit43", "525"), in.setText("Edit44", "2600");
    in.setChecked("RadioButton6", true);
    in.setText("Edit45", "25"), in.setText("Edit46", "525"), in.setText("Edit47", "2600");
    in.setText("Edit6", "0");
    in.setText("Edit7", "2600");
    in.setText("Edit8", step);
    in.setText("Edit9", "9999");
    for (auto name : {"Edit13", "Edit31", "Edit32", "Edit33"}) in.setText(name, "0");
    return in;
}

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
