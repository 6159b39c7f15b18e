#include "kernel/shell.h"

#include "quadrature.h"

#include <gtest/gtest.h>

namespace kelvora::kernel {
namespace {

using test::LD;

// Section area below h by integrating the chord width over the height.
double referenceShell(double D, double W, double h, double L) {
    const LD r = D / 2.0L;
    const LD area = test::integrate(
        [&](LD y) {
            const LD u = (y - r) / r;
            return W * std::sqrt(std::fmax(0.0L, 1 - u * u));
        },
        0, h);
    return static_cast<double>(area * L * 1e-9L);
}

TEST(YuangTong, StatedValues) {
    struct Case { double D, W, h, L, expected; };
    const Case cases[] = {
        {2000, 2000, 2000, 5000, 15.70796327},
        {2000, 2000, 500, 5000, 3.0709242},
        {2000, 3000, 700, 5000, 7.3494143},
        {2000, 2000, 0, 5000, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "D=" << c.D << " W=" << c.W << " h=" << c.h);
        EXPECT_NEAR(YuangTong(c.D, c.W, c.h, c.L), c.expected, 1e-7 * std::max(1.0, c.expected));
    }
    // The elliptical section is the circular one stretched by W/D.
    EXPECT_NEAR(YuangTong(2000, 3000, 700, 5000), 1.5 * YuangTong(2000, 2000, 700, 5000), 1e-12);
    EXPECT_NEAR(YuangTong(2000, 2000, 1000, 5000), YuangTong(2000, 2000, 2000, 5000) / 2, 1e-12);
}

TEST(YuangTong, FailuresAreMinusOne) {
    EXPECT_EQ(YuangTong(2000, 2000, -1, 5000), -1.0);
    EXPECT_EQ(YuangTong(2000, 2000, 2001, 5000), -1.0);
    EXPECT_EQ(YuangTong(0, 2000, 0, 5000), -1.0);
    EXPECT_EQ(YuangTong(0, 0, 0, 0), -1.0);
    EXPECT_EQ(YuangTong(1e300, 1e300, 5e299, 1e300), -1.0); // overflow
}

TEST(YuangTong, MatchesIntegratedSectionAtManyLevels) {
    const double shapes[][3] = {{2000, 2000, 5000}, {2600, 3400, 9000}, {1500, 900, 3000}};
    for (const auto& s : shapes)
        for (int i = 0; i <= 40; ++i) {
            const double h = s[0] * i / 40;
            const double ref = referenceShell(s[0], s[1], h, s[2]);
            const double v = YuangTong(s[0], s[1], h, s[2]);
            EXPECT_NEAR(v, ref, 1e-9 * std::max(ref, 1e-3)) << "D=" << s[0] << " h=" << h;
        }
}

TEST(YuangTong, ZeroAtBottomMonotoneFullAtTop) {
    const double D = 2345, W = 2345, L = 6789;
    EXPECT_NEAR(YuangTong(D, W, 0, L), 0.0, 1e-15);
    double previous = -1;
    for (int i = 0; i <= 1000; ++i) {
        const double v = YuangTong(D, W, D * i / 1000, L);
        EXPECT_GE(v, previous);
        previous = v;
    }
    EXPECT_NEAR(previous, static_cast<double>(test::kPi * D * W * L / 4 * 1e-9L), 1e-12);
}

} // namespace
} // namespace kelvora::kernel
