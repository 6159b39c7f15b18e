#include "geometry/heads.h"

#include "geometry/gauss_legendre.h"
#include "geometry/segment.h"

#include <algorithm>
#include <cmath>

namespace kelvora::geometry {

namespace {

using LD = long double;
constexpr double kPi = 3.14159265358979323846;
constexpr LD kPiL = 3.14159265358979323846264338327950288L;
constexpr double kFailed = -1.0;

bool finite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// A level on a section of height D: 0..D, anything else (NaN included) is no level.
bool onSection(double D, double h) {
    return h >= 0 && h <= D;
}

// mm³ to m³. The dimensions are checked before any volume is formed, so a value that is
// not finite can only be an overflow; a negative one is rounding at an empty level.
double cubicMetres(LD mm3) {
    const double V = static_cast<double>(mm3 * 1e-9L);
    if (!std::isfinite(V)) return kFailed;
    return V > 0 ? V : 0.0;
}

// A torispherical profile: a crown sphere of radius Rc centred on the axis, joined to the
// shell by a knuckle torus of radius g that is tangent to both; depth t. The spherical cap
// is the profile without a knuckle (g = 0, the crown meets the shell at its rim).
//
// The liquid below level y (measured from the axis) is ∫₀^r d(ρ)·ℓ(ρ, y) dρ, d the axial
// depth at radius ρ and ℓ the length of the circle of radius ρ below the liquid. The
// integrand has a square-root kink where the circle just touches the surface (ρ = |y|),
// the depth has one at the rim, and the curvature jumps at the knuckle–crown junction.
// Each piece is integrated in a variable that makes it smooth: the crown by its polar
// angle, the knuckle by its own, and the stretch just beyond ρ = |y| by ρ = |y|·cosh v,
// in which arcsin(|y|/ρ) = 2·atan(e^(−v)) has no singularity near the real axis.
class Dish {
public:
    Dish(double r, double Rc, double t, double g) : r_(r), Rc_(Rc), t_(t), g_(g) {
        rhoJ_ = g > 0 ? (r - g) * Rc / (Rc - g) : r;
    }

    // Volume in mm³ below the level y above the axis, -r ≤ y ≤ r.
    double below(double y) const {
        const double a = std::fabs(y);
        // Closer to the axis than this, the level changes the volume by less than the
        // rule's own error; treat it as the axis, where ℓ = πρ is smooth.
        if (a <= 1e-12 * r_) return plain(0, r_, [](double rho) { return kPi * rho; });
        if (a >= r_) return y > 0 ? full() : 0.0;
        // The head is symmetric about the axis: above it, the full head less the empty
        // part, which keeps the digits of the small empty volume near the top.
        if (y > 0) return full() - below(-y);
        // Inside ρ < |y| the circle is dry; beyond it, ℓ = ρ·(π − 2·arcsin(a/ρ)).
        const double m = a + (r_ - a) / 2;
        return beyondTouch(a, m) +
               plain(m, r_, [a](double rho) { return rho * (kPi - 2 * std::asin(a / rho)); });
    }

    double full() const {
        return plain(0, r_, [](double rho) { return 2 * kPi * rho; });
    }

private:
    static const GaussLegendre<12>& rule() {
        static const GaussLegendre<12> gl;
        return gl;
    }

    double depth(double rho) const {
        if (rho <= rhoJ_) return t_ - rho * rho / (Rc_ + std::sqrt((Rc_ - rho) * (Rc_ + rho)));
        const double u = rho - (r_ - g_);
        return std::sqrt(std::max(0.0, (g_ - u) * (g_ + u)));
    }

    // ∫ d(ρ)·ell(ρ) dρ over [lo, hi], ell smooth there.
    template <typename Ell> double plain(double lo, double hi, Ell ell) const {
        double sum = 0;
        if (lo < rhoJ_) {
            const double top = std::min(hi, rhoJ_);
            // Crown: ρ = Rc·sin ψ, depth t − 2·Rc·sin²(ψ/2).
            sum += rule()(
                [&](double psi) {
                    const double s = std::sin(psi / 2);
                    const double rho = Rc_ * std::sin(psi);
                    return (t_ - 2 * Rc_ * s * s) * ell(rho) * Rc_ * std::cos(psi);
                },
                std::asin(lo / Rc_), std::asin(std::min(1.0, top / Rc_)));
        }
        if (hi > rhoJ_ && g_ > 0) {
            const double bottom = std::max(lo, rhoJ_);
            // Knuckle: ρ = (r − g) + g·cos φ, depth g·sin φ.
            auto angle = [&](double rho) { return std::acos(std::clamp((rho - (r_ - g_)) / g_, -1.0, 1.0)); };
            sum += rule()(
                [&](double phi) {
                    const double s = std::sin(phi);
                    return g_ * s * ell(r_ - g_ + g_ * std::cos(phi)) * g_ * s;
                },
                angle(hi), angle(bottom));
        }
        return sum;
    }

    // ∫ d(ρ)·ℓ(ρ, −a) dρ over [a, m] with ρ = a·cosh v, split at the junction and into
    // pieces short against the distance π/2 of ℓ's singularities from the real v axis.
    double beyondTouch(double a, double m) const {
        auto piece = [&](double v0, double v1) {
            const int n = std::max(1, static_cast<int>(std::ceil((v1 - v0) / 1.25)));
            const double step = (v1 - v0) / n;
            double sum = 0;
            for (int i = 0; i < n; ++i)
                sum += rule()(
                    [&](double v) {
                        const double e = std::exp(v), c = (e + 1 / e) / 2, s = (e - 1 / e) / 2;
                        const double rho = a * c;
                        const double ell = rho * (kPi - 4 * std::atan(1 / e));
                        return depth(rho) * ell * a * s;
                    },
                    v0 + i * step, i + 1 == n ? v1 : v0 + (i + 1) * step);
            return sum;
        };
        const double vm = std::acosh(m / a);
        if (a < rhoJ_ && rhoJ_ < m) {
            const double vj = std::acosh(rhoJ_ / a);
            return piece(0, vj) + piece(vj, vm);
        }
        return piece(0, vm);
    }

    double r_, Rc_, t_, g_, rhoJ_;
};

// Volume of a torispherical or shallow-cap profile on diameter D at level h, stretched.
double dishVolume(const Dish& dish, double D, double stretch, double h) {
    const double r = D / 2;
    LD V;
    if (h <= 0)
        V = 0;
    else if (h >= D)
        V = dish.full();
    else
        V = dish.below(h - r);
    return cubicMetres(V * stretch);
}

// Crown radius, knuckle radius and depth of a torispherical head that exist as a solid:
// the crown wider than the shell, the knuckle between 0 and the shell's radius, the
// crown's centre on the shell's side of the end plane.
bool torisphericalExists(double r, double Ri, double g, double t) {
    return t > 0 && Ri > r && g > 0 && g <= r && t <= Ri;
}

// The cap closed form: the liquid in a sphere of radius R beyond the plane at distance c
// from its centre (the cap's base, of radius b) and below the level y above the axis.
// Slicing the region by levels gives circle segments; their integral is
//   V(y) = P(y) + P(b),
//   P(y) = (R²y − y³/3)·atan2(s, c) − (c/3)(b² + 2R²)·atan2(y, s) − (2c/3)·y·s
//          + (2R³/3)·atan2(y·c, R·s),   s = √(b² − y²),
// with P(b) = (π/2)·(2R³/3 − (c/3)(b² + 2R²)), half the cap.
LD capClosedForm(LD R, LD c, LD b, LD y) {
    const LD half = kPiL / 2 * (2 * R * R * R / 3 - c / 3 * (b * b + 2 * R * R));
    if (y <= -b) return 0;
    if (y >= b) return 2 * half;
    const LD s = std::sqrt((b - y) * (b + y));
    const LD P = (R * R * y - y * y * y / 3) * std::atan2(s, c) -
                 c / 3 * (b * b + 2 * R * R) * std::atan2(y, s) - 2 * c / 3 * y * s +
                 2 * R * R * R / 3 * std::atan2(y * c, R * s);
    return P + half;
}

} // namespace

double exactShell(double A, double B, double h, double L) {
    if (!finite({A, B, h, L}) || !(A > 0) || !(B > 0) || !(L >= 0) || !onSection(A, h)) return kFailed;
    return cubicMetres(segmentArea(A, h) * L * B / A);
}

double exactEllipsoidal(double D, double W, double a, double h) {
    if (!finite({D, W, a, h}) || !(D > 0) || !(W > 0) || !(a > 0) || !onSection(D, h)) return kFailed;
    const LD x = h;
    return cubicMetres(kPiL * W * a * x * x * (3 * LD(D) - 2 * x) / (6 * LD(D) * D));
}

double exactHemispherical(double D, double h) {
    return exactEllipsoidal(D, D, D / 2, h);
}

// The kernel's cone and frustum are exact closed forms, evaluated in extended precision
// under its failure guard; they are used as they are, behind the checks that the formula
// method leaves out.
double exactCone(double Lc, double h, double D) {
    if (!finite({Lc, h, D}) || !(D > 0) || !(Lc > 0) || !onSection(D, h)) return kFailed;
    const double V = kernel::YuangZhui(Lc, h, D);
    return V >= 0 ? V : kFailed;
}

double exactFrustum(double Lf, double h, double D1, double D2) {
    if (!finite({Lf, h, D1, D2}) || !(D1 > 0) || !(Lf > 0) || !(D2 >= 0 && D2 < D1) || !onSection(D1, h))
        return kFailed;
    const double V = kernel::YuangTai(Lf, h, D1, D2);
    return V >= 0 ? V : kFailed;
}

double exactSphericalCap(double D, double W, double Hc, double h) {
    if (!finite({D, W, Hc, h}) || !(D > 0) || !(W > 0) || !(Hc > 0 && Hc <= D / 2) || !onSection(D, h))
        return kFailed;
    const LD b = LD(D) / 2, R = b * b / (2 * LD(Hc)) + LD(Hc) / 2;
    const double stretch = W / D;
    // The closed form is a difference of terms of the order R³: for a shallow cap, whose
    // volume is of the order Hc·D², and for the small volumes near either end it keeps too
    // few digits, and the quadrature, exact relative to the volume it finds, takes over.
    if (Hc < 0.01 * D || h < 0.02 * D || h > 0.98 * D) {
        const Dish cap(static_cast<double>(b), static_cast<double>(R), Hc, 0);
        return dishVolume(cap, D, stretch, h);
    }
    return cubicMetres(capClosedForm(R, R - Hc, b, LD(h) - b) * stretch);
}

double exactStandardDished(double D, double h) {
    if (!finite({D, h}) || !(D > 0) || !onSection(D, h)) return kFailed;
    const double r = D / 2, Rc = D, g = 0.1 * D;
    const double t = Rc - std::sqrt((Rc - g) * (Rc - g) - (r - g) * (r - g));
    return dishVolume(Dish(r, Rc, t, g), D, 1, h);
}

double exactNonStandardDished(double hs, double H, double Ri, double D, double h) {
    if (!finite({hs, H, Ri, D, h}) || !(D > 0) || !onSection(D, h)) return kFailed;
    const double r = D / 2, t = H - hs;
    const double g = (t * t - 2 * Ri * t + r * r) / (D - 2 * Ri);
    if (!torisphericalExists(r, Ri, g, t)) return kFailed;
    return dishVolume(Dish(r, Ri, t, g), D, 1, h);
}

double exactSphere(double D, double h) {
    const double half = exactHemispherical(D, h);
    return half < 0 ? kFailed : 2 * half;
}

double exactHeadVolume(THeadKind kind, const HeadDims& head, double D, double W, double h) {
    const bool circle = W == D;
    switch (kind) {
    case THeadKind::hkEllipsoidal:
        return exactEllipsoidal(D, W, head.H - head.h, h);
    case THeadKind::hkSphericalCap:
        return exactSphericalCap(D, W, head.H, h);
    case THeadKind::hkCone:
        return circle ? exactCone(head.H - head.h, h, D) : 0;
    case THeadKind::hkFrustum:
        return circle ? exactFrustum(head.H - head.h, h, D, head.D2) : 0;
    case THeadKind::hkStandardDished:
        return circle ? exactStandardDished(D, h) : 0;
    case THeadKind::hkNonStandardDished:
        return circle ? exactNonStandardDished(head.h, head.H, head.Ri, D, h) : 0;
    case THeadKind::hkHemispherical:
        return circle ? exactHemispherical(D, h) : 0;
    case THeadKind::hkFlat:
        return 0;
    }
    return 0;
}

} // namespace kelvora::geometry
