#include "geometry/inclined.h"

#include "geometry/segment.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kelvora::geometry {

namespace {

using LD = long double;

constexpr LD kPi = 3.14159265358979323846264338327950288L;

// Gauss–Legendre nodes and weights on -1..1, found once by Newton's method on the Legendre
// polynomial, so no table of digits can be mistyped.
template <int N> struct GaussLegendre {
    std::array<double, N> x{}, w{};
    GaussLegendre() {
        for (int i = 0; i < N; ++i) {
            LD z = std::cos(kPi * (i + 0.75L) / (N + 0.5L));
            LD dp = 1;
            for (int iter = 0; iter < 100; ++iter) {
                LD p0 = 1, p1 = z;
                for (int k = 2; k <= N; ++k) {
                    const LD p2 = ((2 * k - 1) * z * p1 - (k - 1) * p0) / k;
                    p0 = p1;
                    p1 = p2;
                }
                dp = N * (z * p1 - p0) / (z * z - 1);
                const LD step = p1 / dp;
                z -= step;
                if (std::fabs(step) < 1e-19L) break;
            }
            x[i] = static_cast<double>(z);
            w[i] = static_cast<double>(2 / ((1 - z * z) * dp * dp));
        }
    }
};

// Twenty nodes a piece hold each head within about 1e-12 of its own full volume up to 10°
// of inclination (2e-11 at 60°), against the same split with 96 nodes; sixteen drop to
// 2e-11 and twelve to 6e-10 on deep ellipsoidal heads at 10°.
constexpr int kHeadNodes = 20;
constexpr int kShellNodes = 8;

const GaussLegendre<kHeadNodes>& headRule() {
    static const GaussLegendre<kHeadNodes> rule;
    return rule;
}

const GaussLegendre<kShellNodes>& shellRule() {
    static const GaussLegendre<kShellNodes> rule;
    return rule;
}

// ∫₀^y S(u) du for the circle of diameter d, S the segment area, continued by the full
// disc above the top. From the half chord c and the angle θ = arccos((r − y)/r):
// r²·c − c³/3 − r²·(r − y)·θ.
LD segmentIntegral(LD d, LD y) {
    const LD r = d / 2;
    if (y <= 0) return 0;
    if (y >= d) return kPi * r * r * r + kPi * r * r * (y - d);
    const LD c = std::sqrt(y * (d - y));
    // θ from the nearer end, where the half-angle arcsine keeps its digits.
    const LD theta = y <= r ? 2 * std::asin(std::sqrt(y / d)) : kPi - 2 * std::asin(std::sqrt((d - y) / d));
    return r * r * c - c * c * c / 3 - r * r * (r - y) * theta;
}

// Segment of a circle of radius r below a line u above its centre, in double: the head
// quadrature evaluates it a few dozen times a level.
double segmentBelow(double r, double u) {
    if (u <= -r) return 0;
    const double full = static_cast<double>(kPi) * r * r;
    if (u >= r) return full;
    const double low = r - std::fabs(u);
    const double theta = 2 * std::asin(std::sqrt(low / (2 * r)));
    const double small = r * r * (theta - std::sin(theta) * std::cos(theta));
    return u <= 0 ? small : full - small;
}

// Shell of section diameter A (before the stretch), length Ltot, surface depth y0 at the
// lower end falling by slope t per millimetre along the axis. mm³.
LD shellVolume(LD A, LD Ltot, LD y0, LD t) {
    const LD drop = Ltot * std::fabs(t);
    if (drop > 1e-7L * A) {
        // Along the axis the section is empty, cut, then full (or the reverse when t < 0).
        // The full stretch is measured along the axis, so a tank filled past its top end
        // holds exactly its full volume; only the cut stretch goes through the antiderivative.
        const LD y1 = y0 - Ltot * t;
        const LD lo = std::clamp(std::min(y0, y1), 0.0L, A), hi = std::clamp(std::max(y0, y1), 0.0L, A);
        const LD fullFrom = t > 0 ? (y0 - A) / t : (y1 - A) / -t;
        const LD fullLength = std::clamp(fullFrom, 0.0L, Ltot);
        return kPi * A * A / 4 * fullLength +
               (segmentIntegral(A, hi) - segmentIntegral(A, lo)) / std::fabs(t);
    }
    // The surface barely falls over the length: the difference of the antiderivative would
    // cancel, so average the segment area over the depths directly.
    const auto& g = shellRule();
    const LD mid = y0 - Ltot * t / 2;
    LD sum = 0;
    for (int i = 0; i < kShellNodes; ++i)
        sum += g.w[i] * segmentArea(A, mid + g.x[i] * (drop / 2));
    return sum / 2 * Ltot;
}

// A head as a solid of revolution in the angle φ from its tip: the section at φ is a circle
// of radius ρ·sin φ at the outward distance z = tip − 2c·sin²(φ/2) from the end circle, and
// dz = c·sin φ dφ. The angle removes the square root of r(z) at the tip.
struct HeadProfile {
    double tip = 0; // axial depth
    double c = 0;   // axial semi-axis (ellipsoid) or sphere radius
    double rho = 0; // radial semi-axis (ellipsoid) or sphere radius
    double phiMax = 0;
};

bool headProfile(const InclinedHead& head, double A, HeadProfile& out) {
    const double H = head.depth;
    if (!(std::isfinite(H) && H > 0)) return false;
    if (head.shape == InclinedHead::Shape::Ellipsoidal) {
        out = {H, H, A / 2, static_cast<double>(kPi / 2)};
        return true;
    }
    // A cap taller than half the section would bulge past the shell: not a head.
    if (!(H <= A / 2)) return false;
    const double R = A * A / (8 * H) + H / 2;
    out = {H, R, R, std::atan2(A / 2, R - H)};
    return true;
}

// Liquid in a head whose surface stands u0 above the axis at the end circle and rises by k
// per millimetre outward. mm³ on the unstretched circle.
double headVolume(const HeadProfile& hp, double u0, double k) {
    auto zAt = [&](double phi) {
        const double s = std::sin(phi / 2);
        return hp.tip - 2 * hp.c * s * s;
    };
    auto uAt = [&](double phi) { return u0 + k * zAt(phi); };
    auto rAt = [&](double phi) { return hp.rho * std::sin(phi); };

    // The plane enters or leaves the section circle where u = ±r: with u = M + N·cos φ,
    // N·cos φ ∓ ρ·sin φ = −M, a shifted cosine.
    const double M = u0 + k * (hp.tip - hp.c), N = k * hp.c;
    const double amp = std::hypot(N, hp.rho);
    // Each of the four root families lands at most once in 0..π/2; room for all twelve tries.
    std::array<double, 14> cuts{};
    int n = 0;
    cuts[n++] = 0;
    if (amp > 0 && std::fabs(M) <= amp) {
        const double gamma = std::atan2(hp.rho, N);
        const double a = std::acos(-M / amp);
        const double twoPi = static_cast<double>(2 * kPi);
        for (double shift : {-gamma, gamma})
            for (double root : {a, -a})
                for (double turn : {-twoPi, 0.0, twoPi}) {
                    const double phi = root + shift + turn;
                    if (phi > 0 && phi < hp.phiMax) cuts[n++] = phi;
                }
    }
    cuts[n++] = hp.phiMax;
    std::sort(cuts.begin(), cuts.begin() + n);

    const auto& g = headRule();
    const double fullFactor = static_cast<double>(kPi) * hp.rho * hp.rho * hp.c;
    // ∫ sin³ from 0 as v²·(1 − v/3) with v = 1 − cos φ, free of cancellation near the tip.
    auto sin3 = [](double phi) {
        const double s = std::sin(phi / 2);
        const double v = 2 * s * s;
        return v * v * (1 - v / 3);
    };
    double total = 0;
    for (int i = 0; i + 1 < n; ++i) {
        const double lo = cuts[i], hi = cuts[i + 1];
        if (!(hi > lo)) continue;
        const double mid = (lo + hi) / 2, um = uAt(mid), rm = rAt(mid);
        if (um <= -rm) continue;
        if (um >= rm) {
            total += fullFactor * (sin3(hi) - sin3(lo));
            continue;
        }
        // The segment area has a 3/2-power kink at each end of the piece; the map
        // φ = lo + (hi − lo)·τ²(3 − 2τ) flattens both ends so the rule sees smooth data.
        double sum = 0;
        for (int j = 0; j < kHeadNodes; ++j) {
            const double tau = (g.x[j] + 1) / 2;
            const double phi = lo + (hi - lo) * tau * tau * (3 - 2 * tau);
            const double jac = 6 * tau * (1 - tau);
            const double r = rAt(phi);
            sum += g.w[j] * jac * segmentBelow(r, uAt(phi)) * hp.c * std::sin(phi);
        }
        total += sum * (hi - lo) / 2;
    }
    return total;
}

bool finite(double x) {
    return std::isfinite(x);
}

} // namespace

double correctedLevel(double A, double beta, double h) {
    return static_cast<double>(LD(A) / 2 + (LD(h) - LD(A) / 2) * std::cos(LD(beta) * kPi / 180));
}

InclinedParts inclinedParts(const InclinedTank& tank, double h) {
    const double A = tank.A, B = tank.B, L = tank.Ltot;
    if (!(finite(A) && finite(B) && finite(L) && finite(tank.p) && finite(tank.alpha) && finite(tank.beta) &&
          finite(h) && A > 0 && B > 0 && L >= 0 && std::fabs(tank.alpha) < 90))
        return {-1.0, -1.0, -1.0};

    const LD stretch = LD(B) / A;
    const LD t = std::tan(LD(tank.alpha) * kPi / 180);
    const LD hc = correctedLevel(A, tank.beta, h);
    // Depth above the section's bottom line at the lower end; it falls by t along the axis.
    const LD y0 = hc + LD(tank.p) * t;

    InclinedParts v;
    v.shell = static_cast<double>(stretch * shellVolume(A, L, y0, t) * 1e-9L);

    auto head = [&](const InclinedHead& hd, LD uEnd, LD k) -> double {
        if (hd.shape == InclinedHead::Shape::None) return 0;
        HeadProfile hp;
        if (!headProfile(hd, A, hp)) return -1.0;
        return static_cast<double>(stretch *
                                   headVolume(hp, static_cast<double>(uEnd), static_cast<double>(k)) * 1e-9L);
    };
    // Beyond the lower end the surface stands higher above the axis the farther out; beyond
    // the upper end, lower.
    v.lowerHead = head(tank.lower, y0 - LD(A) / 2, t);
    v.upperHead = head(tank.upper, y0 - L * t - LD(A) / 2, -t);
    if (!(finite(v.shell) && finite(v.lowerHead) && finite(v.upperHead))) return {-1.0, -1.0, -1.0};
    return v;
}

double inclinedVolume(const InclinedTank& tank, double h) {
    const InclinedParts v = inclinedParts(tank, h);
    if (v.shell < 0 || v.lowerHead < 0 || v.upperHead < 0) return -1.0;
    return static_cast<double>(LD(v.shell) + v.lowerHead + v.upperHead);
}

} // namespace kelvora::geometry
