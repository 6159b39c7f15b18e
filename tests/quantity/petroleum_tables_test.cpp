// ρ20 and VCF20 in both modes against an independent long double reckoning (reference.h),
// the fixed-point rounds ending near each band edge of group B, the rounding of shown
// values and the refusals of a density or temperature out of range.

#include "quantity/petroleum_tables.h"
#include "reference.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kelvora::quantity;

namespace {

char letter(Group g) {
    return groupLetter(g)[0];
}

struct Reading {
    Group group;
    double density, temperature;
};

// Readings over the three groups, hot and cold, on a column and between two.
const Reading kReadings[] = {
    {Group::B, 803.5, 24.7}, {Group::B, 725.0, 31.2},  {Group::B, 742.3, -5.4},  {Group::B, 838.0, 8.0},
    {Group::B, 780.1, 26.0}, {Group::B, 655.0, 45.13}, {Group::B, 1070.9, 88.9}, {Group::B, 846.6, 12.5},
    {Group::B, 800.0, 20.0}, {Group::A, 860.2, 35.6},  {Group::A, 612.4, -17.9}, {Group::A, 950.0, 60.0},
    {Group::D, 880.7, 40.1}, {Group::D, 1160.0, 72.3}, {Group::D, 801.1, 0.0},   {Group::B, 790.9, 17.875},
};

TEST(Rho20, FormulaAgreesWithTheIndependentReckoning) {
    for (const auto& r : kReadings) {
        const long double expected = reference::rho20(letter(r.group), r.density, r.temperature);
        EXPECT_NEAR(rho20FromReading(r.group, r.density, r.temperature), expected, 1e-7)
            << r.density << " at " << r.temperature;
        const Shown shown = rho20Shown(r.group, Mode::Formula, r.density, r.temperature);
        EXPECT_EQ(shown.decimals, 4);
        EXPECT_NEAR(shown.value(), reference::roundTo(expected, 4), 1e-9) << r.density;
    }
}

TEST(Rho20, TableInterpolatesTheCellsOfTheNearestRow) {
    for (const auto& r : kReadings) {
        const Shown shown = rho20Shown(r.group, Mode::Table, r.density, r.temperature);
        EXPECT_EQ(shown.decimals, 1);
        EXPECT_NEAR(shown.value(), reference::tableRho20(letter(r.group), r.density, r.temperature), 1e-9)
            << r.density << " at " << r.temperature;
    }
}

TEST(Rho20, AtTwentyDegreesTheReadingIsTheStandardDensity) {
    for (double reading : {653.0, 700.2, 770.4, 787.6, 838.4, 900.0, 1075.0})
        EXPECT_NEAR(rho20FromReading(Group::B, reading, 20), reading, 1e-9);
}

TEST(Rho20, TableRowsAndTheHalfOfATenth) {
    // A row every 0.25 °C: 24.6 and 24.74 read the 24.75 row, 24.625 (halfway) the higher.
    const Group b = Group::B;
    EXPECT_EQ(rho20Shown(b, Mode::Table, 803.5, 24.74).units, rho20Shown(b, Mode::Table, 803.5, 24.75).units);
    EXPECT_EQ(rho20Shown(b, Mode::Table, 803.5, 24.625).units,
              rho20Shown(b, Mode::Table, 803.5, 24.75).units);
    EXPECT_EQ(rho20Shown(b, Mode::Table, 803.5, 24.62).units, rho20Shown(b, Mode::Table, 803.5, 24.5).units);
    // Two cells an odd number of tenths apart: the reading between their columns lands on
    // a half and goes up (807.45 → 807.5 in kind).
    for (double t = -18; t <= 90; t += 0.25)
        for (double column = 654; column < 1074; column += 2) {
            const Shown left = rho20Shown(b, Mode::Table, column, t);
            const Shown right = rho20Shown(b, Mode::Table, column + 2, t);
            if ((right.units - left.units) % 2 == 0) continue;
            const Shown middle = rho20Shown(b, Mode::Table, column + 1, t);
            ASSERT_EQ(middle.units, (left.units + right.units + 1) / 2) << column << " at " << t;
            return;
        }
    FAIL() << "no two neighbouring cells an odd number of tenths apart";
}

struct VcfCase {
    Group group;
    double rho20, temperature;
};
const VcfCase kVcf[] = {
    {Group::B, 806.9, 23.5}, {Group::B, 730.0, 30.0}, {Group::B, 745.3, -10.2}, {Group::B, 840.0, 5.0},
    {Group::B, 775.0, 35.0}, {Group::B, 653.0, 89.9}, {Group::B, 1075.0, 50.0}, {Group::B, 807.0, 20.125},
    {Group::A, 850.5, 40.0}, {Group::A, 610.0, 0.0},  {Group::D, 870.0, 65.0},  {Group::D, 1164.0, -18.0},
};

TEST(Vcf20, FormulaAgreesWithTheIndependentReckoning) {
    for (const auto& c : kVcf) {
        const long double expected = reference::vcf20(letter(c.group), c.rho20, c.temperature);
        EXPECT_NEAR(vcf20FromRho20(c.group, c.rho20, c.temperature), expected, 1e-12) << c.rho20;
        const Shown shown = vcf20Shown(c.group, Mode::Formula, c.rho20, c.temperature);
        EXPECT_EQ(shown.decimals, 6);
        EXPECT_NEAR(shown.value(), reference::roundTo(expected, 6), 1e-12) << c.rho20;
    }
}

TEST(Vcf20, TableTakesTheNearestCell) {
    for (const auto& c : kVcf) {
        const Shown shown = vcf20Shown(c.group, Mode::Table, c.rho20, c.temperature);
        EXPECT_EQ(shown.decimals, 4);
        EXPECT_NEAR(shown.value(), reference::tableVcf20(letter(c.group), c.rho20, c.temperature), 1e-12)
            << c.rho20 << " at " << c.temperature;
    }
    // 807.0 lies halfway between the columns 806 and 808 and takes 808; 806.9 takes 806.
    EXPECT_EQ(vcf20Shown(Group::B, Mode::Table, 807.0, 30).units,
              vcf20Shown(Group::B, Mode::Table, 808, 30).units);
    EXPECT_EQ(vcf20Shown(Group::B, Mode::Table, 806.9, 30).units,
              vcf20Shown(Group::B, Mode::Table, 806, 30).units);
    EXPECT_EQ(vcf20Shown(Group::B, Mode::Table, 806, 20).units, 10000);
}

// The ρ20 for which ρ15 = ρ20 / CTL15(20) falls between the two bands at `edge`: below
// the edge the lower band's α sends the value above it, and the upper band's back below.
double alternatingRho20(double edge, reference::Band below, reference::Band above) {
    return edge * (reference::ctl(below, edge, 20) + reference::ctl(above, edge, 20)) / 2;
}

// The pair of values the rounds keep alternating between, and their mean.
long double alternationMean(long double n, long double t, reference::Band below, reference::Band above) {
    long double x = n;
    for (int i = 0; i < 1000; ++i)
        x = n / reference::ctl(above, n / reference::ctl(below, x, t), t);
    return (x + n / reference::ctl(below, x, t)) / 2;
}

TEST(Rho15, RoundsEndingNearEachBandEdgeOfGroupB) {
    using reference::B1, reference::B2, reference::B3, reference::B4;
    // ρ20 → ρ15 at 20 °C alternates at 770.5 and 787.5, where α drops across the edge.
    for (auto [edge, below, above] : {std::tuple{770.5, B1, B2}, std::tuple{787.5, B2, B3}}) {
        const double rho20 = alternatingRho20(edge, below, above);
        const Rho15 s = solveRho15(Group::B, rho20, 20);
        EXPECT_TRUE(s.alternated) << edge;
        EXPECT_NEAR(s.value, alternationMean(rho20, 20, below, above), 1e-8) << edge;
        EXPECT_NEAR(s.value, edge, 0.01) << edge;
        // A little away from the window the rounds settle on one side of the edge.
        for (double step : {-0.05, 0.05}) {
            const Rho15 settled = solveRho15(Group::B, rho20 + step, 20);
            EXPECT_FALSE(settled.alternated) << edge << step;
            EXPECT_NEAR(settled.value, reference::rho15('B', rho20 + step, 20), 1e-8) << edge << step;
            EXPECT_EQ(settled.value < edge, step < 0) << edge << step;
        }
    }
    // At 838.5 α rises across the edge: at 20 °C the rounds settle below it, and a reading
    // taken colder than 15 °C alternates.
    const double n = 838.5 * (reference::ctl(B3, 838.5, 5) + reference::ctl(B4, 838.5, 5)) / 2;
    const Rho15 cold = solveRho15(Group::B, n, 5);
    EXPECT_TRUE(cold.alternated);
    EXPECT_NEAR(cold.value, alternationMean(n, 5, B3, B4), 1e-8);
    const Rho15 warm = solveRho15(Group::B, 838.5 * reference::ctl(B3, 838.5, 20) - 0.001, 20);
    EXPECT_FALSE(warm.alternated);
    EXPECT_LT(warm.value, 838.5);
    for (double step : {-0.05, 0.05}) {
        const Rho15 settled = solveRho15(Group::B, n + step, 5);
        EXPECT_FALSE(settled.alternated) << step;
        EXPECT_NEAR(settled.value, reference::rho15('B', n + step, 5), 1e-8) << step;
    }
}

TEST(Rho15, ConvergesWithinTheRoundsAwayFromTheEdges) {
    for (const auto& r : kReadings) {
        const Rho15 s = solveRho15(r.group, hydrometerDensity(r.density, r.temperature), r.temperature);
        EXPECT_FALSE(s.alternated) << r.density;
        EXPECT_LE(s.rounds, 20) << r.density;
    }
}

TEST(Shown, RoundsHalvesUpAndWritesTheDecimals) {
    struct Case {
        long double x;
        int decimals;
        const char* text;
    };
    const Case cases[] = {{807.45L, 1, "807.5"},  {807.44L, 1, "807.4"}, {0.99876549L, 4, "0.9988"},
                          {1.0L, 6, "1.000000"},  {-2.675L, 2, "-2.68"}, {0.005L, 2, "0.01"},
                          {12345.0L, 0, "12345"}, {-0.004L, 2, "0.00"},  {0.049L, 1, "0.0"}};
    for (const auto& c : cases)
        EXPECT_EQ(roundShown(c.x, c.decimals).text(), c.text) << static_cast<double>(c.x);
}

TEST(Refusals, DensityAndTemperatureOutOfRange) {
    struct Case {
        Group group;
        double rho;
        bool refused;
    };
    const Case densities[] = {{Group::A, 609.9, true},   {Group::A, 610, false},   {Group::A, 1075, false},
                              {Group::A, 1075.1, true},  {Group::B, 652.9, true},  {Group::B, 653, false},
                              {Group::B, 1075.01, true}, {Group::D, 799.9, true},  {Group::D, 800, false},
                              {Group::D, 1164, false},   {Group::D, 1164.1, true}, {Group::B, NAN, true}};
    for (const auto& c : densities)
        EXPECT_EQ(!densityRefusal(c.group, c.rho, "视密度").empty(), c.refused) << c.rho;
    EXPECT_EQ(densityRefusal(Group::B, 600, "视密度"), "呵呵，成品油的视密度须在653到1075 kg/m3之间！");
    const std::pair<double, bool> temperatures[] = {{-18.01, true}, {-18, false}, {90, false},
                                                    {90.01, true},  {NAN, true},  {20, false}};
    for (auto [t, refused] : temperatures)
        EXPECT_EQ(!temperatureRefusal(t, "油温").empty(), refused) << t;
    EXPECT_EQ(temperatureRefusal(95, "油温"), "呵呵，油温须在-18到90 ℃之间！");
    // The columns just outside the range serve the interpolation at its ends.
    EXPECT_NEAR(rho20Shown(Group::B, Mode::Table, 653, 30).value(), reference::tableRho20('B', 653, 30),
                1e-9);
    EXPECT_NEAR(vcf20Shown(Group::B, Mode::Table, 1075, 30).value(), reference::tableVcf20('B', 1075, 30),
                1e-12);
}

TEST(Groups, WordsAndNames) {
    const std::pair<const char*, std::optional<Group>> words[] = {
        {"A", Group::A},     {"B", Group::B},      {"D", Group::D},
        {"原油", Group::A},  {"成品油", Group::B}, {"润滑油", Group::D},
        {"C", std::nullopt}, {"b", std::nullopt},  {"", std::nullopt}};
    for (auto [word, group] : words)
        EXPECT_EQ(groupFromWord(word), group) << word;
    EXPECT_EQ(groupName(Group::D), "润滑油");
    EXPECT_EQ(modeName(Mode::Formula), "公式");
}

} // namespace
