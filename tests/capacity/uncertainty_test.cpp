// The law of propagation against a closed form (a flat-ended cylinder) and against a
// Monte Carlo propagation of the same input distributions (10^5 draws of normal inputs).

#include "capacity/uncertainty.h"

#include "capacity/volume.h"
#include "fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace kelvora::capacity {
namespace {

using test::set;

TTankDescription describe(MemoryInputs in) {
    auto read = ReadTankDescription(in, RequestType::Table);
    EXPECT_TRUE(read.description) << read.message;
    return *read.description;
}

TEST(Uncertainty, FlatEndedCylinderMatchesClosedFormDerivatives) {
    const TTankDescription d = describe(test::circularTank());
    StandardUncertainties u;
    u.section = 1.5, u.length = 3, u.level = 0.7;
    const double R = 1000, L = 5000;
    for (double x : {1.0, 250.0, 1000.0, 1731.0, 1999.0}) {
        // Segment area and its derivatives at a fixed level, in mm.
        const double c = (R - x) / R, s = std::sqrt(2 * R * x - x * x);
        const double area = R * R * std::acos(c) - (R - x) * s;
        const double dAdR = 2 * R * std::acos(c) - x / std::sqrt(1 - c * c) - s - (R - x) * x / s;
        const double dVdD = L * dAdR / 2, dVdL = area, dVdx = L * 2 * s;
        const double expected =
            std::sqrt(std::pow(dVdD * u.section, 2) + std::pow(dVdL * u.length, 2) + std::pow(dVdx * u.level, 2)) * 1e-9;
        EXPECT_NEAR(volumeUncertainty(d, x, u), expected, 1e-6 * expected) << "x = " << x;
    }
}

// The same normal inputs drawn 10^5 times; the spread of the volumes is the standard
// uncertainty the first-order law approximates.
struct MonteCarloCase {
    const char* name;
    MemoryInputs inputs;
    StandardUncertainties u;
    std::vector<double> levels;
};

double drawnSpread(const TTankDescription& d, double x, const StandardUncertainties& u, std::mt19937_64& rng) {
    std::normal_distribution<double> n01;
    const int draws = 100'000;
    long double sum = 0, sumSq = 0;
    for (int i = 0; i < draws; ++i) {
        TTankDescription t = d;
        auto draw = [&](double& value, double ui) { value += ui * n01(rng); };
        switch (t.kind) {
        case TStructureKind::skCalibration:
            for (std::size_t k = 0; k < t.pointLevels.size(); ++k) {
                draw(t.pointLevels[k], u.pointLevel);
                draw(t.pointVolumes[k], u.pointVolume / 100 * std::fabs(t.pointVolumes[k]));
            }
            break;
        case TStructureKind::skInclined:
            draw(t.alpha, u.angle);
            draw(t.beta, u.angle);
            draw(t.F, u.F);
            [[fallthrough]];
        default:
            draw(t.A, t.A > 0 ? u.section : 0);
            draw(t.B, t.B > 0 ? u.section : 0);
            draw(t.D, t.D > 0 ? u.section : 0);
            draw(t.L, u.length);
            for (THeadSpec* side : {&t.left, &t.right}) {
                draw(side->dims.h, u.head);
                draw(side->dims.H, u.head);
            }
        }
        const double V = VolumeAtLevel(t, x + u.level * n01(rng));
        sum += V;
        sumSq += static_cast<long double>(V) * V;
    }
    const long double mean = sum / draws;
    return static_cast<double>(std::sqrt((sumSq - draws * mean * mean) / (draws - 1)));
}

TEST(Uncertainty, AgreesWithMonteCarloPropagationAboveTenPercent) {
    auto horizontal = test::circularTank({{"RadioButton15", "1"}, {"Edit21", "40"}, {"Edit22", "540"},
                                          {"RadioButton8", "1"}, {"Edit10", "40"}, {"Edit11", "540"}});
    auto inclined = MemoryInputs::afterStartup();
    inclined.setActivePage(1);
    set(inclined, {{"Edit29", "2.5"}, {"Edit30", "10"}, {"Edit39", "4000"}, {"Edit40", "2400"}, {"Edit41", "2400"},
                   {"Edit42", "8000"}, {"RadioButton15", "1"}, {"Edit21", "30"}, {"Edit22", "630"}, {"RadioButton8", "1"},
                   {"Edit10", "30"}, {"Edit11", "630"}, {"Edit6", "0"}, {"Edit7", "2400"}, {"Edit8", "100"},
                   {"Edit9", "10"}, {"Edit13", "0"}, {"Edit31", "0"}, {"Edit32", "0"}, {"Edit33", "0"}});
    auto points = MemoryInputs::afterStartup();
    points.setActivePage(3);
    const char* cells[][2] = {{"0", "0"}, {"300", "900"}, {"700", "3400"}, {"1200", "7800"}, {"1600", "11200"},
                              {"2000", "13300"}, {"2300", "14100"}, {"2500", "14300"}};
    for (int r = 0; r < 8; ++r) {
        points.grid().setCell(1, r + 1, cells[r][0]);
        points.grid().setCell(2, r + 1, cells[r][1]);
    }
    set(points, {{"Edit6", "0"}, {"Edit7", "2500"}, {"Edit8", "100"}, {"Edit9", "10"}});

    StandardUncertainties shell{.section = 1, .length = 1, .head = 10, .level = 0.5};
    StandardUncertainties tilted{.section = 1, .length = 1, .head = 2, .angle = 0.3, .F = 20, .level = 0.5};
    StandardUncertainties measured{.level = 1, .pointVolume = 0.2, .pointLevel = 1};
    const MonteCarloCase cases[] = {
        {"horizontal tank, ellipsoidal heads", horizontal, shell, {400, 1000, 1500, 1900}},
        {"inclined tank, beta 10 degrees, gauge in the middle", inclined, tilted, {500, 1200, 1800, 2100}},
        {"calibration points", points, measured, {450, 1000, 1800, 2400}},
    };
    std::mt19937_64 rng(20261209);
    for (const auto& c : cases) {
        const TTankDescription d = describe(c.inputs);
        for (double x : c.levels) {
            const double U = kCoverageFactor * volumeUncertainty(d, x, c.u);
            const double UMonteCarlo = kCoverageFactor * drawnSpread(d, x, c.u, rng);
            EXPECT_NEAR(U, UMonteCarlo, 0.05 * UMonteCarlo) << c.name << ", x = " << x;
        }
    }
}

TEST(Uncertainty, TableRowsAndTheHeaderStatement) {
    auto in = test::circularTank({{"Edit8", "100"}});
    const TTankDescription d = describe(in);
    StandardUncertainties none;
    EXPECT_FALSE(none.any());
    StandardUncertainties u{.section = 1, .length = 2};
    const auto rows = tableUncertainty(d, u, 1000);
    ASSERT_EQ(rows.size(), 21u);
    EXPECT_FALSE(rows.front().relative()); // an empty tank has no relative uncertainty
    // At the top level the diameter can only grow: a one-sided difference, never outside the tank.
    EXPECT_GT(rows.back().U, 0);
    const auto summary = summarizeUncertainty(rows);
    ASSERT_TRUE(summary);
    double worst = 0, from = -1;
    for (const auto& row : rows)
        if (row.value >= 0.1 * rows.back().value) {
            if (from < 0) from = row.level;
            worst = std::max(worst, *row.relative());
        }
    EXPECT_DOUBLE_EQ(summary->maxRelative, worst);
    EXPECT_EQ(summary->fromLevel, from);
    EXPECT_EQ(uncertaintyStatement({.maxRelative = 0.2301, .fromLevel = 300}), "扩展不确定度 U_rel ≤ 0.24 %（k = 2），液位 30 cm 以上");
    EXPECT_EQ(uncertaintyStatement({.maxRelative = 0.23, .fromLevel = 300}), "扩展不确定度 U_rel ≤ 0.23 %（k = 2），液位 30 cm 以上");
}

} // namespace
} // namespace kelvora::capacity
