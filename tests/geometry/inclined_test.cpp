#include "geometry/inclined.h"

#include "geometry/segment.h"
#include "kernel/heads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace {

using kelvora::geometry::InclinedHead;
using kelvora::geometry::inclinedParts;
using kelvora::geometry::InclinedTank;
using kelvora::geometry::inclinedVolume;
using Shape = InclinedHead::Shape;
using LD = long double;

constexpr LD kPi = 3.14159265358979323846264338327950288L;

// ---- Reference: the liquid counted point by point over the section ----------------------
// Each point (x, y) of the circular section (stretched by B/A afterwards) sees one line
// parallel to the axis, running from the lower head's surface through the shell to the
// upper head's surface. The liquid on it is the part before the plane crosses y; its length
// is integrated over the section by nested adaptive Simpson. Nothing here uses segment areas
// or the head quadrature.

template <class F> LD simpsonStep(const F& f, LD a, LD b, LD fa, LD fm, LD fb, LD whole, LD tol, int depth) {
    const LD m = (a + b) / 2, lm = (a + m) / 2, rm = (m + b) / 2;
    const LD flm = f(lm), frm = f(rm);
    const LD left = (m - a) / 6 * (fa + 4 * flm + fm), right = (b - m) / 6 * (fm + 4 * frm + fb);
    const LD diff = left + right - whole;
    if (depth <= 0 || std::fabs(diff) <= 15 * tol) return left + right + diff / 15;
    return simpsonStep(f, a, m, fa, flm, fm, left, tol / 2, depth - 1) +
           simpsonStep(f, m, b, fm, frm, fb, right, tol / 2, depth - 1);
}

template <class F> LD simpson(const F& f, LD a, LD b, LD tol) {
    if (!(b > a)) return 0;
    // Four panels to start, so a narrow feature cannot hide between the first three samples.
    LD sum = 0;
    const int panels = 4;
    for (int i = 0; i < panels; ++i) {
        const LD lo = a + (b - a) * i / panels, hi = a + (b - a) * (i + 1) / panels, mid = (lo + hi) / 2;
        const LD flo = f(lo), fmid = f(mid), fhi = f(hi);
        sum +=
            simpsonStep(f, lo, hi, flo, fmid, fhi, (hi - lo) / 6 * (flo + 4 * fmid + fhi), tol / panels, 50);
    }
    return sum;
}

// Axial depth of a head at radius rho from the axis.
LD headDepthAt(const InclinedHead& head, LD A, LD rho) {
    const LD H = head.depth;
    switch (head.shape) {
    case Shape::None:
        return 0;
    case Shape::Ellipsoidal:
        return H * std::sqrt(std::max(0.0L, 1 - (2 * rho / A) * (2 * rho / A)));
    case Shape::SphericalCap: {
        const LD R = A * A / (8 * H) + H / 2;
        return std::max(0.0L, std::sqrt(std::max(0.0L, R * R - rho * rho)) - (R - H));
    }
    }
    return 0;
}

LD headFull(const InclinedHead& head, LD A) {
    const LD H = head.depth;
    switch (head.shape) {
    case Shape::None:
        return 0;
    case Shape::Ellipsoidal:
        return kPi * A * A * H / 6;
    case Shape::SphericalCap: {
        const LD R = A * A / (8 * H) + H / 2;
        return kPi * H * H * (3 * R - H) / 3;
    }
    }
    return 0;
}

// Full volume in m³, from the solids' textbook volumes.
LD fullVolume(const InclinedTank& k) {
    const LD A = k.A;
    return LD(k.B) / A * (kPi * A * A / 4 * k.Ltot + headFull(k.lower, A) + headFull(k.upper, A)) * 1e-9L;
}

LD referenceVolume(const InclinedTank& k, double h) {
    const LD A = k.A, L = k.Ltot, p = k.p;
    const LD t = std::tan(LD(k.alpha) * kPi / 180);
    const LD hc = A / 2 + (LD(h) - A / 2) * std::cos(LD(k.beta) * kPi / 180);
    const LD full = fullVolume(k) * 1e9L * A / k.B;
    auto wetLength = [&](LD x, LD y) {
        const LD rho = std::hypot(x, y - A / 2);
        const LD dl = headDepthAt(k.lower, A, rho), du = headDepthAt(k.upper, A, rho);
        // The plane stands above y on the axial line while s < crossing.
        LD crossing;
        if (t == 0)
            crossing = y < hc ? std::numeric_limits<LD>::infinity() : -std::numeric_limits<LD>::infinity();
        else
            crossing = p + (hc - y) / t;
        return std::clamp(crossing, -dl, L + du) + dl;
    };
    // Head depths end in a square root at the rim: x = X·(1 − v²) straightens it.
    auto across = [&](LD y) {
        const LD X = std::sqrt(std::max(0.0L, y * (A - y)));
        auto f = [&](LD v) { return wetLength(X * (1 - v * v), y) * 2 * X * v; };
        return 2 * simpson(f, 0, 1, 1e-10L * full / A);
    };
    // Split the depths where the plane passes the ends of shell and heads.
    std::vector<LD> cuts{0, A};
    if (t != 0)
        for (LD s : {-headDepthAt(k.lower, A, 0), 0.0L, L, L + headDepthAt(k.upper, A, 0)}) {
            const LD y = hc + (p - s) * t;
            if (y > 0 && y < A) cuts.push_back(y);
        }
    else if (hc > 0 && hc < A)
        cuts.push_back(hc);
    std::sort(cuts.begin(), cuts.end());
    LD sum = 0;
    for (size_t i = 0; i + 1 < cuts.size(); ++i)
        sum += simpson(across, cuts[i], cuts[i + 1], 1e-13L * full);
    return LD(k.B) / A * sum * 1e-9L;
}

// ---- Cases -----------------------------------------------------------------------------

InclinedHead ellipsoidal(double a) {
    return {Shape::Ellipsoidal, a};
}
InclinedHead cap(double H) {
    return {Shape::SphericalCap, H};
}
const InclinedHead flat{};

struct Case {
    const char* name;
    InclinedTank tank;
};

std::string caseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

// D 2000 × L 6000 unless stated; the gauge at the lower end, the middle or the upper end.
// At 10° the surface falls 1058 mm over the shell, so the sweep includes levels that wet
// only the lower end and levels that fill it completely.
const Case referenceCases[] = {
    {"FlatHorizontal", {2000, 2000, 6000, 3000, 0, 0, flat, flat}},
    {"FlatTiny", {2000, 2000, 6000, 3000, 0.001, 0, flat, flat}},
    {"FlatHalfDegreeGaugeLow", {2000, 2000, 6000, 0, 0.5, 0, flat, flat}},
    {"FlatTenDegreesGaugeHigh", {2000, 2000, 6000, 6000, 10, 0, flat, flat}},
    {"EllipsoidalTiny", {2000, 2000, 6000, 3000, 0.001, 0, ellipsoidal(500), ellipsoidal(500)}},
    {"EllipsoidalTwoDegrees", {2000, 2000, 6000, 3000, 2, 0, ellipsoidal(500), ellipsoidal(500)}},
    {"EllipsoidalTenDegreesGaugeLow", {2000, 2000, 6000, 0, 10, 0, ellipsoidal(500), ellipsoidal(500)}},
    {"EllipsoidalDeepOnEllipseTilted", {1780, 1200, 4000, 4000, 5, 3, ellipsoidal(800), ellipsoidal(300)}},
    {"CapHorizontal", {2000, 2000, 6000, 3000, 0, 0, cap(268), cap(268)}},
    {"CapTiny", {2000, 2000, 6000, 6000, 0.001, 0, cap(268), cap(268)}},
    {"CapHemisphereTenDegrees", {2000, 2000, 3000, 1500, 10, 0, cap(1000), cap(1000)}},
    {"CapShallowOnEllipseGaugeLow", {1780, 1200, 5000, 0, 1, 0, cap(20), cap(200)}},
    {"MixedShortSteep", {1600, 1600, 1200, 300, 10, 0, ellipsoidal(400), cap(300)}},
};

class InclinedAgainstSection : public testing::TestWithParam<Case> {};

TEST_P(InclinedAgainstSection, AgreesToANanoOfTheFullVolume) {
    const InclinedTank& k = GetParam().tank;
    const LD full = fullVolume(k);
    const int levels = 33;
    LD worst = 0;
    for (int i = 0; i < levels; ++i) {
        const double h = k.A * i / (levels - 1);
        const double exact = inclinedVolume(k, h);
        const LD reference = referenceVolume(k, h);
        EXPECT_NEAR(exact, static_cast<double>(reference), static_cast<double>(1e-9L * full)) << "h = " << h;
        worst = std::max(worst, std::fabs(exact - reference) / full);
    }
    RecordProperty("worst_share_of_full", std::to_string(static_cast<double>(worst)));
}

INSTANTIATE_TEST_SUITE_P(Cases, InclinedAgainstSection, testing::ValuesIn(referenceCases), caseName);

// ---- Limits ----------------------------------------------------------------------------

// Lying level, the plane is the level itself: the shell holds segment × length and an
// ellipsoidal head what the level formula gives, at the level after the gauge's tilt. A
// hair off level, with the gauge in the middle and equal heads, the heads' level shifts
// cancel to first order and the shell's mean depth is the level.
TEST(InclinedVolume, LyingLevelIsTheHorizontalTankAtTheCorrectedLevel) {
    struct Lying {
        double alpha, beta, lowerDepth, upperDepth;
    };
    for (const Lying& c :
         {Lying{0, 0, 445, 300}, Lying{0, 4, 445, 300}, Lying{1e-7, 0, 445, 445}, Lying{1e-7, 4, 300, 300}}) {
        const InclinedTank k{
            1780, 1200, 5000, 2500, c.alpha, c.beta, ellipsoidal(c.lowerDepth), ellipsoidal(c.upperDepth)};
        const double full = static_cast<double>(fullVolume(k));
        for (double h : {0.0, 0.02, 3.0, 400.0, 890.0, 1500.0, 1779.0, 1780.0}) {
            const double hc = kelvora::geometry::correctedLevel(k.A, c.beta, h);
            const double shell =
                static_cast<double>(kelvora::geometry::segmentArea(k.A, hc) * k.B / k.A * k.Ltot * 1e-9L);
            const double heads = kelvora::kernel::TuoFengTou(k.A, k.B, c.lowerDepth, hc) +
                                 kelvora::kernel::TuoFengTou(k.A, k.B, c.upperDepth, hc);
            const auto parts = inclinedParts(k, h);
            EXPECT_NEAR(parts.shell, shell, 1e-12 * full) << c.alpha << "° h " << h;
            EXPECT_NEAR(parts.lowerHead + parts.upperHead, heads, 1e-12 * full) << c.alpha << "° h " << h;
        }
    }
}

// Above everything the tank holds its textbook volume; below everything, nothing; and in
// between the volume never falls as the level rises, on a fine sweep through the wedge
// near the bottom and the last air pocket near the top.
TEST(InclinedVolume, FillsFromNothingToTheFullVolumeWithoutFalling) {
    const InclinedTank tanks[] = {
        {2000, 2000, 6000, 3000, 0.001, 0, ellipsoidal(500), ellipsoidal(500)},
        {2000, 2000, 6000, 0, 10, 0, ellipsoidal(500), cap(268)},
        {1780, 1200, 4000, 4000, 3, 2, cap(1), cap(890)},
        {2000, 2000, 0, 0, 5, 0, cap(300), ellipsoidal(700)},
    };
    for (const auto& k : tanks) {
        const double rise = (k.Ltot + 2000) * std::tan(k.alpha * static_cast<double>(kPi) / 180);
        const double top = k.A + rise + 1, bottom = -rise - 1;
        const double full = static_cast<double>(fullVolume(k));
        EXPECT_NEAR(inclinedVolume(k, top + 50), full, 1e-12 * full);
        EXPECT_EQ(inclinedVolume(k, bottom - 50), 0.0);
        double previous = 0;
        const int steps = 20000;
        for (int i = 0; i <= steps; ++i) {
            const double h = bottom + (top - bottom) * i / steps;
            const double v = inclinedVolume(k, h);
            ASSERT_GE(v, previous) << "h = " << h;
            previous = v;
        }
    }
}

// ---- Failures --------------------------------------------------------------------------

TEST(InclinedVolume, FailsPartByPartOnDimensionsItCannotEvaluate) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const InclinedTank good{2000, 2000, 6000, 3000, 2, 0, ellipsoidal(500), cap(268)};
    // Whole-tank faults fail every part; a bad head fails only itself (a cap over half
    // the section, a depth of nothing).
    struct Bad {
        double InclinedTank::*field;
        double value;
    };
    for (const Bad& c : {Bad{&InclinedTank::A, 0}, Bad{&InclinedTank::B, -1}, Bad{&InclinedTank::Ltot, -1},
                         Bad{&InclinedTank::alpha, 90}, Bad{&InclinedTank::p, nan}}) {
        InclinedTank k = good;
        k.*c.field = c.value;
        const auto parts = inclinedParts(k, 500);
        EXPECT_TRUE(parts.shell == -1.0 && parts.lowerHead == -1.0 && parts.upperHead == -1.0) << c.value;
    }
    EXPECT_EQ(inclinedParts(good, nan).shell, -1.0);
    for (double depth : {0.0, -3.0, 1000.5}) {
        InclinedTank k = good;
        k.upper.depth = depth;
        const auto parts = inclinedParts(k, 500);
        EXPECT_EQ(parts.upperHead, -1.0) << depth;
        EXPECT_GT(parts.shell, 0) << depth;
        EXPECT_EQ(inclinedVolume(k, 500), -1.0) << depth;
    }
    // A flat end holds nothing whatever its depth says.
    InclinedTank k = good;
    k.upper = {Shape::None, -5};
    EXPECT_EQ(inclinedParts(k, 500).upperHead, 0.0);
}

} // namespace
