#include "kernel/calibration.h"
#include "kernel/errors.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvora::kernel {
namespace {

TEST(GetValueLagrange, InterpolatesAndExtrapolates) {
    const std::vector<double> X{0, 1000, 2000}, Y{0, 500, 1500};
    const double cases[][2] = {{500, 250},   {1000, 500}, {1500, 1000}, {2000, 1500},
                               {2500, 2000}, {0, 0},      {-100, -50}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(GetValueLagrange(3, X, Y, c[0]), c[1]) << "t=" << c[0];
    // Only the first n points count.
    EXPECT_DOUBLE_EQ(GetValueLagrange(2, X, Y, 1500), 750);
}

TEST(GetValueLagrange, OnePointIsConstant) {
    const std::vector<double> X{7}, Y{42};
    for (double t : {-1e6, 0.0, 7.0, 1e6}) EXPECT_EQ(GetValueLagrange(1, X, Y, t), 42);
}

TEST(GetValueLagrange, TwoPointsLieOnOneLine) {
    const std::vector<double> X{100, 300}, Y{10, 50};
    for (double t : {-200.0, 100.0, 150.0, 300.0, 900.0}) EXPECT_DOUBLE_EQ(GetValueLagrange(2, X, Y, t), 10 + (t - 100) * 0.2);
}

TEST(GetValueLagrange, EqualLevelsRaiseAnArithmeticError) {
    const std::vector<double> X{0, 0, 1000}, Y{0, 10, 20};
    EXPECT_THROW(GetValueLagrange(3, X, Y, -5), ArithmeticError);
    const std::vector<double> Z{0, 1000, 1000}, W{0, 10, 10};
    EXPECT_THROW(GetValueLagrange(3, Z, W, 1500), ArithmeticError);
    EXPECT_DOUBLE_EQ(GetValueLagrange(3, X, Y, 500), 15); // the interval used is sound
}

} // namespace
} // namespace kelvora::kernel
