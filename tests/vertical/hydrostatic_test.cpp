// The increase of capacity under the liquid's pressure (静压力容量增大值): published values
// for real tanks, and the hoop strain of every slice of the shell integrated numerically.

#include "vertical/vertical_tank.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using namespace kelvora::vertical;
constexpr double kPi = std::numbers::pi;

// A course of internal diameter D (m) and plate thickness t (mm): the circumference the
// strapping would read.
Course course(double height, double diameter, double thickness) {
    return {height, 2 * kPi * (diameter * 1000 / 2 + thickness), thickness, 0};
}

// Jiliang Kexue Jishu (Metrology Science and Technology) 2021, no. 3, "Discussion on the
// Effect of a Reinforcement Ring on the Static Pressure of Liquid on Vertical Metal Tanks",
// doi:10.3969/j.issn.2096-9015.2021.03.13, table 1 (https://jlkj.nim.ac.cn/cn/article/doi/
// 10.3969/j.issn.2096-9015.2021.03.13): the increase of the upper three courses, 5.94 m
// in all, of water-filled tanks of 3000 to 20000 m³, to 0.1 L.
TEST(VerticalHydrostatic, PublishedUpperThreeCourses) {
    struct Case {
        const char* tank;
        double diameter, thickness, litres;
    };
    const Case cases[] = {
        {"3000 m³", 19, 6, 753.2},
        {"5000 m³", 20, 7, 753.0},
        {"10000 m³", 30, 7, 2541.4},
        {"20000 m³", 40, 8, 5271.1},
    };
    for (const auto& c : cases) {
        VerticalTank tank;
        for (int i = 0; i < 3; ++i)
            tank.courses.push_back(course(1980, c.diameter, c.thickness));
        EXPECT_NEAR(hydrostaticLitres(tank, 1000, 5940), c.litres, 0.05) << c.tank;
    }
}

// Each slice dz of the shell at depth h − z widens by the hoop strain of the pressure
// (ρ − ρ_air) g (h − z): Δr = p r² / (E δ), its section by 2π r Δr. Summed by the midpoint
// rule over millimetre slices of a tank of unequal courses.
double sliceIntegral(const VerticalTank& tank, double rho, double h) {
    double sum = 0, lo = 0;
    for (const auto& c : tank.courses) {
        const double r = internalRadius(c) * 1e-3, delta = c.thickness * 1e-3;
        const double hi = lo + c.height;
        for (double z = lo + 0.5; z < hi && z < h; z += 1) {
            const double depth = (h - z) * 1e-3;
            const double p = (rho - 1.1) * 9.80665 * depth;
            const double dr = p * r * r / (2.06e11 * delta);
            sum += 2 * kPi * r * dr * 1e-3;
        }
        lo = hi;
    }
    return sum * 1000;
}

TEST(VerticalHydrostatic, EqualsTheShellsHoopStrainSummedOverSlices) {
    VerticalTank tank;
    tank.courses = {course(2000, 30, 14), course(2000, 30.002, 12), course(1800, 30.004, 10),
                    course(1800, 30.001, 8), course(1500, 30.003, 6)};
    tank.tilt = 2; // the increase carries no tilt factor
    struct Case {
        double rho, level;
    };
    const Case cases[] = {{1000, 0},   {1000, 1},   {850, 1000}, {850, 2000},
                          {850, 3300}, {720, 5800}, {1500, 9100}};
    for (const auto& c : cases) {
        const double expected = sliceIntegral(tank, c.rho, c.level);
        EXPECT_NEAR(hydrostaticLitres(tank, c.rho, c.level), expected, 1e-6 * expected + 1e-9)
            << c.rho << " kg/m³ at " << c.level;
    }
}

// The increase never falls with the level, and scales with ρ − 1.1.
TEST(VerticalHydrostatic, RisesWithLevelAndDensity) {
    VerticalTank tank;
    tank.courses = {course(1500, 12, 8), course(1500, 12, 6)};
    double previous = 0;
    for (double h = 0; h <= 3000; h += 100) {
        const double v = hydrostaticLitres(tank, 900, h);
        EXPECT_GE(v, previous) << h;
        previous = v;
    }
    EXPECT_NEAR(hydrostaticLitres(tank, 1800 + 1.1, 2500) / hydrostaticLitres(tank, 900 + 1.1, 2500),
                1.0 * 1800 / 900, 1e-12);
}

} // namespace
