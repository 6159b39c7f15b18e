#include "identify/table_change.h"

#include "capacity/volume.h"

#include <cmath>

namespace kelvora::identify {

TableChange tableChange(const capacity::TTankDescription& now, const capacity::TTankDescription& fitted) {
    TableChange change;
    constexpr int kSteps = 1000;
    double previousNow = 0, previousFitted = 0;
    for (int k = 0; k <= kSteps; ++k) {
        const double h = now.A * k / kSteps;
        previousNow = capacity::VolumeAtLevel(now, h, previousNow);
        previousFitted = capacity::VolumeAtLevel(fitted, h, previousFitted);
        const double difference = 1000 * std::fabs(previousFitted - previousNow);
        if (difference > change.litres) change = {difference, h};
    }
    return change;
}

} // namespace kelvora::identify
