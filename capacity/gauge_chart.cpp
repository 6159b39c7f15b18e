#include "capacity/gauge_chart.h"

#include "capacity/display.h"
#include "capacity/level_for.h"
#include "capacity/tank_check.h"
#include "capacity/tank_description.h"
#include "capacity/volume.h"
#include "kernel/number_text.h"

#include <cstdio>
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

std::string asciiText(std::string_view text) {
    std::string shown;
    char escape[16];
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F) {
            if (c == '\\') shown.push_back('\\');
            shown.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        // One UTF-8 sequence (a control character included) as its code point; any other
        // byte as itself.
        const int length = c >= 0xF0 && c < 0xF8 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        char32_t point = length == 1 ? c : c & (0x7F >> length);
        bool valid = (length > 1 || c < 0x80) && i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            point = (point << 6) | (next & 0x3F);
        }
        if (!valid) {
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            ++i;
        } else {
            std::snprintf(escape, sizeof escape, point > 0xFFFF ? "\\U%08X" : "\\u%04X",
                          static_cast<unsigned>(point));
            i += static_cast<std::size_t>(length);
        }
        shown += escape;
    }
    return shown;
}

std::string gaugeChartText(const GaugeChart& chart) {
    std::string text;
    // A line break in the number would start a data line of its own; consoles read ASCII,
    // so the comment lines stay within it whatever the tank number holds.
    std::string number = chart.tankNumber;
    for (char& c : number)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    text.append("# tank_number: ").append(asciiText(number)).append("\n");
    text.append("# top_level_mm: ").append(kernel::formatGeneral(chart.points.back().level)).append("\n");
    text.append("# full_volume_L: ").append(chart.points.back().volume).append("\n");
    text.append("# level_mm,volume_L\n");
    for (const auto& point : chart.points)
        text.append(kernel::formatGeneral(point.level)).append(",").append(point.volume).append("\n");
    return text;
}

} // namespace kelvora::capacity
