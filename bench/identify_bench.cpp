// The identification of α and β from 600 records of an inclined tank with two
// spherical-cap heads, with noise and a delivery in the middle, the search starting from
// a grid over every α and β the page accepts: by either method, target ≤ 1 s.
// And the whole answer to a file of 1,000,000 records (a 12.7 MB CSV, within every limit
// of the reader): read, its records taken, the angles fitted to an evenly spaced sample
// and every record's residual computed, consistent records and records whose levels are
// at random alike (target ≤ 30 s on a 2-core machine, by either method).

#include "identify/records.h"
#include "identify/sheet.h"
#include "identify/tilt_fit.h"

#include "../tests/identify/synthetic.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>

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

// A station's CSV of a million records: the level and the litres dispensed since the
// record before; with `random`, levels anywhere in the tank.
std::filesystem::path millionRecords(const kelvora::capacity::TTankDescription& d, bool random) {
    const auto path = std::filesystem::temp_directory_path() /
                      (std::string("kelvora-identify-bench-") + (random ? "random" : "consistent") +
                       (d.exactGeometry ? "-exact" : "-formulas") + ".csv");
    const auto records = kelvora::test::syntheticRecords(d, -1.9, 3.5, 41520, 0.8, 1'000'000);
    std::mt19937 generator(3);
    std::uniform_real_distribution<double> anywhere(50, 1950);
    std::ofstream csv(path);
    csv << "时间,显示油高/mm,出油量/L\n";
    char line[96];
    for (std::size_t i = 0; i < records.level.size(); ++i) {
        const double level = random ? anywhere(generator) : records.level[i];
        const double out = i == 0 ? 0 : records.net[i - 1] - records.net[i];
        std::snprintf(line, sizeof line, "%zu,%.2f,%.3f\n", i, level, out);
        csv << line;
    }
    return path;
}

// Seconds of processor time the whole process (every thread) has used.
double processSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

void millionRecordAnswer(benchmark::State& state) {
    const auto d = kelvora::test::inclinedTank(state.range(0) == 1);
    const bool random = state.range(1) == 1;
    const auto path = millionRecords(d, random);
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    // The processor time of reading and of fitting, over both cores: on an idle 2-core
    // machine the answer takes between half of their sum and their sum.
    double reading = 0, fitting = 0;
    for (auto _ : state) {
        const double start = processSeconds();
        const auto sheet = kelvora::identify::readSheet(path);
        const auto records =
            kelvora::identify::extractRecords(sheet, kelvora::identify::chooseColumns(sheet.heading));
        const double read = processSeconds();
        const auto identification = kelvora::identify::fitTilt(d, records, false);
        reading += read - start;
        fitting += processSeconds() - read;
        if (random == bool(identification.fit))
            state.SkipWithError(random ? "random levels fitted" : "no fit");
        benchmark::DoNotOptimize(identification.fit);
    }
    state.counters["read_cpu_s"] = reading / static_cast<double>(state.iterations());
    state.counters["fit_cpu_s"] = fitting / static_cast<double>(state.iterations());
    std::filesystem::remove(path);
}
// {method (0 formulas, 1 exact), levels (0 consistent, 1 at random)}.
BENCHMARK(millionRecordAnswer)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

} // namespace
