// Exact-geometry tables, rows included: 10,000 rows for every tank kind, and 100,001 rows
// by both methods for the two tanks where the exact method costs most (standard dished
// heads; the inclined tank with ellipsoidal heads). The ratio is read off the two lines
// of each pair.

#include "capacity/exact_method.h"
#include "capacity/memory_inputs.h"
#include "capacity/requests.h"

#include <benchmark/benchmark.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using kelvora::capacity::MemoryInputs;
using Inputs = std::initializer_list<std::pair<std::string_view, std::string_view>>;

MemoryInputs tank(int page, Inputs values) {
    auto in = MemoryInputs::afterStartup();
    in.setActivePage(page);
    for (auto name : {"Edit13", "Edit31", "Edit32", "Edit33"})
        in.setText(name, "0");
    in.setText("Edit6", "0");
    in.setText("Edit9", "9999");
    for (auto [name, value] : values) {
        if (name.starts_with("Edit") || name.starts_with("ComboBox"))
            in.setText(name, value);
        else
            in.setChecked(name, value == "1");
    }
    return in;
}

const Inputs kCircle{{"RadioButton1", "1"}, {"Edit1", "2600"}, {"Edit2", "8000"}, {"Edit7", "2600"}};

// The tanks by the head kind at both ends (the inclined and the sphere by structure).
MemoryInputs kindTank(int kind, const char* step) {
    MemoryInputs in = tank(0, kCircle);
    in.setText("Edit8", step);
    switch (kind) {
    case 0: // standard dished
        in.setChecked("RadioButton19", true), in.setText("Edit19", "25");
        in.setChecked("RadioButton12", true), in.setText("Edit20", "25");
        break;
    case 1: // non-standard dished
        in.setChecked("RadioButton5", true);
        in.setText("Edit38", "25"), in.setText("Edit43", "525"), in.setText("Edit44", "2600");
        in.setChecked("RadioButton6", true);
        in.setText("Edit45", "25"), in.setText("Edit46", "525"), in.setText("Edit47", "2600");
        break;
    case 2: // spherical caps, one shallow enough for the quadrature
        in.setChecked("RadioButton18", true), in.setText("Edit27", "400");
        in.setChecked("RadioButton11", true), in.setText("Edit17", "20");
        break;
    case 3: // ellipsoidal and cone
        in.setChecked("RadioButton15", true), in.setText("Edit21", "25"), in.setText("Edit22", "675");
        in.setChecked("RadioButton9", true), in.setText("Edit12", "25"), in.setText("Edit14", "825");
        break;
    case 4: // frustum and hemispherical
        in.setChecked("RadioButton17", true), in.setText("Edit25", "25"), in.setText("Edit26", "625");
        in.setText("Edit28", "1200");
        in.setChecked("RadioButton13", true);
        break;
    case 5: // inclined, ellipsoidal heads
        in = tank(1, {{"Edit29", "2"},
                      {"Edit30", "0"},
                      {"Edit39", "3000"},
                      {"Edit40", "2600"},
                      {"Edit41", "2600"},
                      {"Edit42", "8000"},
                      {"Edit7", "2600"},
                      {"RadioButton3", "1"},
                      {"RadioButton15", "1"},
                      {"Edit21", "25"},
                      {"Edit22", "675"},
                      {"RadioButton8", "1"},
                      {"Edit10", "25"},
                      {"Edit11", "675"}});
        in.setText("Edit8", step);
        break;
    case 6: // sphere
        in = tank(2, {{"Edit34", "2600"}, {"Edit7", "2600"}, {"RadioButton21", "1"}, {"RadioButton14", "1"}});
        in.setText("Edit8", step);
        break;
    }
    return in;
}

const char* const kKindNames[] = {
    "standard dished",       "non-standard dished",  "spherical caps", "ellipsoidal+cone",
    "frustum+hemispherical", "inclined ellipsoidal", "sphere"};

void runTable(benchmark::State& state, MemoryInputs& in) {
    kelvora::capacity::RowList rows;
    for (auto _ : state) {
        const auto outcome = kelvora::capacity::GenerateCapacityTable(in, rows);
        if (outcome.stopped()) {
            state.SkipWithError(outcome.message.c_str());
            break;
        }
        benchmark::DoNotOptimize(rows.size());
    }
    state.counters["rows"] = static_cast<double>(rows.size());
}

// 2600 mm by 0.26 mm: 10,001 rows.
void BM_ExactTable10k(benchmark::State& state) {
    auto in = kindTank(static_cast<int>(state.range(0)), "0.26");
    in.setChecked(kelvora::capacity::kExactGeometryInput, true);
    state.SetLabel(kKindNames[state.range(0)]);
    runTable(state, in);
}
BENCHMARK(BM_ExactTable10k)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

// 0 to 2599.99 mm by 0.026 mm: 100,001 rows, formula (0) then exact (1).
void BM_Table100k(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    auto in = kindTank(kind, "0.026");
    in.setText("Edit7", "2599.99");
    in.setChecked(kelvora::capacity::kExactGeometryInput, state.range(1) == 1);
    state.SetLabel(std::string(kKindNames[kind]) + (state.range(1) ? ", exact" : ", formula"));
    runTable(state, in);
}
BENCHMARK(BM_Table100k)->ArgsProduct({{0, 5}, {0, 1}})->Unit(benchmark::kMillisecond);

} // namespace
