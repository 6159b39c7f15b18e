#include "capacity/gauge_chart.h"

#include "capacity/display.h"
#include "capacity/level_for.h"
#include "capacity/tank_check.h"
#include "capacity/tank_description.h"
#include "capacity/volume.h"
#include "kernel/number_text.h"

#include <stdexcept>

namespace kelvora::capacity {

GaugeChartResult makeGaugeChart(NamedInputs& inputs, int intervals) {
    if (intervals < kMinChartIntervals || intervals > kMaxChartIntervals)
        throw std::invalid_argument("chart intervals out of range");
    ReadResult read = ReadTankDescription(inputs, RequestType::LevelFor);
    if (!read.description) return {std::nullopt, read.message};
    const TTankDescription& d = *read.description;
    const auto range = levelRange(d);
    if (!range || !(range->top > range->bottom)) return {std::nullopt, messages::kNoTankHeight};

    GaugeChart chart;
    chart.tankNumber = inputs.text("TankNumber");
    chart.points.reserve(static_cast<std::size_t>(intervals) + 1);
    const long double span = static_cast<long double>(range->top) - range->bottom;
    for (int k = 0; k <= intervals; ++k) {
        const double x =
            k == intervals ? range->top : static_cast<double>(range->bottom + span * k / intervals);
        // A point the table would refuse is never handed to a console as a volume.
        const LevelVolume V = checkedVolumeAtLevel(d, x);
        if (!V.ok())
            return {std::nullopt, levelFailedMessage(d, x, V.status == LevelVolume::Status::Negative)};
        chart.points.push_back({x, litresText(V.V)});
    }
    return {std::move(chart), {}};
}

std::string gaugeChartText(const GaugeChart& chart) {
    std::string text;
    // A line break in the number would start a data line of its own.
    std::string number = chart.tankNumber;
    for (char& c : number)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    text.append("# tank_number: ").append(number).append("\n");
    text.append("# top_level_mm: ").append(kernel::formatGeneral(chart.points.back().level)).append("\n");
    text.append("# full_volume_L: ").append(chart.points.back().volume).append("\n");
    text.append("# level_mm,volume_L\n");
    for (const auto& point : chart.points)
        text.append(kernel::formatGeneral(point.level)).append(",").append(point.volume).append("\n");
    return text;
}

} // namespace kelvora::capacity
