#include "capacity/method_check.h"

#include "capacity/exact_method.h"
#include "capacity/tank_check.h"
#include "capacity/vertical_description.h"
#include "capacity/volume.h"

#include <cmath>

namespace kelvora::capacity {

RequestOutcome CompareMethods(NamedInputs& inputs, std::vector<MethodRow>& rows) {
    ReadResult read = ReadTankDescription(inputs, RequestType::Table);
    if (!read.description) return {read.message};
    if (read.description->kind == TStructureKind::skCalibration) return {messages::kNoGeometryToCompare};
    if (read.description->kind == TStructureKind::skVertical) return {messages::kVerticalNoCompare};
    TTankDescription formula = *read.description, exact = *read.description;
    formula.exactGeometry = false;
    exact.exactGeometry = true;
    // Read with the formulas chosen, the exact method's own check has not run yet.
    if (!read.description->exactGeometry)
        if (std::string problem = exactGeometryProblem(exact); !problem.empty()) return {problem};

    std::size_t expected = 0;
    if (auto refused = checkTableLevels(exact, expected); refused.stopped()) return refused;
    std::vector<MethodRow> made;
    made.reserve(expected);
    std::string failed;
    forEachTableLevel(exact, [&](double x) {
        if (!failed.empty()) return;
        const LevelVolume Vf = checkedVolumeAtLevel(formula, x), Ve = checkedVolumeAtLevel(exact, x);
        for (const LevelVolume* V : {&Vf, &Ve})
            if (failed.empty() && !V->ok())
                failed = levelFailedMessage(exact, x, V->status == LevelVolume::Status::Negative);
        made.push_back({x, Vf.V, Ve.V});
    });
    if (!failed.empty()) return {failed};
    rows = std::move(made);
    return {};
}

MethodDeviation deviationOf(const std::vector<MethodRow>& rows, double scale) {
    MethodDeviation m;
    if (rows.empty()) return m;
    m.capacity = rows.back().exact * scale;
    for (const MethodRow& row : rows) {
        const double deviation = (row.exact - row.formula) * scale;
        if (std::fabs(deviation) > std::fabs(m.largest)) m.largest = deviation, m.largestLevel = row.level;
        const double local = row.exact * scale;
        if (local > 0.01 * m.capacity && std::fabs(deviation) / local > std::fabs(m.largestLocalShare))
            m.largestLocalShare = deviation / local, m.localLevel = row.level;
    }
    if (m.capacity > 0) m.shareOfCapacity = m.largest / m.capacity;
    return m;
}

} // namespace kelvora::capacity
