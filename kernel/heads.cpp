#include "kernel/heads.h"

#include "kernel/errors.h"
#include "kernel/fp_guard.h"
#include "kernel/fp_math.h"

#include <cmath>

namespace kelvora::kernel {

namespace {

using LD = long double;

// The part of the cone below a level under half its diameter.
LD coneBelowHalf(LD Lc, LD h, LD D) {
    const LD v = h / D;
    const LD K = D * D * Lc / 12;
    const LD r = std::sqrt(v - v * v);
    const LD c = 1 - 2 * v;
    return K * (arcSin(std::sqrt(4 * h / D - (2 * h / D) * (2 * h / D))) - 4 * c * r +
                c * c * c * std::log((1 + 2 * r) / c)) *
           1e-9L;
}

LD coneVolume(LD Lc, LD h, LD D) {
    if (h == 0) return 0;
    if (0 < h && h < D / 2) return coneBelowHalf(Lc, h, D);
    if (h == D / 2) return kPi * D * D * Lc / 24 * 1e-9L;
    // Above half the diameter; a level below 0 lands here too and fails in the roots.
    const LD v = h / D;
    const LD K = D * D * Lc / 12;
    const LD r = std::sqrt(v - v * v);
    const LD c = 2 * v - 1;
    return K * (kPi - arcSin(std::sqrt(4 * h / D - (2 * h / D) * (2 * h / D))) + 4 * c * r -
                c * c * c * std::log((1 + 2 * r) / c)) *
           1e-9L;
}

} // namespace

double TuoFengTou(double D, double W, double a, double h) {
    return guarded(
        -1.0, [](LD D, LD W, LD a, LD h) { return kPi * W * a / (D * D) * (D * h * h / 2 - h * h * h / 3) * 1e-9L; },
        LD(D), LD(W), LD(a), LD(h));
}

double YuangZhui(double Lc, double h, double D) { return guarded(-1.0, coneVolume, LD(Lc), LD(h), LD(D)); }

double YuangTai(double Lf, double h, double D1, double D2) {
    if (h == 0) return 0;
    double Lc1 = 0, Lc2 = 0;
    {
        FpGuard guard;
        Lc1 = settle(static_cast<double>(LD(settle(Lf)) * D1 / (LD(D1) - D2)));
        Lc2 = settle(static_cast<double>(LD(Lf) * D2 / (LD(D1) - D2)));
        if (FpGuard::failed() || !std::isfinite(Lc1) || !std::isfinite(Lc2)) return -1.0;
    }
    const double rise = (D1 - D2) / 2;
    // Below the tip cone's lowest point only the complete cone holds liquid.
    if (0 < h && h < rise) return guarded(-1.0, coneBelowHalf, LD(Lc1), LD(h), LD(D1));
    double m = h - rise;
    if (!(m < D2)) m = D2;
    // The complete cone minus the cut-off tip; each with its own failure value.
    return YuangZhui(Lc1, h, D1) - YuangZhui(Lc2, m, D2);
}

double QiuQueFengTou(double D, double Hc, double h) {
    double R, w, s, q;
    {
        // Not guarded: a failure here is an arithmetic error for the caller.
        FpGuard guard;
        D = settle(D), Hc = settle(Hc), h = settle(h);
        R = settle(static_cast<double>(LD(D) * D / (8 * LD(Hc)) + LD(Hc) / 2));
        w = settle(static_cast<double>(1 - 2 * LD(h) / D));
        s = settle(static_cast<double>(LD(D) / (2 * LD(R))));
        q = settle(static_cast<double>(std::sqrt(4 * LD(h) / D - (2 * LD(h) / D) * (2 * LD(h) / D))));
        throwIfFailed();
    }
    const double V = guarded(
        -1.0,
        [](LD R, LD w, LD s, LD q, LD Hc) {
            const LD x = Hc / R;
            const LD A = arcCos(w);
            const LD s2 = s * s, s4 = s2 * s2, s6 = s4 * s2;
            const double T1 = static_cast<double>(A * (s2 * (x - 1) - std::pow(1 - x, 3.0L) * 2 / 3 + 2.0L / 3));
            const double T2 = static_cast<double>((s4 / 12 - s2 * x + s6 / 120) * w * q);
            const double T3 = static_cast<double>(w * w * w * q * (s4 / 6 + s6 / 90));
            const double T4 = static_cast<double>(s6 * (1.0L / 45) * q * (w * w * w * w * w));
            return R * R * R * (LD(T1) + T2 + T3 + T4) * 1e-9L;
        },
        LD(R), LD(w), LD(s), LD(q), LD(Hc));
    if (V == -1.0) return V;
    return V < 0 ? 0.00001 : V;
}

double DieFengTou(double D, double h) {
    LD k;
    if (D <= 300) k = 0.3901L;
    else if (D <= 400) k = 0.3974L;
    else if (D <= 700) k = 0.3965L;
    else k = 0.39586L;
    return guarded(
        -1.0,
        [](LD D, LD h, LD k) {
            // The discarded arccos is the range check: it fails for h < 0, h > D, D = 0.
            settle(arcCos((D - 2 * h) / D));
            return k / 2 * h * h * (1.5L * D - h) * 1e-9L;
        },
        LD(D), LD(h), k);
}

double FeiBiaoDieXin(double hs, double H, double Ri, double D) {
    return guarded(
        -1.0,
        [](LD hs, LD H, LD Ri, LD D) {
            const double t = static_cast<double>(H - hs);
            const double r = static_cast<double>(D / 2);
            // Knuckle radius from tangency to the shell and to the crown sphere.
            const double g = static_cast<double>((LD(t) * t - 2 * Ri * t + LD(r) * r) / (D - 2 * Ri));
            const double theta = static_cast<double>(arcSin((Ri - t) / (Ri - g)));
            const LD Q = LD(r) * r / 2 - LD(g) * r + LD(g) * g;
            return kPi * 1e-9L *
                   (t * (Q + LD(t) * t / 6) + g * (Q - LD(t) * t / 2) * std::sin(LD(theta)) +
                    LD(t) * g * (r - LD(g)) * std::cos(LD(theta)) + LD(g) * g * (r - LD(g)) * theta);
        },
        LD(hs), LD(H), LD(Ri), LD(D));
}

double dishedRatio(const HeadDims& head, double D) {
    const double full = FeiBiaoDieXin(head.h, head.H, head.Ri, D);
    const double ellipsoid = TuoFengTou(D, D, head.H - head.h, D);
    FpGuard guard;
    const double ratio = settle(settle(full) / settle(ellipsoid));
    throwIfFailed();
    return ratio;
}

double headVolume(THeadKind kind, const HeadDims& head, double D, double W, double h, double ratio) {
    switch (kind) {
    case THeadKind::hkEllipsoidal: return TuoFengTou(D, W, head.H - head.h, h);
    case THeadKind::hkCone: return YuangZhui(head.H - head.h, h, D);
    case THeadKind::hkFrustum: return YuangTai(head.H - head.h, h, D, head.D2);
    case THeadKind::hkSphericalCap: return QiuQueFengTou(W, head.H, h);
    case THeadKind::hkStandardDished: return DieFengTou(D, h);
    case THeadKind::hkNonStandardDished: return TuoFengTou(D, D, head.H - head.h, h) * ratio;
    case THeadKind::hkHemispherical: return TuoFengTou(D, D, D / 2, h);
    case THeadKind::hkFlat: return 0;
    }
    return 0;
}

} // namespace kelvora::kernel
