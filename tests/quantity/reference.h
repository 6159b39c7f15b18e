#pragma once
// An independent reckoning of the 20 °C tables for the tests: long double throughout, the
// band chosen by an explicit argument, the equations solved by bisection rather than by
// the fixed-point rounds, the cells rounded on their decimal value. No printed page of the
// tables was at hand to copy figures from, so the tests compare against this.

#include <cmath>

namespace reference {

enum Band { A, B1, B2, B3, B4, D };

inline Band bandOf(char group, long double rho15) {
    if (group == 'A') return A;
    if (group == 'D') return D;
    if (rho15 < 770.5L) return B1;
    if (rho15 < 787.5L) return B2;
    if (rho15 < 838.5L) return B3;
    return B4;
}

inline long double alpha(Band b, long double r) {
    switch (b) {
    case A:
        return 613.9723L / (r * r);
    case D:
        return 0.6278L / r;
    case B1:
        return (346.4228L + 0.4388L * r) / (r * r);
    case B2:
        return -0.00336312L + 2680.3206L / (r * r);
    case B3:
        return 594.5418L / (r * r);
    case B4:
        return (186.9696L + 0.4862L * r) / (r * r);
    }
    return 0;
}

inline long double ctl(Band b, long double r15, long double t) {
    const long double a = alpha(b, r15), dt = t - 15;
    return std::exp(-a * dt * (1 + 0.8L * a * dt));
}

// ρ15 with ρ15 × CTL15(ρ15, t) = n, on the band that contains the answer.
inline long double rho15(char group, long double n, long double t) {
    for (Band b : {A, B1, B2, B3, B4, D}) {
        long double lo = n * 0.8L, hi = n * 1.25L;
        auto f = [&](long double x) { return x * ctl(b, x, t) - n; };
        if (f(lo) * f(hi) > 0) continue;
        for (int i = 0; i < 200; ++i) {
            const long double mid = (lo + hi) / 2;
            (f(lo) * f(mid) <= 0 ? hi : lo) = mid;
        }
        const long double x = (lo + hi) / 2;
        if (bandOf(group, x) == b) return x;
    }
    return NAN;
}

inline long double hydrometer(long double reading, long double t) {
    const long double d = t - 20;
    return reading * (1 - 23e-6L * d - 2e-8L * d * d);
}

inline long double rho20(char group, long double reading, long double t) {
    const long double r15 = rho15(group, hydrometer(reading, t), t);
    return r15 * ctl(bandOf(group, r15), r15, 20);
}

inline long double vcf20(char group, long double r20, long double t) {
    const long double r15 = rho15(group, r20, 20);
    const Band b = bandOf(group, r15);
    return ctl(b, r15, t) / ctl(b, r15, 20);
}

inline long double roundTo(long double x, int decimals) {
    const long double s = std::pow(10.0L, decimals);
    return std::floor(x * s + 0.5L) / s;
}

// "查表": the ρ20 cells of the two columns around the reading on the nearest row,
// interpolated on their decimal values.
inline long double tableRho20(char group, long double reading, long double t) {
    const long double row = std::floor(t * 4 + 0.5L) / 4; // halfway: the higher row
    const long double c = 2 * std::floor(reading / 2);
    const long double left = roundTo(rho20(group, c, row), 1);
    const long double right = roundTo(rho20(group, c + 2, row), 1);
    const long double v = left + (reading - c) / 2 * (right - left);
    return std::floor(v * 10 + 0.5L + 1e-7L) / 10;
}

inline long double tableVcf20(char group, long double r20, long double t) {
    const long double row = std::floor(t * 4 + 0.5L) / 4;
    const long double column = 2 * std::floor(r20 / 2 + 0.5L);
    return roundTo(vcf20(group, column, row), 4);
}

} // namespace reference
