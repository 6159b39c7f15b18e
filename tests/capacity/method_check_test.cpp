// The two methods side by side, and the deviation statistics of the check.

#include "capacity/exact_method.h"
#include "capacity/method_check.h"
#include "fixture.h"

#include <gtest/gtest.h>

namespace kelvora::capacity {
namespace {

TEST(DeviationOf, LargestByMagnitudeAndLargestLocalShareAboveOnePercent) {
    // Capacity 1000 L at the top. The largest deviation is the negative one at 400 mm;
    // the largest local share, ignoring the 5 L level (below 1 % of the capacity), is
    // 2 L in 50 L at 100 mm.
    const std::vector<MethodRow> rows{{0, 0, 0},           {10, 0.003, 0.005}, {100, 0.048, 0.050},
                                      {400, 0.405, 0.400}, {900, 0.9005, 0.9}, {1000, 1.0, 1.0}};
    const MethodDeviation m = deviationOf(rows);
    EXPECT_NEAR(m.largest, -5, 1e-9);
    EXPECT_EQ(m.largestLevel, 400);
    EXPECT_NEAR(m.capacity, 1000, 1e-9);
    EXPECT_NEAR(m.shareOfCapacity, -0.005, 1e-12);
    EXPECT_NEAR(m.largestLocalShare, 0.04, 1e-12);
    EXPECT_EQ(m.localLevel, 100);
    // Weighed at 850 kg/m³: kilograms, the shares unchanged.
    const MethodDeviation kg = deviationOf(rows, 850);
    EXPECT_NEAR(kg.largest, -4.25, 1e-9);
    EXPECT_NEAR(kg.capacity, 850, 1e-9);
    EXPECT_NEAR(kg.shareOfCapacity, -0.005, 1e-12);
    EXPECT_NEAR(kg.largestLocalShare, 0.04, 1e-12);
    // Nothing to compare, nothing deviates.
    const MethodDeviation none = deviationOf({});
    EXPECT_EQ(none.largest, 0);
    EXPECT_EQ(none.shareOfCapacity, 0);
}

TEST(CompareMethods, FollowsTheTablesLevelsWhicheverMethodIsChosen) {
    auto in =
        test::circularTank({{"RadioButton18", "1"}, {"Edit27", "268"}, {"Edit8", "7"}, {"Edit13", "40"}});
    for (bool exact : {false, true}) {
        in.setChecked(kExactGeometryInput, exact);
        std::vector<MethodRow> rows;
        ASSERT_FALSE(CompareMethods(in, rows).stopped());
        ASSERT_EQ(rows.size(), 287u);
        EXPECT_EQ(rows.back().level, 2000);
        const MethodDeviation m = deviationOf(rows);
        // The cap's power series is short near the bottom and exact at the top.
        EXPECT_GT(m.largest, 0.1);
        EXPECT_LT(m.largestLevel, 1000);
        EXPECT_NEAR(rows.back().exact, rows.back().formula, 1e-9);
    }
    // A table that cannot be made stops with the table's own message.
    in.setText("Edit8", "0");
    std::vector<MethodRow> rows{{1, 2, 3}};
    EXPECT_EQ(CompareMethods(in, rows).message, messages::kBadStep);
    EXPECT_EQ(rows.size(), 1u);
}

} // namespace
} // namespace kelvora::capacity
