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

TEST(GetValueLagrange, RoundsOnlyTheResultToADouble) {
    // The double nearest the exact value of the line through the stored points: an
    // evaluation in double misses each of these by one unit in the last place.
    struct Case { double x0, y0, x1, y1, t, exact; };
    const Case cases[] = {
        {340, 1286.8, 440, 1946.2, 432.5, 1896.7450000000001}, // 1896.75 L, not 1896.74
        {2235.1, 1821.4, 2534.6, 4100.7, 2371.6, 2860.21285475793},
        {2016.6, 32293.7, 2487.4, 36175.2, 2475.8, 36079.564061172474},
        {935.2, 38620.2, 988.1, 45996.9, 951.8, 40935.00567107749},
        {82.4, 6505.9, 117.2, 9726.7, 112.3, 9273.196551724139},
        // Beyond the points: below the first and above the last.
        {788.2, 20947.3, 800.2, 24276.9, 674.5, -10600.660000000034},
        {1451.5, 5109.4, 1503.6, 8199.7, 1397.8, 1924.196353166977},
        {83.8, 12958.7, 230.7, 19194.5, 422.0, 27315.048264125257},
        {778.1, 6553.7, 993.4, 14744.8, 1064.8, 17461.21681374826},
    };
    for (const auto& c : cases) {
        const std::vector<double> X{c.x0, c.x1}, Y{c.y0, c.y1};
        EXPECT_EQ(GetValueLagrange(2, X, Y, c.t), c.exact) << "t=" << c.t;
    }
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
