// The value with fixed decimals and the per-millimetre column, from the rows' own texts.

#include "capacity/row_columns.h"

#include <gtest/gtest.h>

namespace kelvora::capacity {
namespace {

TEST(RowColumns, FixedDecimalsAndPerMillimetre) {
    const std::pair<const char*, const char*> fixed[] = {
        {"6698.5", "6698.50"}, {"10081", "10081.00"}, {"0", "0.00"}, {"2.67", "2.67"}, {"1E15", "1000000000000000.00"},
        {"-12.3", "-12.30"},   {"abc", "abc"}};
    for (auto [text, expected] : fixed) EXPECT_EQ(fixedDecimals(text), expected) << text;

    RowList rows;
    for (const char* row : {"0,0", "0.5,12.34", "1,30", "1,30", "2.5,100.5"}) rows.append(row);
    EXPECT_EQ(perMillimetreText(perMillimetre(rows, 0)), "2.468"); // 12.34 L over 5 mm
    EXPECT_EQ(perMillimetreText(perMillimetre(rows, 1)), "3.532");
    EXPECT_EQ(perMillimetreText(perMillimetre(rows, 2)), "");      // equal levels
    EXPECT_EQ(perMillimetreText(perMillimetre(rows, 3)), "4.700"); // 70.5 L over 15 mm
    EXPECT_EQ(perMillimetreText(perMillimetre(rows, 4)), "");      // the last row
}

} // namespace
} // namespace kelvora::capacity
