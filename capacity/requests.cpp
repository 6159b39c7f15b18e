#include "capacity/requests.h"

#include "capacity/display.h"
#include "capacity/tank_check.h"
#include "capacity/volume.h"
#include "kernel/number_text.h"

#include <cmath>

namespace kelvora::capacity {

std::string levelText(double x) { return kernel::formatGeneral(x * 0.1L); }

RequestOutcome checkTableLevels(const TTankDescription& d, std::size_t& expected) {
    expected = 0;
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
    return {};
}

RequestOutcome GenerateCapacityTable(NamedInputs& inputs, RowList& rows) {
    ReadResult read = ReadTankDescription(inputs, RequestType::Table);
    if (!read.description) return {read.message};
    const TTankDescription& d = *read.description;

    // The table is refused before the loop when it could never end or never fit.
    std::size_t expected = 0;
    if (auto refused = checkTableLevels(d, expected); refused.stopped()) return refused;

    RowList made;
    std::string failed;
    try {
        made.reserve(expected);
        ValueText value(inputs);
        forEachTableLevel(d, [&](double x) {
            if (!failed.empty()) return;
            const LevelVolume level = checkedVolumeAtLevel(d, x);
            if (!level.ok())
                failed = levelFailedMessage(d, x, level.status == LevelVolume::Status::Negative);
            else
                made.append(levelText(x), value(level.V));
        });
    } catch (...) {
        rows.clear();
        throw;
    }
    if (!failed.empty()) return {failed};
    rows = std::move(made);
    return {{}, extrapolationNote(d, d.levelFrom, d.levelTo)};
}

RequestOutcome QuickCalculation(NamedInputs& inputs) {
    ReadResult read = ReadTankDescription(inputs, RequestType::Quick);
    if (!read.description) return {read.message};
    const TTankDescription& d = *read.description;
    const LevelVolume level = checkedVolumeAtLevel(d, d.quickLevel);
    if (!level.ok()) return {levelFailedMessage(d, d.quickLevel, level.status == LevelVolume::Status::Negative)};
    ValueText value(inputs);
    inputs.setText("Edit36", value(level.V));
    return {{}, extrapolationNote(d, d.quickLevel, d.quickLevel)};
}

} // namespace kelvora::capacity
