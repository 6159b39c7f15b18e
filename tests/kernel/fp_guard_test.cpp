#include "kernel/errors.h"
#include "kernel/fp_guard.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace kelvora::kernel {
namespace {

TEST(FiniteOrThrow, InfinityIsAnOverflowAndNanAnInvalidOperation) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case { double x; const char* error; }; // nullptr: the value passes
    const Case cases[] = {
        {std::numeric_limits<double>::max(), nullptr}, {-std::numeric_limits<double>::max(), nullptr},
        {std::numeric_limits<double>::denorm_min(), nullptr}, {-0.0, nullptr},
        {inf, "Floating point overflow"}, {-inf, "Floating point overflow"},
        {nan, "Invalid floating point operation"}, {-nan, "Invalid floating point operation"},
    };
    for (const auto& c : cases) {
        try {
            const double v = finiteOrThrow(c.x);
            EXPECT_EQ(c.error, nullptr) << c.x;
            EXPECT_EQ(v, c.x);
        } catch (const ArithmeticError& e) {
            ASSERT_NE(c.error, nullptr) << c.x;
            EXPECT_EQ(std::string(e.what()), c.error);
            EXPECT_EQ(errorReportText(e.what()), std::string(c.error) + ".");
        }
    }
}

} // namespace
} // namespace kelvora::kernel
