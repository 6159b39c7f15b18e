#pragma once
// The batch tool's options over tank files and readable names: the vocabulary listing
// (--inputs) and the gauge console's chart (--chart N --out FILE.csv).

#include "capacity/named_inputs.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace kelvora::cli {

// Prints the vocabulary, one tab-separated line per name: name, components, caption,
// unit, accepted values, after a heading line. Returns kOk.
int printVocabulary(std::ostream& out);

// N of --chart: a whole number within the chart's limits, nothing otherwise.
std::optional<int> parseChartIntervals(std::string_view text);

// Writes the chart of `inputs` to `path` atomically and prints 保存成功！; a validation
// stop goes to `err` (kValidation). Other failures throw.
int writeChart(capacity::NamedInputs& inputs, int intervals, const std::string& path, std::ostream& out,
               std::ostream& err);

} // namespace kelvora::cli
