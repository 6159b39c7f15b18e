// The chosen columns beside the rows: the value per millimetre from the unrounded volumes
// with two decimals, checked against the circular segment's area, and U, U/V as the
// uncertainty gives them.
#include "output/table_columns.h"

#include "capacity/memory_inputs.h"
#include "capacity/page_inputs.h"
#include "capacity/requests.h"

#include "assigned_tank.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace kelvora::output {
namespace {

using kelvora::test::Assignments;

// A flat-headed circular tank, D 2000 mm and L 5000 mm, with the given levels.
capacity::MemoryInputs tankWith(const Assignments& values) {
    const Assignments tank{{"RadioButton1", "1"},  {"Edit1", "2000"},      {"Edit2", "5000"},
                           {"RadioButton21", "1"}, {"RadioButton14", "1"}, {"Edit9", "10"},
                           {"Edit13", "0"},        {"Edit31", "0"},        {"Edit32", "0"},
                           {"Edit33", "0"}};
    return kelvora::test::assignedTank({&tank, &values});
}

// Litres at level h (mm) of that tank: L times the circular segment's area.
double litresAt(double h) {
    const double R = 1000, L = 5000;
    const double area = R * R * std::acos((R - h) / R) - (R - h) * std::sqrt(2 * R * h - h * h);
    return area * L * 1e-6;
}

std::string twoDecimals(double x) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", x);
    return text;
}

TEST(TableColumns, PerMillimetreFromTheUnroundedVolumes) {
    struct Case {
        const char *from, *to, *step;
    };
    // Steps at which the rounded rows would give other digits: 0.1 mm, whose rows differ
    // by a few hundredths, and the whole and fractional steps around them.
    const Case cases[] = {
        {"0", "2", "0.1"}, {"995", "1005", "1"}, {"0", "2000", "250"}, {"1990", "2000", "2.5"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        auto in = tankWith({{"Edit6", c.from}, {"Edit7", c.to}, {"Edit8", c.step}, {"PerMillimetre", "1"}});
        capacity::RowList rows;
        ASSERT_FALSE(capacity::GenerateCapacityTable(in, rows).stopped());
        const auto d = capacity::ReadTankDescription(in, capacity::RequestType::Table).description;
        const TableColumns columns = tableColumns(*d, in, rows.size(), std::nullopt);
        ASSERT_EQ(columns.headings, std::vector<std::string>{"每毫米容量"});
        ASSERT_EQ(columns.cells.at(0).size(), rows.size());
        const double from = std::stod(c.from), step = std::stod(c.step);
        for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
            const double x = from + step * static_cast<double>(i), next = std::min(x + step, std::stod(c.to));
            const double reference = (litresAt(next) - litresAt(x)) / (next - x);
            // Two decimals of the reference, but for a reference within a rounding of a half.
            const std::string shown = columns.cells[0][i];
            EXPECT_EQ(shown.size() - shown.find('.'), 3u) << shown;
            EXPECT_NEAR(std::stod(shown), reference, 0.005 + 1e-9) << i;
            if (std::abs(reference * 100 - std::floor(reference * 100) - 0.5) > 1e-6) {
                EXPECT_EQ(shown, twoDecimals(reference)) << i;
            }
        }
        EXPECT_EQ(columns.cells[0].back(), "");
    }
}

TEST(TableColumns, UncertaintyBesideThePerMillimetreColumn) {
    auto in = tankWith({{"Edit6", "0"},
                        {"Edit7", "2000"},
                        {"Edit8", "1000"},
                        {"PerMillimetre", "1"},
                        {"UncertaintySection", "1"},
                        {"UncertaintyLength", "2"}});
    capacity::RowList rows;
    ASSERT_FALSE(capacity::GenerateCapacityTable(in, rows).stopped());
    const auto d = capacity::ReadTankDescription(in, capacity::RequestType::Table).description;
    const auto uncertainty = tableUncertaintyOf(*d, in);
    ASSERT_TRUE(uncertainty.has_value());
    const TableColumns columns = tableColumns(*d, in, rows.size(), uncertainty);
    EXPECT_EQ(columns.headings, (std::vector<std::string>{"每毫米容量", "U (L)", "U/V"}));
    // As the batch tool's --uncertainty prints them: "0,0,0.00,", "100,7853.98,8.49,0.108", ...
    EXPECT_EQ(columns.cells.at(1), (std::vector<std::string>{"0.00", "8.49", "33.84"}));
    EXPECT_EQ(columns.cells.at(2), (std::vector<std::string>{"", "0.108%", "0.215%"}));
    EXPECT_EQ(columns.cells.at(0),
              (std::vector<std::string>{twoDecimals(litresAt(1000) / 1000),
                                        twoDecimals((litresAt(2000) - litresAt(1000)) / 1000), ""}));
    EXPECT_TRUE(tableColumns(*d, tankWith({}), rows.size(), std::nullopt).empty());
}

TEST(TableColumns, PerMillimetreText) {
    const std::pair<std::optional<double>, const char*> cases[] = {{std::nullopt, ""}, {0.0, "0.00"},
                                                                   {-0.001, "0.00"},   {2.468, "2.47"},
                                                                   {15.7051, "15.71"}, {-3.2, "-3.20"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(perMillimetreColumnText(value), text);
}

} // namespace
} // namespace kelvora::output
