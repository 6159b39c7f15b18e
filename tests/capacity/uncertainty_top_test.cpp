// The uncertainty of the top rows: an inclined tank is not full at its top gauge reading,
// so its last row takes central differences like the rows below it and follows them
// without a step; a full tank's top row stays one-sided.

#include "capacity/uncertainty.h"

#include "capacity/requests.h"
#include "capacity/volume.h"
#include "inclined_tank.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelvora::capacity {
namespace {

TTankDescription describe(MemoryInputs in) {
    auto read = ReadTankDescription(in, RequestType::Table);
    EXPECT_TRUE(read.description) << read.message;
    return read.description.value_or(TTankDescription{});
}

TEST(UncertaintyAtTheTop, InclinedTankHasNoStepAtItsLastRow) {
    struct Case {
        const char* name;
        StandardUncertainties u;
    };
    const Case cases[] = {
        {"every quantity", {.section = 1, .length = 1, .head = 2, .angle = 0.01, .F = 5, .level = 0.5}},
        {"the section alone", {.section = 2}},
        {"the level alone", {.level = 1}},
        {"the angles alone", {.angle = 0.02}},
    };
    for (const char* exact : {"1", "0"}) {
        const TTankDescription d = describe(test::capHeadedInclinedTank({{"ExactGeometry", exact}}));
        for (const auto& c : cases) {
            // U at 2998, 2999 and 3000 mm: the last step no larger than a few of the step before.
            const double u0 = volumeUncertainty(d, 2998, c.u), u1 = volumeUncertainty(d, 2999, c.u),
                         u2 = volumeUncertainty(d, 3000, c.u);
            EXPECT_LT(std::fabs(u2 - u1), 3 * std::fabs(u1 - u0) + 1e-4 * u1)
                << c.name << " exact=" << exact << ": " << u0 << ' ' << u1 << ' ' << u2;
        }
    }
}

TEST(UncertaintyAtTheTop, FullTankStaysOneSided) {
    // D 2000, L 5000, flat heads: at the top a section measured larger holds the larger
    // full tank, ∂V/∂D = π D L / 2, where a central difference at a fixed level would give 0.
    const TTankDescription d = describe(test::circularTank());
    const StandardUncertainties u{.section = 1};
    const double expected = std::acos(-1.0) * 2000 * 5000 / 2 * 1e-9;
    EXPECT_NEAR(volumeUncertainty(d, 2000, u), expected, 1e-4 * expected);
}

} // namespace
} // namespace kelvora::capacity
