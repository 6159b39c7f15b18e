#pragma once
// The chart a level gauge's console holds: N + 1 points "level,volume" at equal level
// steps over the tank's height (from 0 to the top level, for calibration points from the
// lowest to the highest point), each volume in litres by the table's own method, so a
// point equals the table's value at its level (litres even in weight mode: consoles
// convert with their own density).

#include "capacity/named_inputs.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::capacity {

inline constexpr int kMinChartIntervals = 1;
inline constexpr int kMaxChartIntervals = 1000;
inline constexpr int kDefaultChartIntervals = 20;

struct ChartPoint {
    double level = 0;   // mm
    std::string volume; // litres, two decimals, general format
};

struct GaugeChart {
    std::string tankNumber;
    std::vector<ChartPoint> points; // ascending; the last at the top level
};

struct GaugeChartResult {
    std::optional<GaugeChart> chart;
    std::string message; // a validation stop, as the message box shows it
};

// Reads the tank as the level from a volume does (the dead volume and attachment, not
// the table's levels). `intervals` is N, from kMinChartIntervals to kMaxChartIntervals.
// A point whose volume cannot be composed or is negative stops the chart with the
// table's message naming its level.
GaugeChartResult makeGaugeChart(NamedInputs& inputs, int intervals);

// ASCII for a comment line: printable ASCII as it is (a backslash doubled), every other
// character as \uXXXX (\UXXXXXXXX beyond U+FFFF), a byte of no UTF-8 sequence as \xNN.
std::string asciiText(std::string_view text);

// "# ..." lines (ASCII only) with the tank number, the top level and the full volume, then one
// "level,volume" line per point (level in mm, general format), lines ending in LF. Control
// characters of the tank number (line breaks included) are written as blanks.
std::string gaugeChartText(const GaugeChart& chart);

} // namespace kelvora::capacity
