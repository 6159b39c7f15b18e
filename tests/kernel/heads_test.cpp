#include "kernel/errors.h"
#include "kernel/heads.h"

#include "quadrature.h"

#include <gtest/gtest.h>

namespace kelvora::kernel {
namespace {

using test::LD;

double m3(LD mm3) { return static_cast<double>(mm3 * 1e-9L); }

// Reference profiles of the heads as solids of revolution about the shell's axis.
double refEllipsoid(double D, double W, double a, double h) {
    return m3(test::volumeOfRevolution(
        [=](LD z) { return D / 2.0L * std::sqrt(std::fmax(0.0L, 1 - (z / a) * (z / a))); }, a, D, h, W / D));
}
double refCone(double Lc, double h, double D) {
    return m3(test::volumeOfRevolution([=](LD z) { return D / 2.0L * (1 - z / Lc); }, Lc, D, h));
}
double refFrustum(double Lf, double h, double D1, double D2) {
    return m3(test::volumeOfRevolution([=](LD z) { return D1 / 2.0L - (D1 - D2) / 2.0L * z / Lf; }, Lf, D1, h));
}

// Full torispherical head of depth t: a knuckle of radius g tangent to the shell, then
// the crown sphere of radius Ri, integrated as π∫ρ² along the axis.
double refTorispherical(double t, double Ri, double D) {
    const LD r = D / 2.0L;
    const LD g = (LD(t) * t - 2 * LD(Ri) * t + r * r) / (2 * (r - Ri));
    const LD zc = t - LD(Ri);                  // centre of the crown sphere
    const LD zt = zc - LD(Ri) * zc / (Ri - g); // where the knuckle meets the crown
    auto knuckle = [&](LD z) { const LD p = r - g + std::sqrt(g * g - z * z); return test::kPi * p * p; };
    auto crown = [&](LD z) { return test::kPi * (LD(Ri) * Ri - (z - zc) * (z - zc)); };
    return m3(test::integrate(knuckle, 0, zt) + test::integrate(crown, zt, t));
}

void expectClose(double v, double ref, const char* what, double h) {
    EXPECT_NEAR(v, ref, 1e-9 * std::max(std::fabs(ref), 1e-4)) << what << " at h=" << h;
}

TEST(Heads, StatedValues) {
    EXPECT_NEAR(TuoFengTou(2000, 2400, 500, 1000), 0.6283185, 1e-7);
    EXPECT_NEAR(TuoFengTou(2000, 2400, 500, 2000), 1.2566370, 1e-7);
    EXPECT_NEAR(YuangZhui(800, 1000, 2000), 0.4188790, 1e-7);
    EXPECT_NEAR(YuangZhui(800, 2000, 2000), 0.8377580, 1e-7);
    EXPECT_NEAR(YuangZhui(800, 500, 2000), 0.0922111, 1e-7);
    EXPECT_NEAR(YuangTai(800, 300, 2000, 1200), 0.0685237, 1e-7);
    EXPECT_NEAR(YuangTai(800, 1500, 2000, 1200), 1.4150151, 1e-7);
    EXPECT_NEAR(YuangTai(800, 2000, 2000, 1200), 1.6420057, 1e-7);
    EXPECT_NEAR(QiuQueFengTou(2000, 300, 2000), 0.4853760, 1e-7);
    EXPECT_NEAR(QiuQueFengTou(2000, 300, 100), 0.0012296, 1e-7);
    EXPECT_NEAR(DieFengTou(2000, 2000), 0.79172, 1e-12);
    // Crown radius D, knuckle 0.1·D: depth D − √(1.8² − 0.8²)·D.
    EXPECT_NEAR(FeiBiaoDieXin(0, 387.5484503402902, 2000, 2000), 0.7917279, 1e-7);
    EXPECT_NEAR(TuoFengTou(2000, 2000, 1000, 2000), static_cast<double>(test::kPi * 8e9L / 12 * 1e-9L), 1e-12);
}

TEST(Heads, StandardDishedConstantByDiameter) {
    struct Case { double D, k; };
    const Case cases[] = {{300, 0.3901}, {300.5, 0.3974}, {400, 0.3974}, {700, 0.3965}, {701, 0.39586}};
    for (const auto& c : cases)
        EXPECT_NEAR(DieFengTou(c.D, c.D), c.k * c.D * c.D * c.D / 4 * 1e-9, 1e-15) << "D=" << c.D;
}

TEST(Heads, ZeroAtTheBottom) {
    EXPECT_EQ(TuoFengTou(2000, 2000, 500, 0), 0.0);
    EXPECT_EQ(YuangZhui(800, 0, 2000), 0.0);
    EXPECT_EQ(YuangTai(800, 0, 2000, 1200), 0.0);
    EXPECT_EQ(YuangTai(800, 0, 2000, 2000), 0.0); // tested before the lengths are formed
    EXPECT_EQ(DieFengTou(2000, 0), 0.0);
    EXPECT_NEAR(QiuQueFengTou(2000, 300, 0), 0.0, 1e-12);
}

TEST(Heads, FailuresAreMinusOne) {
    EXPECT_EQ(YuangZhui(800, -1, 2000), -1.0);
    EXPECT_EQ(YuangZhui(800, 2001, 2000), -1.0);
    EXPECT_EQ(YuangTai(800, 300, 1200, 1200), -1.0);
    EXPECT_EQ(YuangTai(800, 1500, 1200, 1200), -1.0);
    EXPECT_EQ(TuoFengTou(0, 2000, 500, 10), -1.0);
    EXPECT_EQ(TuoFengTou(0, 0, 0, 0), -1.0);
    // The discarded arccos still checks the range.
    EXPECT_EQ(DieFengTou(2000, 2001), -1.0);
    EXPECT_EQ(DieFengTou(2000, -1), -1.0);
    EXPECT_EQ(DieFengTou(0, 0), -1.0);
    EXPECT_EQ(DieFengTou(0, 5), -1.0);
    EXPECT_EQ(FeiBiaoDieXin(0, 387.548, 1000, 2000), -1.0); // Ri = D/2
    EXPECT_EQ(FeiBiaoDieXin(0, 0, 1000, 2000), -1.0);
}

TEST(Heads, SphericalCapPreparationFailureIsThrown) {
    EXPECT_THROW(QiuQueFengTou(2000, 0, 100), ArithmeticError);
    EXPECT_THROW(QiuQueFengTou(0, 300, 100), ArithmeticError);
    EXPECT_THROW(QiuQueFengTou(2000, 300, -1), ArithmeticError);
    EXPECT_THROW(QiuQueFengTou(2000, 300, 2001), ArithmeticError);
    EXPECT_NO_THROW(QiuQueFengTou(2000, 300, 2000));
}

TEST(Heads, SphericalCapSeriesIsExactAtHalfAndFull) {
    for (double Hc : {100.0, 300.0, 700.0, 1000.0}) {
        const LD D = 2000, R = D * D / (8 * Hc) + Hc / 2.0L;
        const double full = m3(test::kPi * Hc * Hc * (3 * R - Hc) / 3);
        EXPECT_NEAR(QiuQueFengTou(2000, Hc, 2000), full, 1e-9 * full) << "Hc=" << Hc;
        EXPECT_NEAR(QiuQueFengTou(2000, Hc, 1000), full / 2, 1e-9 * full) << "Hc=" << Hc;
    }
}

TEST(Heads, ClosedFormsMatchIntegratedGeometry) {
    for (int i = 0; i <= 32; ++i) {
        const double f = i / 32.0;
        expectClose(TuoFengTou(2000, 2000, 500, 2000 * f), refEllipsoid(2000, 2000, 500, 2000 * f), "ellipsoid", f);
        expectClose(TuoFengTou(1800, 2600, 420, 1800 * f), refEllipsoid(1800, 2600, 420, 1800 * f), "elliptic", f);
        expectClose(TuoFengTou(2000, 2000, 1000, 2000 * f), refEllipsoid(2000, 2000, 1000, 2000 * f), "hemisphere",
                    f);
        expectClose(YuangZhui(800, 2000 * f, 2000), refCone(800, 2000 * f, 2000), "cone", f);
        expectClose(YuangZhui(1500, 2400 * f, 2400), refCone(1500, 2400 * f, 2400), "cone", f);
        expectClose(YuangTai(800, 2000 * f, 2000, 1200), refFrustum(800, 2000 * f, 2000, 1200), "frustum", f);
        expectClose(YuangTai(500, 2600 * f, 2600, 600), refFrustum(500, 2600 * f, 2600, 600), "frustum", f);
    }
}

TEST(Heads, TorisphericalFullVolumeMatchesIntegratedProfile) {
    struct Case { double t, Ri, D; };
    const Case cases[] = {{387.548, 2000, 2000}, {500, 2000, 2000}, {600, 1800, 2400}, {250, 3000, 1600}};
    for (const auto& c : cases) {
        const double ref = refTorispherical(c.t, c.Ri, c.D);
        EXPECT_NEAR(FeiBiaoDieXin(100, 100 + c.t, c.Ri, c.D), ref, 1e-9 * ref) << "t=" << c.t;
    }
}

TEST(Heads, VolumeByKind) {
    const HeadDims d{.h = 40, .H = 540, .D2 = 1200, .Ri = 2000};
    const double D = 2000;
    EXPECT_EQ(headVolume(THeadKind::hkEllipsoidal, d, D, 2400, 700, 1), TuoFengTou(D, 2400, 500, 700));
    EXPECT_EQ(headVolume(THeadKind::hkCone, d, D, D, 700, 1), YuangZhui(500, 700, D));
    EXPECT_EQ(headVolume(THeadKind::hkFrustum, d, D, D, 700, 1), YuangTai(500, 700, D, 1200));
    EXPECT_EQ(headVolume(THeadKind::hkSphericalCap, d, D, 2400, 700, 1), QiuQueFengTou(2400, 540, 700));
    EXPECT_EQ(headVolume(THeadKind::hkStandardDished, d, D, D, 700, 1), DieFengTou(D, 700));
    EXPECT_EQ(headVolume(THeadKind::hkNonStandardDished, d, D, D, 700, 0.5), TuoFengTou(D, D, 500, 700) * 0.5);
    EXPECT_EQ(headVolume(THeadKind::hkHemispherical, d, D, D, 700, 1), TuoFengTou(D, D, 1000, 700));
    EXPECT_EQ(headVolume(THeadKind::hkFlat, d, D, D, 700, 1), 0.0);
}

TEST(Heads, DishedRatioScalesTheEllipsoidToTheTorisphericalVolume) {
    const HeadDims d{.h = 25, .H = 25 + 387.548, .D2 = 0, .Ri = 2000};
    const double ratio = dishedRatio(d, 2000);
    EXPECT_NEAR(TuoFengTou(2000, 2000, 387.548, 2000) * ratio, FeiBiaoDieXin(25, 412.548, 2000, 2000), 1e-12);
    EXPECT_THROW(dishedRatio(HeadDims{.h = 300, .H = 300, .D2 = 0, .Ri = 2000}, 2000), ArithmeticError);
    EXPECT_NO_THROW(dishedRatio(HeadDims{.h = 300, .H = 300, .D2 = 0, .Ri = 2000}, 0));
}

} // namespace
} // namespace kelvora::kernel
