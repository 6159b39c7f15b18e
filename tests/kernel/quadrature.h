#pragma once
// Independent reference volumes: the geometry integrated numerically, slice by slice
// along the tank axis, with double-exponential (tanh-sinh) quadrature, which copes with
// the square-root behaviour where the liquid surface touches a slice's rim.

#include <cmath>
#include <functional>

namespace kelvora::test {

using LD = long double;
inline constexpr LD kPi = 3.14159265358979323846264338327950288L;

// ∫ f over [a, b].
inline LD integrate(const std::function<LD(LD)>& f, LD a, LD b) {
    if (!(b > a)) return 0;
    const LD half = (b - a) / 2, mid = (a + b) / 2;
    const LD h = 1.0L / 64;
    LD sum = 0;
    for (int k = -64 * 6; k <= 64 * 6; ++k) {
        const LD t = k * h;
        const LD u = kPi / 2 * std::sinh(t);
        const LD x = std::tanh(u);
        const LD w = kPi / 2 * std::cosh(t) / (std::cosh(u) * std::cosh(u));
        if (w < 1e-30L) continue;
        const LD z = mid + half * x;
        if (z <= a || z >= b) continue;
        sum += w * f(z);
    }
    return sum * h * half;
}

// Area of a disc of radius rho below the line at height y above its centre.
inline LD discBelow(LD rho, LD y) {
    if (rho <= 0 || y <= -rho) return 0;
    if (y >= rho) return kPi * rho * rho;
    return rho * rho * std::acos(-y / rho) + y * std::sqrt(rho * rho - y * y);
}

// Liquid volume (mm³) at level h in a solid of revolution around the shell's axis with
// radius profile rho(z), z in [0, len], rho decreasing; the section is stretched
// horizontally by `stretch` (W/D for an elliptical shell). D is the shell's height.
inline LD volumeOfRevolution(const std::function<LD(LD)>& rho, LD len, LD D, LD h, LD stretch = 1) {
    const LD y = h - D / 2;
    const LD edge = std::fabs(y);
    // Split where the slice's rim meets the surface, so each piece is smooth inside.
    LD lo = 0, hi = len;
    if (rho(0) <= edge) hi = 0;
    else if (rho(len) >= edge) lo = len;
    else
        for (int i = 0; i < 200; ++i) {
            const LD m = (lo + hi) / 2;
            (rho(m) > edge ? lo : hi) = m;
        }
    const LD split = (lo + hi) / 2;
    auto slice = [&](LD z) { return discBelow(rho(z), y) * stretch; };
    return integrate(slice, 0, split) + integrate(slice, split, len);
}

} // namespace kelvora::test
