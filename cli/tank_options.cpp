#include "cli/tank_options.h"

#include "capacity/gauge_chart.h"
#include "capacity/vocabulary.h"
#include "cli/batch.h"
#include "persist/atomic_file.h"

#include <charconv>
#include <ostream>

namespace kelvora::cli {

int printVocabulary(std::ostream& out) {
    out << "name\tcomponent\tcaption\tunit\tvalues\n";
    for (const auto& term : capacity::vocabularyListing())
        out << term.name << '\t' << term.components << '\t' << term.caption << '\t' << term.unit << '\t'
            << term.values << '\n';
    return kOk;
}

std::optional<int> parseChartIntervals(std::string_view text) {
    int n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (n < capacity::kMinChartIntervals || n > capacity::kMaxChartIntervals) return std::nullopt;
    return n;
}

int writeChart(capacity::NamedInputs& inputs, int intervals, const std::string& path, std::ostream& out,
               std::ostream& err) {
    const auto result = capacity::makeGaugeChart(inputs, intervals);
    if (!result.chart) {
        err << result.message << '\n';
        return kValidation;
    }
    persist::writeFileAtomically(path, capacity::gaugeChartText(*result.chart));
    out << "保存成功！\n";
    return kOk;
}

} // namespace kelvora::cli
