// The memory the readers of untrusted files take, as the process's peak resident size
// (counter peak_MB, getrusage), for files written beforehand to disk. The peak is the
// whole process's high-water mark, so run one benchmark per process:
//   readers_bench --benchmark_filter=Records100k        target ≤ 100 MB
//   readers_bench --benchmark_filter=WideMillionRows    target ≤ 1 GB, or refused within it
//   readers_bench --benchmark_filter=RegisterCommas     bounded (refused)
//   readers_bench --benchmark_filter=Register400kRows   bounded (refused)

#include "identify/records.h"
#include "identify/sheet.h"
#include "persist/register_file.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path scratch(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("kelvora-readers-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    return dir / name;
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// Reads the records file and reports the peak; a refusal is reported as such (label).
void readRecords(benchmark::State& state, const fs::path& path) {
    std::string outcome;
    for (auto _ : state) {
        try {
            const auto sheet = kelvora::identify::readSheet(path);
            const auto records =
                kelvora::identify::extractRecords(sheet, kelvora::identify::chooseColumns(sheet.heading));
            outcome = std::to_string(records.level.size()) + " records";
        } catch (const std::exception& e) {
            outcome = std::string("refused: ") + e.what();
        }
    }
    state.counters["peak_MB"] = peakMegabytes();
    state.SetLabel(outcome);
    fs::remove_all(path.parent_path());
}

void Records100k(benchmark::State& state) {
    const fs::path path = scratch("records.csv");
    {
        std::ofstream csv(path);
        csv << "日期,时间,显示油高/mm,水高/mm,温度/℃,进油量/L,出油量/L,累计出油量/L\n";
        for (int i = 0; i < 100'000; ++i)
            csv << "2026-01-01," << i << "," << 1900 - i * 0.015 << ",12.5,18.25,," << (i % 7) * 1.25 << ","
                << i * 3.5 << "\n";
    }
    readRecords(state, path);
}
BENCHMARK(Records100k)->Iterations(1)->Unit(benchmark::kMillisecond);

void WideMillionRows(benchmark::State& state) {
    const fs::path path = scratch("wide.csv");
    {
        std::ofstream csv(path);
        csv << "显示油高/mm,出油量/L";
        for (int c = 2; c < 256; ++c)
            csv << ",c" << c;
        csv << "\n";
        for (int i = 0; i < 1'000'000; ++i)
            csv << "1\n";
    }
    readRecords(state, path);
}
BENCHMARK(WideMillionRows)->Iterations(1)->Unit(benchmark::kMillisecond);

void readRegister(benchmark::State& state, const fs::path& path) {
    std::string outcome;
    for (auto _ : state) {
        try {
            outcome = std::to_string(kelvora::persist::readRegister(path).rows.size()) + " rows";
        } catch (const std::exception& e) {
            outcome = std::string("refused: ") + e.what();
        }
    }
    state.counters["peak_MB"] = peakMegabytes();
    state.SetLabel(outcome);
    fs::remove_all(path.parent_path());
}

void RegisterCommas(benchmark::State& state) {
    const fs::path path = scratch("commas.csv");
    std::ofstream(path) << "tank_number,D\n" << std::string(60u << 20, ',');
    readRegister(state, path);
}
BENCHMARK(RegisterCommas)->Iterations(1)->Unit(benchmark::kMillisecond);

void Register400kRows(benchmark::State& state) {
    const fs::path path = scratch("rows.csv");
    {
        std::ofstream csv(path);
        csv << "tank_number\n";
        for (int i = 0; i < 400'000; ++i)
            csv << "T" << i << "\n";
    }
    readRegister(state, path);
}
BENCHMARK(Register400kRows)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
