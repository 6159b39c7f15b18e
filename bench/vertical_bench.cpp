// A 20 m vertical tank of 10 courses, tabulated at a 1 mm step (20,001 rows): the main
// table and its hydrostatic table, from the named inputs to the row lists, as the batch
// tool and the window make them. Target: both under 0.2 s.

#include "capacity/memory_inputs.h"
#include "capacity/requests.h"
#include "capacity/vertical_tables.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

namespace {

using kelvora::capacity::MemoryInputs;

MemoryInputs twentyMetreTank() {
    auto in = MemoryInputs::afterStartup();
    in.setActivePage(4);
    std::string courses;
    for (int i = 0; i < 10; ++i) {
        const int thickness = 22 - 2 * i;
        courses += (i ? ";" : "") + std::string("2000,") + std::to_string(94300 + 3 * i) + "," +
                   std::to_string(thickness) + ",-4.5";
    }
    in.setText("VerticalCourses", courses);
    in.setText("VerticalBottom", "0,0;100,1200;300,5800");
    in.setText("VerticalDeadwood", "0,150,320;400,2600,-900;3000,19000,-1500");
    in.setText("VerticalTilt", "0.8");
    in.setText("VerticalDensity", "860");
    in.setText("VerticalRoofMass", "60000");
    in.setText("VerticalRoofFloat", "1800");
    in.setText("VerticalRoofRest", "1500");
    in.setText("Edit6", "0");
    in.setText("Edit7", "20000");
    in.setText("Edit8", "1");
    in.setText("Edit9", "9999");
    return in;
}

void BM_VerticalMainAndHydrostaticTables(benchmark::State& state) {
    auto in = twentyMetreTank();
    kelvora::capacity::RowList rows, increase;
    for (auto _ : state) {
        auto outcome = kelvora::capacity::GenerateCapacityTable(in, rows);
        if (outcome.stopped()) throw std::runtime_error(outcome.message);
        outcome = kelvora::capacity::HydrostaticTable(in, increase);
        if (outcome.stopped()) throw std::runtime_error(outcome.message);
        benchmark::DoNotOptimize(rows.size() + increase.size());
    }
    state.counters["rows"] = static_cast<double>(rows.size());
    state.counters["hydrostaticRows"] = static_cast<double>(increase.size());
}
BENCHMARK(BM_VerticalMainAndHydrostaticTables)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace
