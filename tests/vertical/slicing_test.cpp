// The main table of a tilted tank of unequal courses, with measured bottom points and
// deadwood, against the volume of the tilted solid itself: horizontal slices of the
// stacked oblique cylinders, integrated over the level numerically.

#include "vertical/vertical_tank.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

using namespace kelvora::vertical;
constexpr double kPi = std::numbers::pi;

// The solid: course i is a cylinder of radius r_i about an axis through the datum point,
// tilted θ from the vertical, between the planes perpendicular to the axis at the axial
// lengths z_i / cos θ and z_{i+1} / cos θ; the bottom is the plane at axial length 0.
struct TiltedSolid {
    std::vector<double> radius, levels; // levels: z_0 = 0 … z_n, vertical, on the axis
    double theta = 0;
    // A pipe inside (area taken away) and a sump outside (area added), constant over height.
    double pipeArea = 0, pipeFrom = 0, pipeTo = 0;
    double sumpArea = 0, sumpFrom = 0, sumpTo = 0;

    // ∫ 2√(r² − u²) du over [a, b] ∩ [−r, r]: the width of the slice summed across.
    static double chordIntegral(double r, double a, double b) {
        a = std::clamp(a, -r, r);
        b = std::clamp(b, -r, r);
        if (b <= a) return 0;
        auto F = [r](double u) {
            return u * std::sqrt(std::max(r * r - u * u, 0.0)) + r * r * std::asin(u / r);
        };
        return F(b) - F(a);
    }

    // The horizontal slice at z: a point (x, y, z) lies in course i when its distance from
    // the axis u = x cos θ − z sin θ (with y) is within r_i and its axial length
    // x sin θ + z cos θ lies within the course, i.e. u ∈ [(z_i − z)/sin θ, (z_{i+1} − z)/sin θ];
    // dx = du / cos θ.
    // The pipe and the sump begin and end at cuts of the integration; `piece` is a level
    // inside the piece being integrated, which decides whether they are there.
    double area(double z, double piece) const {
        const double s = std::sin(theta), c = std::cos(theta);
        double a = 0;
        for (std::size_t i = 0; i < radius.size(); ++i)
            a += chordIntegral(radius[i], (levels[i] - z) / s, (levels[i + 1] - z) / s) / c;
        if (piece > pipeFrom && piece < pipeTo) a -= pipeArea;
        if (piece > sumpFrom && piece < sumpTo) a += sumpArea;
        return a;
    }

    // The slice areas integrated up to h by Simpson's rule between the levels where they
    // bend (a slice meeting a course's edge), in steps of at most 2 mm; litres.
    double litres(double h) const {
        std::vector<double> cuts{-radius.front() * std::sin(theta), h};
        for (std::size_t i = 0; i < levels.size(); ++i)
            for (double r : radius)
                for (double sign : {-1.0, 1.0})
                    cuts.push_back(levels[i] + sign * r * std::sin(theta));
        for (double z : {pipeFrom, pipeTo, sumpFrom, sumpTo})
            cuts.push_back(z);
        std::sort(cuts.begin(), cuts.end());
        double sum = 0;
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
            const double lo = std::max(cuts[k], cuts.front()), hi = std::min(cuts[k + 1], h);
            if (!(hi > lo)) continue;
            const int n = 2 * static_cast<int>(std::ceil((hi - lo) / 4));
            const double step = (hi - lo) / n;
            const double piece = (lo + hi) / 2;
            double part = area(lo, piece) + area(hi, piece);
            for (int j = 1; j < n; ++j)
                part += (j % 2 ? 4 : 2) * area(lo + j * step, piece);
            sum += part * step / 3;
        }
        return sum * 1e-6;
    }
};

struct Fixture {
    VerticalTank tank;
    TiltedSolid solid;
};

Fixture tiltedTank() {
    Fixture f;
    f.tank.courses = {
        {2000, 37762.8, 10, -5}, {1800, 37750.0, 9, 0}, {1500, 37741.2, 8, 3.5}, {1200, 37720.4, 7, 0}};
    f.tank.tilt = 3;
    f.solid.theta = 3 * kPi / 180;
    double z = 0;
    f.solid.levels.push_back(0);
    for (const auto& c : f.tank.courses) {
        f.solid.radius.push_back((c.circumference + c.correction) / (2 * kPi) - c.thickness);
        z += c.height;
        f.solid.levels.push_back(z);
    }
    // A heating pipe of 0.05 m² standing from 200 mm to 3500 mm, a sump of 80 L within the
    // bottom points' range.
    f.solid.pipeArea = 50000, f.solid.pipeFrom = 200, f.solid.pipeTo = 3500;
    f.solid.sumpArea = 80e6 / 150, f.solid.sumpFrom = 0, f.solid.sumpTo = 150;
    f.tank.deadwood = {{200, 3500, -50000 * 3300 * 1e-6}, {0, 150, 80}};
    // The bottom as a verifier measures it: the bare shell's litres at three levels, the
    // last above r₁·tan θ (≈ 314 mm).
    TiltedSolid bare = f.solid;
    bare.pipeArea = bare.sumpArea = 0;
    for (double level : {0.0, 200.0, 400.0})
        f.tank.bottom.push_back({level, bare.litres(level)});
    return f;
}

// Away from the course edges (more than r sin θ from them) a horizontal plane meets one
// course only, and the tilted slices sum to π r² Δz / cos θ exactly.
TEST(VerticalSlicing, MainTableEqualsTheTiltedSolidAwayFromCourseEdges) {
    const Fixture f = tiltedTank();
    const double edge = f.solid.radius.front() * std::sin(f.solid.theta) + 1;
    const double levels[] = {400,  420,  700,  1000, 1500, 1650, 2350, 2500, 3000,
                             3400, 3450, 4150, 4400, 4600, 5650, 6000, 6180};
    for (double h : levels) {
        bool nearEdge = false;
        for (double z : f.solid.levels)
            nearEdge = nearEdge || (std::fabs(h - z) < edge && z > 0);
        ASSERT_FALSE(nearEdge) << h;
        const double truth = f.solid.litres(h);
        EXPECT_NEAR(mainLitres(f.tank, h), truth, 1e-6 * truth + 0.01) << "level " << h;
    }
}

// Within r sin θ of an edge the plane cuts two courses of slightly different radius; the
// main table takes the edge as level. The difference stays below the wedge of the radius
// change, 2 r² |Δr| tan θ (litres), and vanishes again past the edge.
TEST(VerticalSlicing, MainTableStaysWithinTheWedgeAtCourseEdges) {
    const Fixture f = tiltedTank();
    for (std::size_t i = 1; i + 1 < f.solid.levels.size(); ++i) {
        const double r = f.solid.radius[i - 1], dr = std::fabs(f.solid.radius[i] - r);
        const double bound = 2 * r * r * dr * std::tan(f.solid.theta) * 1e-6 + 0.01;
        for (double offset : {-200.0, -50.0, 0.0, 50.0, 200.0}) {
            const double h = f.solid.levels[i] + offset;
            EXPECT_NEAR(mainLitres(f.tank, h), f.solid.litres(h), bound) << "level " << h;
        }
    }
}

// At the bottom points the table is the measured litres plus the deadwood below the level,
// also where a band lies within the points' range; between them it is linear.
TEST(VerticalSlicing, BottomPointsCarryTheDeadwood) {
    const Fixture f = tiltedTank();
    struct Case {
        double level, expected;
    };
    const double b0 = f.tank.bottom[0].litres, b1 = f.tank.bottom[1].litres, b2 = f.tank.bottom[2].litres;
    const Case cases[] = {
        {0, b0},
        {75, b0 + (b1 - b0) * 75 / 200 + 40},
        {150, b0 + (b1 - b0) * 150 / 200 + 80},
        {200, b1 + 80},
        {300, (b1 + b2) / 2 + 80 - 50000 * 100 * 1e-6},
        {400, b2 + 80 - 50000 * 200 * 1e-6},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(mainLitres(f.tank, c.level), c.expected, 1e-6) << c.level;
    EXPECT_NEAR(f.tank.bottom[2].litres + 80 - 50000 * 200 * 1e-6, f.solid.litres(400), 1e-3);
}

// Without tilt, bottom or deadwood the table is the stacked cylinders' π r² h.
TEST(VerticalSlicing, UprightTankIsStackedCylinders) {
    VerticalTank tank;
    tank.courses = {{1000, 31415.926535897932, 5}, {500, 31415.926535897932 - 2 * kPi * 1, 4}};
    const double r1 = 5000 - 5, r2 = 5000 - 1 - 4;
    struct Case {
        double level, litres;
    };
    const Case cases[] = {{0, 0},
                          {1, kPi * r1 * r1 * 1e-6},
                          {1000, kPi * r1 * r1 * 1e-3},
                          {1250, kPi * (r1 * r1 * 1000 + r2 * r2 * 250) * 1e-6},
                          {1500, kPi * (r1 * r1 * 1000 + r2 * r2 * 500) * 1e-6}};
    for (const auto& c : cases)
        EXPECT_NEAR(mainLitres(tank, c.level), c.litres, 1e-9 * c.litres + 1e-9);
    EXPECT_DOUBLE_EQ(shellHeight(tank), 1500);
}

} // namespace
