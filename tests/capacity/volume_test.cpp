#include "capacity/volume.h"
#include "kernel/heads.h"
#include "kernel/inclined.h"
#include "kernel/shell.h"

#include <gtest/gtest.h>

namespace kelvora::capacity {
namespace {

using kernel::THeadKind;

TTankDescription circle(double D = 2000, double L = 5000) {
    TTankDescription d;
    d.section = TSectionShape::ssCircle;
    d.D = D;
    d.L = L;
    d.left.kind = THeadKind::hkFlat;
    d.right.kind = THeadKind::hkFlat;
    return d;
}

THeadSpec head(THeadKind kind, double h, double H) {
    THeadSpec s;
    s.kind = kind;
    s.dims.h = h;
    s.dims.H = H;
    return s;
}

TEST(VolumeAtLevel, FlatHeadedShellPlusDeadVolume) {
    auto d = circle();
    d.deadVolume = 120;
    for (double x : {0.0, 500.0, 1999.0, 2000.0})
        EXPECT_DOUBLE_EQ(VolumeAtLevel(d, x), kernel::YuangTong(2000, 2000, x, 5000) + 0.12) << x;
}

TEST(VolumeAtLevel, HeadsAddOrSubtractAndLengthenTheShell) {
    auto d = circle();
    d.left = head(THeadKind::hkEllipsoidal, 40, 540);
    d.right = head(THeadKind::hkCone, 25, 625);
    const double x = 700;
    const double shell = kernel::YuangTong(2000, 2000, x, 5065);
    const double left = kernel::TuoFengTou(2000, 2000, 500, x), right = kernel::YuangZhui(600, x, 2000);
    EXPECT_NEAR(VolumeAtLevel(d, x), left + shell + right, 1e-12);
    d.left.subtract = true;
    EXPECT_NEAR(VolumeAtLevel(d, x), -left + shell + right, 1e-12);
}

TEST(VolumeAtLevel, EllipticalAndInclinedShellsAdmitOnlyThreeHeadKinds) {
    TTankDescription d;
    d.section = TSectionShape::ssEllipse;
    d.A = 1800, d.B = 2600, d.L = 5000;
    d.left = head(THeadKind::hkFrustum, 30, 500); // not admitted: its h still counts
    d.right = head(THeadKind::hkEllipsoidal, 20, 420);
    const double x = 900;
    EXPECT_NEAR(VolumeAtLevel(d, x), kernel::YuangTong(1800, 2600, x, 5050) + kernel::TuoFengTou(1800, 2600, 400, x),
                1e-12);
    d.right = head(THeadKind::hkSphericalCap, 0, 300);
    EXPECT_NEAR(VolumeAtLevel(d, x), kernel::YuangTong(1800, 2600, x, 5030) + kernel::QiuQueFengTou(2600, 300, x),
                1e-12);

    d.kind = TStructureKind::skInclined;
    d.alpha = 1, d.beta = 0, d.F = 1000;
    d.right = head(THeadKind::hkStandardDished, 10, 0);
    const double level = kernel::GaoDuBianHuan(1800, 5040, 4000, 1, 0, x);
    EXPECT_NEAR(VolumeAtLevel(d, x), kernel::YuangTong(1800, 2600, level, 5040), 1e-12);
}

TEST(VolumeAtLevel, NoSectionHoldsOnlyDeadVolumeAndAttachment) {
    TTankDescription d;
    d.deadVolume = 80;
    EXPECT_DOUBLE_EQ(VolumeAtLevel(d, 500), 0.08);
}

TEST(VolumeAtLevel, AttachmentCountsInProportionBelowTheLevel) {
    auto d = circle();
    d.attachmentBottom = 1000, d.attachmentHeight = 200, d.attachmentVolume = 50;
    auto extra = [&](double x) { return VolumeAtLevel(d, x) - kernel::YuangTong(2000, 2000, x, 5000); };
    EXPECT_NEAR(extra(999), 0, 1e-12);
    EXPECT_NEAR(extra(1000), 0, 1e-12);
    EXPECT_NEAR(extra(1100), 0.025, 1e-12);
    EXPECT_NEAR(extra(1200), 0.05, 1e-12);
    EXPECT_NEAR(extra(1900), 0.05, 1e-12);
    d.attachmentHeight = 0;
    EXPECT_NEAR(extra(1900), 0, 1e-12);
    d.attachmentHeight = 200, d.attachmentVolume = 0;
    EXPECT_NEAR(extra(1900), 0, 1e-12);
}

TEST(VolumeAtLevel, SphereAndCalibration) {
    TTankDescription s;
    s.kind = TStructureKind::skSphere;
    s.D = 3000;
    EXPECT_NEAR(VolumeAtLevel(s, 3000), 3.14159265358979 * 27e9 / 6 * 1e-9, 1e-9);
    EXPECT_NEAR(VolumeAtLevel(s, 3000), 2 * kernel::TuoFengTou(3000, 3000, 1500, 3000), 1e-12);

    TTankDescription c;
    c.kind = TStructureKind::skCalibration;
    c.pointCount = 3;
    c.pointLevels = {0, 1000, 2000};
    c.pointVolumes = {0, 500, 1500};
    c.deadVolume = 0;
    EXPECT_DOUBLE_EQ(VolumeAtLevel(c, 1500) * 1000, 1000);
}

TEST(VolumeAtLevel, FailureKeepsThePreviousTotal) {
    TTankDescription c;
    c.kind = TStructureKind::skCalibration;
    c.pointCount = 3;
    c.pointLevels = {0, 0, 1000};
    c.pointVolumes = {0, 10, 20};
    EXPECT_EQ(VolumeAtLevel(c, -5, 0.75), 0.75); // interpolation divides by zero
    EXPECT_EQ(VolumeAtLevel(c, -5), 0.0);

    // A spherical cap on an elliptical shell wider than it is high: its preparation fails
    // once the level passes the width, and the level keeps the previous total.
    TTankDescription e;
    e.section = TSectionShape::ssEllipse;
    e.A = 3000, e.B = 2000, e.L = 1000;
    e.left = head(THeadKind::hkSphericalCap, 0, 300);
    EXPECT_EQ(VolumeAtLevel(e, 2500, 4.5), 4.5);
    EXPECT_GT(VolumeAtLevel(e, 1500, 4.5), 0.0);
}

} // namespace
} // namespace kelvora::capacity
