// The capacity-table document as an A4 PDF: 10,000 rows and 100,000 rows (the most a
// document takes), from the rows to the saved file. Targets on the 2-core build machine:
// 10,000 rows under 1.5 s, 100,000 rows under 10 s. The tank number heads every page but
// is laid out once: 100,000 rows with a 2,047-character number within 1.2 times the time
// with a short one (savePdfTankNumber/100000/2047 against savePdfTankNumber/100000/4).
#include "output/table_document.h"

#include "kernel/number_text.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace kelvora;

// Rows as the table generation writes them: level in cm at a 0.1 cm step, litres rounded
// to two decimals.
capacity::RowList rowsOf(int n) {
    capacity::RowList r;
    r.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        r.append(kernel::RoundToStr(i * 0.1), kernel::RoundToStr(i * 5.0031337 + i * 1e-7 * i));
    return r;
}

output::TableDocument documentOf(const capacity::RowList& rows, const std::string& tankNumber = "T-07") {
    output::TableDocument doc;
    doc.tankNumber = tankNumber;
    doc.fields = {{"罐号", tankNumber},
                  {"使用单位", "中石化北京分公司"},
                  {"结构形式", "水平圆筒（正圆）"},
                  {"计算方法", "规定公式"},
                  {"主体尺寸", "D = 2000 mm，L = 5000 mm"},
                  {"左封头", "椭圆(椭球)封头，h = 25 mm，H = 525 mm，容积加上"},
                  {"右封头", "平板封头，容积加上"},
                  {"罐底死量", "0 L"},
                  {"附件", "无"},
                  {"计量方式", "容积（L）"},
                  {"液位范围", "0 ~ 200 cm，间隔 0.1 cm"},
                  {"生成日期", "2026-03-01"}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string_view row = rows[i];
        const auto comma = row.find(',');
        doc.rows.push_back({std::string(row.substr(0, comma)), std::string(row.substr(comma + 1)), {}});
    }
    return doc;
}

void savePdf(benchmark::State& state) {
    const capacity::RowList rows = rowsOf(static_cast<int>(state.range(0)));
    std::string tankNumber = "T-07";
    if (state.range(1) > 0) {
        tankNumber = "T-";
        for (std::int64_t i = 2; i < state.range(1); ++i)
            tankNumber += static_cast<char>('0' + i % 10);
    }
    const output::TableDocument doc = documentOf(rows, tankNumber);
    const std::string path =
        (std::filesystem::temp_directory_path() / ("kelvora-bench-" + std::to_string(getpid()) + ".pdf"))
            .string();
    for (auto _ : state)
        output::saveTableDocumentPdf(path, doc);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * rows.size()));
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    state.counters["pages"] = output::a4PageGrid(doc).pageCount(rows.size());
    std::filesystem::remove(path);
}
BENCHMARK(savePdf)->Args({10'000, 0})->Args({100'000, 0})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(savePdf)
    ->Name("savePdfTankNumber")
    ->Args({100'000, 4})
    ->Args({100'000, 2047})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
