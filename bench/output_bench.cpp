// Saving a 1,000,000-row capacity table (N = 9999, 101 column pairs) as .xls and .xlsx,
// and the whole table request of kelvora-table for 1,000,001 rows: the table made and
// saved. Targets on the 2-core build machine: .xls under 1.5 s; the whole request to
// .xlsx within 1 s with ISA-L's deflate and at most 1.6 times the same request to .xls,
// within 1.5 s with zlib's; each under 300 MB peak memory (measure the memory with
// /usr/bin/time -v on one benchmark).
#include "million_row_tank.h"

#include "output/deflate_stream.h"
#include "output/workbook_export.h"

#include "capacity/requests.h"
#include "kernel/number_text.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

using namespace kelvora;

// Rows as the table generation writes them: level in cm at a 0.1 cm step, litres rounded
// to two decimals, growing to about 5 million litres.
const capacity::RowList& millionRows() {
    static const capacity::RowList rows = [] {
        capacity::RowList r;
        r.reserve(1'000'000);
        for (int i = 0; i < 1'000'000; ++i)
            r.append(kernel::RoundToStr(i * 0.1), kernel::RoundToStr(i * 5.0031337 + i * 1e-7 * i));
        return r;
    }();
    return rows;
}

std::string benchPath(const char* extension) {
    return (std::filesystem::temp_directory_path() /
            ("kelvora-bench-" + std::to_string(getpid()) + extension))
        .string();
}

// The .xlsx benchmarks take the deflate engine as their argument.
const char* chooseEngine(benchmark::State& state, const char* extension) {
    if (std::string_view(extension) != ".xlsx") return nullptr;
    const auto engine = static_cast<output::DeflateEngine>(state.range(0));
    if (!output::deflateEngineAvailable(engine)) return "this build has no ISA-L";
    output::preferDeflateEngine(engine);
    state.SetLabel(engine == output::DeflateEngine::Isal ? "ISA-L" : "zlib");
    return nullptr;
}

void saveTable(benchmark::State& state, const char* extension) {
    if (const char* skip = chooseEngine(state, extension)) return state.SkipWithError(skip);
    const capacity::RowList& rows = millionRows();
    const std::string path = benchPath(extension);
    for (auto _ : state)
        output::SaveFileToExcel(path, rows, "", false);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * rows.size()));
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove(path);
}

void BM_SaveXls(benchmark::State& state) {
    saveTable(state, ".xls");
}
void BM_SaveXlsx(benchmark::State& state) {
    saveTable(state, ".xlsx");
}

// kelvora-table's table request with --out: the 1,000,001 rows made from the inputs, then saved.
void tableRequest(benchmark::State& state, const char* extension) {
    if (const char* skip = chooseEngine(state, extension)) return state.SkipWithError(skip);
    auto inputs = bench::dishedTank("0.0026");
    const std::string path = benchPath(extension);
    capacity::RowList rows;
    for (auto _ : state) {
        const auto outcome = capacity::GenerateCapacityTable(inputs, rows);
        if (outcome.stopped()) throw std::runtime_error(outcome.message);
        output::SaveFileToExcel(path, rows, "9999", false);
    }
    state.counters["rows"] = static_cast<double>(rows.size());
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove(path);
}

void BM_TableRequestXls(benchmark::State& state) {
    tableRequest(state, ".xls");
}
void BM_TableRequestXlsx(benchmark::State& state) {
    tableRequest(state, ".xlsx");
}

constexpr auto kIsal = static_cast<std::int64_t>(output::DeflateEngine::Isal);
constexpr auto kZlib = static_cast<std::int64_t>(output::DeflateEngine::Zlib);

BENCHMARK(BM_SaveXls)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_SaveXlsx)->Arg(kIsal)->Arg(kZlib)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_TableRequestXls)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_TableRequestXlsx)
    ->Arg(kIsal)
    ->Arg(kZlib)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

} // namespace
