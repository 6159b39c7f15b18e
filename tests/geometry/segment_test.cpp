#include "geometry/segment.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using kelvora::geometry::segmentArea;

// Against the chord-length integral ∫ 2·√(y(d−y)) dy, summed by the midpoint rule in fine
// strips, which shares no formula with the segment's closed form.
long double chordIntegral(long double d, long double y) {
    const int n = 200000;
    const long double h = y / n;
    long double sum = 0;
    for (int i = 0; i < n; ++i) {
        const long double t = (i + 0.5L) * h;
        sum += 2 * std::sqrt(t * (d - t));
    }
    return sum * h;
}

TEST(SegmentArea, MatchesTheChordIntegralAndItsEnds) {
    const long double d = 2000, full = 3.14159265358979323846L * 1000 * 1000;
    for (long double y : {0.5L, 10.0L, 300.0L, 999.0L, 1000.0L, 1500.0L, 1999.0L})
        EXPECT_NEAR(static_cast<double>(segmentArea(d, y)), static_cast<double>(chordIntegral(d, y)), 1e-6 * full)
            << "y = " << static_cast<double>(y);
    EXPECT_EQ(segmentArea(d, -5), 0);
    EXPECT_DOUBLE_EQ(static_cast<double>(segmentArea(d, 2500)), static_cast<double>(full));
    EXPECT_DOUBLE_EQ(static_cast<double>(segmentArea(d, 1000)), static_cast<double>(full / 2));
    EXPECT_EQ(segmentArea(0, 1), 0);
}

TEST(SegmentArea, KeepsItsDigitsNearTheBottom) {
    // 4/3·√d·y^{3/2} leads the series of a shallow segment.
    const long double d = 2000, y = 1e-6L;
    const long double lead = 4.0L / 3 * std::sqrt(d) * std::pow(y, 1.5L);
    EXPECT_NEAR(static_cast<double>(segmentArea(d, y) / lead), 1.0, 1e-9);
}

} // namespace
