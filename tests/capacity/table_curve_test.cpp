#include "capacity/table_curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <string>

namespace kelvora::capacity {
namespace {

int columnOf(double x, double x0, double x1, int columns) {
    const long c = x1 > x0 ? static_cast<long>(std::floor((x - x0) * (columns / (x1 - x0)))) : 0;
    return static_cast<int>(std::clamp<long>(c, 0, columns - 1));
}

// On random series (smooth, noisy, with plateaus and single spikes, few and many points per
// column): every pixel column keeps its lowest and highest value, and its first and last
// point; the reduced series is a subsequence of the original; at most four points a column.
TEST(CurveReduction, KeepsEveryColumnsExtremesOnRandomSeries) {
    std::mt19937_64 random(20261209);
    for (int trial = 0; trial < 300; ++trial) {
        const int columns = std::uniform_int_distribution<int>(1, 300)(random);
        const int n = std::uniform_int_distribution<int>(1, 5000)(random);
        std::vector<CurvePoint> points(n);
        std::uniform_real_distribution<double> unit(0, 1);
        double x = unit(random) * 100 - 50, y = 0;
        const int shape = trial % 3;
        for (auto& p : points) {
            x += unit(random) < 0.1 ? 0 : unit(random) * 3; // equal levels now and then
            y = shape == 0   ? y + unit(random)
                : shape == 1 ? unit(random) * 1000
                             : std::round(unit(random) * 3);
            if (unit(random) < 0.001) y = -1e6; // a spike down
            p = {x, y};
        }
        const double x0 = points.front().x, x1 = points.back().x;
        const auto reduced = reduceCurve(points, columns);

        std::map<int, std::pair<double, double>> want, got;
        std::map<int, std::pair<CurvePoint, CurvePoint>> ends;
        for (const auto& p : points) {
            const int c = columnOf(p.x, x0, x1, columns);
            auto [it, fresh] = want.try_emplace(c, p.y, p.y);
            it->second = {std::min(it->second.first, p.y), std::max(it->second.second, p.y)};
            auto [e, newEnd] = ends.try_emplace(c, p, p);
            e->second.second = p;
        }
        std::size_t at = 0;
        std::map<int, int> perColumn;
        for (const auto& p : reduced) {
            while (at < points.size() && !(points[at] == p))
                ++at; // a subsequence, in order
            ASSERT_LT(at, points.size()) << trial;
            ++at;
            const int c = columnOf(p.x, x0, x1, columns);
            auto [it, fresh] = got.try_emplace(c, p.y, p.y);
            it->second = {std::min(it->second.first, p.y), std::max(it->second.second, p.y)};
            ++perColumn[c];
        }
        ASSERT_EQ(got, want) << "trial " << trial;
        for (const auto& [c, count] : perColumn)
            ASSERT_LE(count, 4) << trial;
        EXPECT_EQ(reduced.front(), points.front());
        EXPECT_EQ(reduced.back(), points.back());
    }
    EXPECT_TRUE(reduceCurve({}, 10).empty());
}

TEST(TableSummary, RangeTopValueAndTheFirstFall) {
    struct Case {
        std::vector<std::string> rows;
        std::size_t count;
        double first, last, top;
        std::optional<double> fall;
    };
    const Case cases[] = {
        {{"0,0.00", "50,1200.50", "100,3000.00"}, 3, 0, 100, 3000, std::nullopt},
        {{"0,0.00", "50,1200.50", "50.5,1200.50", "100,3000.00"}, 4, 0, 100, 3000, std::nullopt}, // equal is
                                                                                                  // no fall
        {{"10,5.00", "20,9.00", "30,8.99", "40,7.00", "50,20.00"}, 5, 10, 50, 20, 30},
        {{"0.1,-1.00", "0.2,1E3"}, 2, 0.1, 0.2, 1000, std::nullopt},
        {{"x", "0,1.00", "1,", "2,3.00"}, 2, 0, 2, 3, std::nullopt}, // rows that do not read are left out
        {{}, 0, 0, 0, 0, std::nullopt},
    };
    for (const auto& c : cases) {
        RowList rows;
        for (const auto& r : c.rows)
            rows.append(r);
        const TableSummary s = summarizeTable(rows, 800);
        EXPECT_EQ(s.rows, c.count);
        EXPECT_EQ(s.firstLevel, c.first);
        EXPECT_EQ(s.lastLevel, c.last);
        EXPECT_EQ(s.topValue, c.top);
        EXPECT_EQ(s.firstFall, c.fall);
        EXPECT_EQ(s.curve.size(), c.count);
    }
}

// Axis steps of 1, 2 or 5 times a power of ten, and labels that print them whole without an
// exponent, for the spans a table's curve and its deviation take.
TEST(AxisLabels, NiceStepsAndTheDecimalsTheirLabelsNeed) {
    struct Case {
        double span;
        int intervals;
        double step;
        int decimals;
    };
    const Case cases[] = {
        {200, 6, 50, 0},    {2000000, 5, 500000, 0}, {0.0000004, 4, 0.0000001, 7},
        {0.3, 3, 0.1, 1},   {13, 6, 5, 0},           {1, 6, 0.2, 1},
        {0.07, 6, 0.02, 2}, {1e9, 4, 5e8, 0},        {0, 6, 1, 0},
        {-5, 6, 1, 0},      {120, 6, 20, 0},         {7.5, 6, 2, 0},
    };
    for (const Case& c : cases) {
        const double step = niceStep(c.span, c.intervals);
        EXPECT_NEAR(step, c.step, c.step * 1e-12) << c.span;
        EXPECT_EQ(labelDecimals(step), c.decimals) << c.span;
        if (c.span > 0) {
            EXPECT_LE(c.span / step, c.intervals * (1 + 1e-9)) << c.span;
        }
    }
    EXPECT_EQ(labelDecimals(0.25), 2);
    EXPECT_EQ(labelDecimals(2.5e-5), 6);
}

} // namespace
} // namespace kelvora::capacity
