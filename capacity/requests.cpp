#include "capacity/requests.h"

#include "capacity/display.h"
#include "capacity/volume.h"
#include "kernel/number_text.h"

#include <cmath>

namespace kelvora::capacity {

std::string levelText(double x) { return kernel::formatGeneral(x * 0.1L); }

RequestOutcome GenerateCapacityTable(NamedInputs& inputs, RowList& rows) {
    ReadResult read = ReadTankDescription(inputs, RequestType::Table);
    if (!read.description) return {read.message};
    const TTankDescription& d = *read.description;

    // The table is refused before the loop when it could never end or never fit.
    std::size_t expected = 0;
    if (d.levelFrom <= d.levelTo) {
        if (d.levelFrom < d.levelTo && !(d.levelStep > 0)) return {messages::kBadStep};
        // A step below the resolution of the levels would repeat a level row after row; a
        // step of at least one unit in the last place of the largest level moves every level.
        const double top = std::fmax(std::fabs(d.levelFrom), std::fabs(d.levelTo));
        const double ulp = std::nextafter(top, HUGE_VAL) - top;
        if (d.levelFrom < d.levelTo && !(d.levelStep >= ulp)) return {messages::kStepTooSmall};
        const long double span = d.levelFrom < d.levelTo ? (static_cast<long double>(d.levelTo) - d.levelFrom) / d.levelStep : 0;
        if (!(span + 1 <= kMaxTableRows)) return {messages::kTooManyRows};
        expected = static_cast<std::size_t>(std::ceil(span)) + 1;
    }

    rows.clear();
    if (d.levelFrom > d.levelTo) return {};
    try {
        rows.reserve(expected);
        ValueText value(inputs);
        // Each level is levelFrom + k × levelStep rounded once, so a fractional step gathers
        // no error over the rows; a level a rounding error short of the top level, or past
        // it, is the top level itself and the last row.
        const long double snap = 1e-9L * d.levelStep;
        double V = 0;
        for (double k = 0;; ++k) {
            double x = std::fma(k, d.levelStep, d.levelFrom);
            const bool last = !(x < d.levelTo) || d.levelTo - static_cast<long double>(x) <= snap;
            if (last) x = d.levelTo;
            V = VolumeAtLevel(d, x, V);
            rows.append(levelText(x), value(V));
            if (last) break;
        }
    } catch (...) {
        rows.clear();
        throw;
    }
    return {};
}

RequestOutcome QuickCalculation(NamedInputs& inputs) {
    ReadResult read = ReadTankDescription(inputs, RequestType::Quick);
    if (!read.description) return {read.message};
    const TTankDescription& d = *read.description;
    const double V = VolumeAtLevel(d, d.quickLevel);
    ValueText value(inputs);
    inputs.setText("Edit36", value(V));
    return {};
}

} // namespace kelvora::capacity
