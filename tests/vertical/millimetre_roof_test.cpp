// The millimetre table (小数表) per course, and the floating roof's displacement and zone.

#include "vertical/vertical_tank.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using namespace kelvora::vertical;
constexpr double kPi = std::numbers::pi;

VerticalTank twoCourses(double tilt) {
    VerticalTank tank;
    tank.courses = {{1500, 2 * kPi * 6010, 10, 0}, {1500, 2 * kPi * 6008 - 12, 8, 12}};
    tank.tilt = tilt;
    return tank;
}

// k mm of each course: the main table's step across k mm inside that course.
TEST(VerticalMillimetre, EachCourseKMillimetresEqualTheMainTablesStep) {
    for (double tilt : {0.0, 1.5, 4.9}) {
        const VerticalTank tank = twoCourses(tilt);
        const auto table = millimetreLitres(tank);
        ASSERT_EQ(table.size(), 2u);
        for (int k = 1; k <= 9; ++k) {
            const double inFirst = mainLitres(tank, 700 + k) - mainLitres(tank, 700);
            const double inSecond = mainLitres(tank, 2200 + k) - mainLitres(tank, 2200);
            EXPECT_NEAR(table[0][k - 1], inFirst, 1e-9) << tilt << ' ' << k;
            EXPECT_NEAR(table[1][k - 1], inSecond, 1e-9) << tilt << ' ' << k;
            EXPECT_NEAR(table[0][k - 1], kPi * 6000.0 * 6000.0 * k * 1e-6 / std::cos(tilt * kPi / 180), 1e-9);
        }
    }
}

// mass/ρ in litres, and the zone from the rest level up to, not including, the floating level.
TEST(VerticalRoof, DisplacementAndZone) {
    VerticalTank tank = twoCourses(0);
    EXPECT_EQ(roofDisplacementLitres(tank), 0);
    EXPECT_FALSE(inRoofZone(tank, 1000));
    tank.roof = FloatingRoof{42500, 1800, 1200};
    EXPECT_EQ(roofDisplacementLitres(tank), 0); // no density
    tank.density = 850;
    EXPECT_DOUBLE_EQ(roofDisplacementLitres(tank), 50000);
    struct Case {
        double level;
        bool zone;
    };
    const Case cases[] = {{0, false},      {1199.99, false}, {1200, true}, {1500, true},
                          {1799.99, true}, {1800, false},    {3000, false}};
    for (const auto& c : cases)
        EXPECT_EQ(inRoofZone(tank, c.level), c.zone) << c.level;
    // The table is the open tank's: the roof never lowers it.
    EXPECT_EQ(mainLitres(tank, 1500), mainLitres(twoCourses(0), 1500));
}

} // namespace
