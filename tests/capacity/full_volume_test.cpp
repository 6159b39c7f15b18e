// The whole tank's volume: an inclined tank holds more than at its top gauge reading, by
// both methods; a horizontal tank and a sphere hold it at their top level.

#include "capacity/full_volume.h"

#include "capacity/level_for.h"
#include "capacity/requests.h"
#include "inclined_tank.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace kelvora::capacity {
namespace {

TTankDescription describe(MemoryInputs in) {
    auto read = ReadTankDescription(in, RequestType::Table);
    EXPECT_TRUE(read.description) << read.message;
    return read.description.value_or(TTankDescription{});
}

// A cylinder of radius 1.5 m and length 8 m and two spherical caps of height 1 m on its
// 1.5 m radius: π a² L + 2 · π H (3a² + H²) / 6, in litres.
double capHeadedCylinderLitres() {
    const double a = 1.5, L = 8, H = 1;
    return 1000 * (std::numbers::pi * a * a * L + 2 * std::numbers::pi * H * (3 * a * a + H * H) / 6);
}

TEST(FullVolume, InclinedTankIsTheWholeTank) {
    struct Case {
        const char* name;
        const char* exact;
        double litres; // expected whole volume
        double tolerance;
    };
    const Case cases[] = {
        {"exact geometry", "1", capHeadedCylinderLitres(), 0.01},
        // The formulas' shell and caps lying level are exact for these solids too.
        {"required formulas", "0", capHeadedCylinderLitres(), 0.01},
    };
    for (const auto& c : cases) {
        const TTankDescription d = describe(test::capHeadedInclinedTank({{"ExactGeometry", c.exact}}));
        const LevelVolume whole = fullTankVolume(d);
        ASSERT_TRUE(whole.ok()) << c.name;
        EXPECT_NEAR(whole.V * 1000, c.litres, c.tolerance) << c.name;
        // At the gauge's top reading the higher end is not yet full.
        const LevelVolume top = checkedVolumeAtLevel(d, 3000);
        EXPECT_LT(top.V * 1000, c.litres - 100) << c.name;
        EXPECT_FALSE(fullAtLevel(d, 3000, top.V)) << c.name;
    }
}

TEST(FullVolume, LevelTanksAreFullAtTheirTop) {
    struct Case {
        const char* name;
        MemoryInputs in;
        double top;
    };
    auto sphere = MemoryInputs::afterStartup();
    sphere.setActivePage(2);
    test::set(sphere, {{"Edit34", "2000"},
                       {"Edit6", "0"},
                       {"Edit7", "2000"},
                       {"Edit8", "500"},
                       {"Edit9", "10"},
                       {"Edit13", "0"},
                       {"Edit31", "0"},
                       {"Edit32", "0"},
                       {"Edit33", "0"}});
    const Case cases[] = {
        {"horizontal, table ending below the top", test::circularTank({{"Edit7", "1500"}}), 2000},
        {"sphere", sphere, 2000},
    };
    for (const auto& c : cases) {
        const TTankDescription d = describe(c.in);
        const LevelVolume whole = fullTankVolume(d);
        const LevelVolume top = checkedVolumeAtLevel(d, c.top);
        ASSERT_TRUE(whole.ok() && top.ok()) << c.name;
        EXPECT_NEAR(whole.V, top.V, 1e-9 * top.V) << c.name;
        EXPECT_TRUE(fullAtLevel(d, c.top, top.V)) << c.name;
        EXPECT_FALSE(fullAtLevel(d, c.top - 1, checkedVolumeAtLevel(d, c.top - 1).V)) << c.name;
    }
}

} // namespace
} // namespace kelvora::capacity
