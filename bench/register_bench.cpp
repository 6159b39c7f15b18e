// A register of 100 horizontal tanks, each with a 1-cm table to PDF and .xlsx, in one
// kelvora-table --register run over all cores. Target on the 2-core build machine: 10 s.
#include "cli/batch.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

void BM_Register100(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / ("kelvora-register-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "tanks.csv")
        << "tank_number,structure,section,D,L,left.shape,left.h,left.H,right.shape,right.h,right.H,"
           "from,to,step,rows_per_column,dead_volume,attachment.volume,attachment.bottom,attachment.height\n";
    {
        std::ofstream csv(dir / "tanks.csv", std::ios::app);
        for (int i = 0; i < 100; ++i)
            csv << "T-" << 100 + i << ",horizontal,circle," << 2000 + 10 * i
                << ",6000,ellipsoidal,40,540,ellipsoidal,"
                << "40,540,0," << 2000 + 10 * i << ",10,50,0,0,0,0\n";
    }
    const std::string registerFile = (dir / "tanks.csv").string(), outDir = (dir / "out").string();
    const char* argv[] = {"kelvora-table", "--register", registerFile.c_str(), "--out-dir", outDir.c_str()};
    for (auto _ : state) {
        std::ostringstream out, err;
        if (kelvora::cli::runBatch(5, argv, out, err) != kelvora::cli::kOk) {
            // Every row refused or failed is named on standard error.
            state.SkipWithError(err.str().c_str());
        }
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_Register100)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

// A register of 200,000 rows is refused for its size before any row's inputs are built.
// Target: well under a second, and no more memory than the cells.
void BM_RegisterTooManyRows(benchmark::State& state) {
    const fs::path dir =
        fs::temp_directory_path() / ("kelvora-register-rows-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    {
        std::ofstream csv(dir / "tanks.csv");
        csv << "tank_number,D\n";
        for (int i = 0; i < 200000; ++i)
            csv << "T-" << i << ",2000\n";
    }
    const std::string registerFile = (dir / "tanks.csv").string(), outDir = (dir / "out").string();
    const char* argv[] = {"kelvora-table", "--register", registerFile.c_str(), "--out-dir", outDir.c_str()};
    for (auto _ : state) {
        std::ostringstream out, err;
        if (kelvora::cli::runBatch(5, argv, out, err) != kelvora::cli::kValidation)
            state.SkipWithError("the register was not refused");
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_RegisterTooManyRows)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
