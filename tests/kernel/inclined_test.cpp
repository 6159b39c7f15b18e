#include "kernel/inclined.h"

#include <gtest/gtest.h>

namespace kelvora::kernel {
namespace {

TEST(GaoDuBianHuan, StatedValues) {
    struct Case { double A, L, p, alpha, beta, h, expected; };
    const Case cases[] = {
        {2000, 6000, 3000, 1, 0, 1000, 1000},          // gauge at mid-length
        {2000, 6000, 1000, 1, 0, 1000, 965.08987},     // surface meets neither end
        {2000, 6000, 3000, 1, 0, 10, 18.568715},       // upper end dry
        {2000, 6000, 3000, 1, 0, 1990, 1981.431284},   // lower end full
        {2000, 6000, 3000, 1, 60, 1500, 1250},         // tilted gauge
        {2000, 6000, 3000, 0, 0, 0, 0},
        {2000, 6000, 1234, 0, 0, 1999.5, 1999.5},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(GaoDuBianHuan(c.A, c.L, c.p, c.alpha, c.beta, c.h), c.expected, 1e-5)
            << "p=" << c.p << " alpha=" << c.alpha << " beta=" << c.beta << " h=" << c.h;
}

TEST(GaoDuBianHuan, FailuresAreZero) {
    EXPECT_EQ(GaoDuBianHuan(2000, 6000, 3000, 0, 0, 2000), 0.0); // needs cot of 0
    EXPECT_EQ(GaoDuBianHuan(2000, 0, 0, 1, 0, 2000), 0.0);       // zero length
    EXPECT_EQ(GaoDuBianHuan(2000, 0, -100, 1, 0, 1), 0.0);
    // Mid-length needs neither the cotangent nor the length.
    EXPECT_NEAR(GaoDuBianHuan(2000, 0, 0, 0, 0, 1000), 1000, 1e-12);
}

} // namespace
} // namespace kelvora::kernel
