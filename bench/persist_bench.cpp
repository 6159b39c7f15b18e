// Start-up and close with their two files. Targets: the program's own Config.ini and
// bd.txt (200 points) load in under a millisecond and save in a few (the sync to disk
// dominates); a 64 MiB hostile file of either kind loads in under 100 ms, set by the
// reading ceilings, not by the file size.

#include "capacity/calibration_grid.h"
#include "capacity/memory_inputs.h"
#include "persist/grid_file.h"
#include "persist/settings.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using kelvora::capacity::MemoryInputs;

class Files {
public:
    Files() {
        std::string name = (fs::temp_directory_path() / "kelvora-bench-XXXXXX").string();
        dir_ = ::mkdtemp(name.data());
        MemoryInputs inputs = MemoryInputs::afterStartup();
        inputs.setItemIndex("ComboBox2", 198); // 200 points
        kelvora::capacity::applyPointCount(inputs);
        kelvora::persist::SaveSettings(inputs, dir_ / "Config.ini");
        kelvora::persist::SaveStringGrid(inputs.grid(), dir_ / "bd.txt");

        std::string junk;
        for (int i = 0; junk.size() < (std::size_t{64} << 20); ++i)
            junk += "Key" + std::to_string(i) + "=value\r\n";
        write("huge.ini", "[FrmMainPro]\r\n" + junk);
        write("huge.txt", "3\r\n1000000000\r\n" + junk);
    }
    ~Files() { fs::remove_all(dir_); }
    fs::path operator/(const char* name) const { return dir_ / name; }

private:
    void write(const char* name, const std::string& bytes) const {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    fs::path dir_;
};

const Files& files() {
    static const Files f;
    return f;
}

void BM_LoadSettings(benchmark::State& state, const char* name) {
    MemoryInputs inputs = MemoryInputs::constructed();
    files();
    for (auto _ : state)
        kelvora::persist::LoadSettings(inputs, files() / name);
}
BENCHMARK_CAPTURE(BM_LoadSettings, own_file, "Config.ini")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LoadSettings, huge_file, "huge.ini")->Unit(benchmark::kMillisecond);

void BM_SaveSettings(benchmark::State& state) {
    const MemoryInputs inputs = MemoryInputs::afterStartup();
    files();
    for (auto _ : state)
        kelvora::persist::SaveSettings(inputs, files() / "Config.ini");
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMicrosecond);

void BM_LoadStringGrid(benchmark::State& state, const char* name) {
    kelvora::capacity::StringGrid grid;
    files();
    for (auto _ : state)
        kelvora::persist::LoadStringGrid(grid, files() / name);
}
BENCHMARK_CAPTURE(BM_LoadStringGrid, own_file, "bd.txt")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LoadStringGrid, huge_file, "huge.txt")->Unit(benchmark::kMillisecond);

} // namespace
