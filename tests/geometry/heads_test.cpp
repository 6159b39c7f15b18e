// The exact volumes against the solids integrated another way: slice by slice along the
// axis (disc segments under the level), by tanh-sinh quadrature, which shares neither the
// variable nor the rule with the functions under test.

#include "geometry/heads.h"

#include "../kernel/quadrature.h"
#include "kernel/heads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace kelvora::geometry;
using kelvora::test::integrate;
using kelvora::test::kPi;
using kelvora::test::LD;
using kelvora::test::volumeOfRevolution;

// A head as the reference sees it: its radius at each axial distance from the end circle,
// in pieces whose joins are the profile's own kinks (the knuckle–crown junction).
struct Solid {
    std::vector<std::function<LD(LD)>> pieces; // radius over [0, length] of each piece
    std::vector<LD> lengths;
};

LD referenceVolume(const Solid& solid, LD D, LD h, LD stretch) {
    LD sum = 0;
    for (std::size_t i = 0; i < solid.pieces.size(); ++i)
        sum += volumeOfRevolution(solid.pieces[i], solid.lengths[i], D, h, stretch);
    return sum * 1e-9L;
}

Solid ellipsoid(LD r, LD a) {
    return {{[=](LD z) { return r * std::sqrt(std::fmax(0.0L, 1 - (z / a) * (z / a))); }}, {a}};
}

Solid cone(LD r, LD r2, LD len) {
    return {{[=](LD z) { return r - (r - r2) * z / len; }}, {len}};
}

// A sphere of radius R whose centre lies c inside the end plane: a cap of height R − c.
Solid cap(LD r, LD H) {
    const LD R = r * r / (2 * H) + H / 2, c = R - H;
    return {{[=](LD z) { return std::sqrt(std::fmax(0.0L, R * R - (z + c) * (z + c))); }}, {H}};
}

Solid torispherical(LD r, LD Rc, LD g, LD t) {
    const LD rhoJ = (r - g) * Rc / (Rc - g);
    const LD zJ = std::sqrt(g * g - (rhoJ - (r - g)) * (rhoJ - (r - g)));
    const LD c = Rc - t; // the crown's centre lies c inside the end plane
    return {{[=](LD z) { return r - g + std::sqrt(std::fmax(0.0L, g * g - z * z)); },
             [=](LD z) { return std::sqrt(std::fmax(0.0L, Rc * Rc - (z + zJ + c) * (z + zJ + c))); }},
            {zJ, t - zJ}};
}

struct Case {
    std::string name;
    double D, W;
    Solid solid;
    std::function<double(double)> exact;
    double full; // the closed form of the whole head
};

std::vector<Case> cases() {
    std::vector<Case> c;
    auto add = [&](std::string name, double D, double W, Solid s, std::function<double(double)> f,
                   double full) {
        c.push_back({std::move(name), D, W, std::move(s), std::move(f), full});
    };
    const LD pi = kPi;
    add(
        "ellipsoidal", 2000, 2000, ellipsoid(1000, 500),
        [](double h) { return exactEllipsoidal(2000, 2000, 500, h); },
        static_cast<double>(pi * 2000 * 2000 * 500 / 6 * 1e-9L));
    add(
        "ellipsoidal on an ellipse", 1780, 1200, ellipsoid(890, 445),
        [](double h) { return exactEllipsoidal(1780, 1200, 445, h); },
        static_cast<double>(pi * 1780 * 1200 * 445 / 6 * 1e-9L));
    add(
        "hemispherical", 1600, 1600, ellipsoid(800, 800),
        [](double h) { return exactHemispherical(1600, h); },
        static_cast<double>(pi * 1600 * 1600 * 1600 / 12 * 1e-9L));
    add(
        "cone", 2000, 2000, cone(1000, 0, 800), [](double h) { return exactCone(800, h, 2000); },
        static_cast<double>(pi * 1000 * 1000 * 800 / 3 * 1e-9L));
    add(
        "frustum", 2000, 2000, cone(1000, 600, 800),
        [](double h) { return exactFrustum(800, h, 2000, 1200); },
        static_cast<double>(pi * 800 / 3 * (1000.0L * 1000 + 1000 * 600 + 600 * 600) * 1e-9L));
    for (double H : {2.0, 10.0, 19.9, 20.0, 60.0, 268.0, 600.0, 1000.0}) {
        const LD R = 1000.0L * 1000 / (2 * H) + H / 2;
        add(
            "spherical cap H=" + std::to_string(H), 2000, 2000, cap(1000, H),
            [H](double h) { return exactSphericalCap(2000, 2000, H, h); },
            static_cast<double>(pi * H * H * (3 * R - H) / 3 * 1e-9L));
    }
    {
        const LD R = 890.0L * 890 / 400 + 100;
        add(
            "spherical cap on an ellipse", 1780, 1200, cap(890, 200),
            [](double h) { return exactSphericalCap(1780, 1200, 200, h); },
            static_cast<double>(pi * 200 * 200 * (3 * R - 200) / 3 * 1200 / 1780 * 1e-9L));
    }
    for (double D : {300.0, 2000.0, 2600.0}) {
        const LD r = D / 2, Rc = D, g = D / 10;
        const LD t = Rc - std::sqrt((Rc - g) * (Rc - g) - (r - g) * (r - g));
        add(
            "standard dished D=" + std::to_string(D), D, D, torispherical(r, Rc, g, t),
            [D](double h) { return exactStandardDished(D, h); },
            kelvora::kernel::FeiBiaoDieXin(0, static_cast<double>(t), D, D));
    }
    // Non-standard dished heads: a deep knuckle, a slight one, one crown barely wider than
    // the shell, one all knuckle but a point (t = r is the hemisphere).
    struct Dished {
        double hs, H, Ri, D;
    };
    for (const Dished& d :
         {Dished{25, 525, 2600, 2600}, Dished{0, 300, 2000, 2000}, Dished{40, 240, 3000, 2000},
          Dished{0, 800, 1050, 2000}, Dished{0, 999, 1200, 2000}}) {
        const LD r = d.D / 2, t = d.H - d.hs;
        const LD g = (t * t - 2 * d.Ri * t + r * r) / (d.D - 2 * d.Ri);
        add(
            "non-standard dished H=" + std::to_string(d.H) + " Ri=" + std::to_string(d.Ri), d.D, d.D,
            torispherical(r, d.Ri, g, t),
            [d](double h) { return exactNonStandardDished(d.hs, d.H, d.Ri, d.D, h); },
            kelvora::kernel::FeiBiaoDieXin(d.hs, d.H, d.Ri, d.D));
    }
    return c;
}

// 41 levels: both ends, a fine run near the bottom and the top, the axis and just off it.
std::vector<double> levels(double D) {
    std::vector<double> hs{0,     1e-6,         0.01,   0.3,     2,        10, D / 2 - 1e-7,
                           D / 2, D / 2 + 1e-3, D - 10, D - 0.3, D - 1e-6, D};
    for (int i = 1; i < 29; ++i)
        hs.push_back(D * i / 29.0);
    return hs;
}

class ExactHead : public testing::TestWithParam<Case> {};

TEST_P(ExactHead, MatchesTheSlicedSolidAtEveryLevel) {
    const Case& c = GetParam();
    const double full = static_cast<double>(referenceVolume(c.solid, c.D, c.D, c.W / c.D));
    EXPECT_NEAR(full, c.full, 1e-11 * c.full) << "the reference itself";
    for (double h : levels(c.D)) {
        const double ref = static_cast<double>(referenceVolume(c.solid, c.D, h, c.W / c.D));
        EXPECT_NEAR(c.exact(h), ref, 1e-9 * full) << c.name << " at h = " << h;
    }
}

TEST_P(ExactHead, IsEmptyAtTheBottomFullAtTheTopAndNeverFalls) {
    const Case& c = GetParam();
    EXPECT_EQ(c.exact(0), 0);
    EXPECT_NEAR(c.exact(c.D), c.full, 1e-12 * c.full) << c.name;
    // Dense near both ends, where the closed forms cancel and the pieces are shortest.
    std::vector<double> hs;
    for (int i = 0; i <= 4000; ++i)
        hs.push_back(c.D * i / 4000.0);
    for (int i = 0; i <= 300; ++i)
        hs.push_back(1e-4 * i), hs.push_back(c.D - 1e-4 * (300 - i));
    std::sort(hs.begin(), hs.end());
    double previous = 0;
    for (double h : hs) {
        const double V = c.exact(h);
        ASSERT_GE(V, previous) << c.name << " falls at h = " << h;
        previous = V;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, ExactHead, testing::ValuesIn(cases()), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
});

TEST(ExactShell, IsTheSegmentTimesTheLengthStretched) {
    // ∫ chord over the height, independent of the segment's closed form.
    for (double h : {0.0, 0.5, 250.0, 1000.0, 1777.0, 2000.0}) {
        const LD chords = integrate([](LD y) { return 2 * std::sqrt(y * (2000 - y)); }, 0, h);
        EXPECT_NEAR(exactShell(2000, 3000, h, 5000), static_cast<double>(chords * 5000 * 1.5L * 1e-9L),
                    1e-12 * 23.6)
            << "h = " << h;
    }
    EXPECT_NEAR(exactSphere(2000, 2000), static_cast<double>(4 * kPi / 3), 1e-15);
    EXPECT_NEAR(exactSphere(2000, 1000), static_cast<double>(2 * kPi / 3), 1e-15);
}

TEST(ExactGeometry, RefusesSolidsThatDoNotExistAndLevelsOffTheSection) {
    const HeadDims none;
    struct Row {
        const char* what;
        double V;
    };
    const Row rows[] = {
        {"ellipsoid of no depth", exactEllipsoidal(2000, 2000, 0, 100)},
        {"ellipsoid of negative depth",
         exactHeadVolume(THeadKind::hkEllipsoidal, {300, 200, 0, 0}, 2000, 2000, 100)},
        {"cone of no length", exactCone(0, 100, 2000)},
        {"frustum wider at the end", exactFrustum(800, 100, 2000, 2000)},
        {"frustum with a negative end", exactFrustum(800, 100, 2000, -1)},
        {"cap taller than a hemisphere", exactSphericalCap(2000, 2000, 1000.5, 100)},
        {"cap of no height", exactSphericalCap(2000, 2000, 0, 100)},
        {"dished crown narrower than the shell", exactNonStandardDished(0, 300, 900, 2000, 100)},
        {"dished crown of the shell's radius", exactNonStandardDished(0, 300, 1000, 2000, 100)},
        {"dished too shallow for its crown", exactNonStandardDished(0, 100, 2000, 2000, 100)},
        {"dished deeper than the shell's radius", exactNonStandardDished(0, 1100, 2000, 2000, 100)},
        {"dished of no depth", exactNonStandardDished(300, 300, 2000, 2000, 100)},
        {"level below the bottom", exactStandardDished(2000, -0.001)},
        {"level above the top", exactShell(2000, 2000, 2000.5, 100)},
        {"level not a number", exactHemispherical(2000, std::nan(""))},
        {"shell without a width", exactShell(2000, 0, 100, 100)},
        {"infinite diameter", exactSphere(HUGE_VAL, 100)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.V, -1.0) << row.what;
    // What an elliptical section does not shape holds nothing.
    for (auto kind : {THeadKind::hkCone, THeadKind::hkFrustum, THeadKind::hkStandardDished,
                      THeadKind::hkNonStandardDished, THeadKind::hkHemispherical, THeadKind::hkFlat})
        EXPECT_EQ(exactHeadVolume(kind, none, 1780, 1200, 500), 0);
}

} // namespace
