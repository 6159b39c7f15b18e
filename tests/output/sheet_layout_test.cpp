#include "output/sheet_layout.h"

#include "expected_sheet.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>

namespace kelvora::output {
namespace {

using test::ExpectedSheet;
using test::rowList;

struct Probe {
    std::uint64_t row, column;
    const char* text;
    bool number;
};

struct LayoutCase {
    const char* name;
    std::vector<std::string> entries;
    const char* edit9;
    bool weight;
    std::int32_t n;
    std::uint64_t groups, lastRow;
    std::vector<Probe> probes;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<std::string> numbered(int count) {
    std::vector<std::string> v;
    for (int i = 0; i < count; ++i)
        v.push_back(std::to_string(10 * i) + "," + std::to_string(i) + ".5");
    return v;
}

const LayoutCase kCases[] = {
    {"CountIsN",
     numbered(3),
     "3",
     false,
     3,
     1,
     5,
     {{1, 1, "油罐容积表", false}, {5, 1, "20", true}, {5, 2, "2.5", true}}},
    {"CountIsNPlusOne",
     numbered(4),
     "3",
     false,
     3,
     2,
     5,
     {{1, 2, "油罐容积表", false}, {2, 3, "高度cm", false}, {3, 3, "30", true}, {3, 4, "3.5", true}}},
    {"CountIsTwoN", numbered(6), "3", false, 3, 2, 5, {{1, 2, "油罐容积表", false}, {5, 4, "5.5", true}}},
    {"SevenEntriesInThreeGroups",
     numbered(7),
     "3",
     false,
     3,
     3,
     5,
     {{1, 3, "油罐容积表", false},
      {2, 5, "高度cm", false},
      {2, 6, "容积L", false},
      {3, 5, "60", true},
      {3, 6, "6.5", true},
      {4, 3, "40", true}}},
    {"EmptyList",
     {},
     "5",
     false,
     5,
     1,
     2,
     {{1, 1, "油罐容积表", false}, {2, 1, "高度cm", false}, {2, 2, "容积L", false}}},
    {"ZeroMeans9999", numbered(3), "0", false, 9999, 1, 5, {}},
    {"EmptyMeans9999", numbered(3), "", false, 9999, 1, 5, {}},
    {"TextMeans9999", numbered(3), "abc", false, 9999, 1, 5, {}},
    {"Beyond32BitsMeans9999", numbered(3), "99999999999", false, 9999, 1, 5, {}},
    {"NegativeMeans9999", numbered(3), "-4", false, 9999, 1, 5, {}},
    {"Default9999FillsTwoGroups",
     numbered(10000),
     "",
     false,
     9999,
     2,
     10001,
     {{1, 2, "油罐容积表", false}, {10001, 1, "99980", true}, {3, 3, "99990", true}}},
    {"WeightHeadings",
     numbered(5),
     "2",
     true,
     2,
     3,
     4,
     {{2, 2, "重量Kg", false}, {2, 4, "重量Kg", false}, {2, 6, "重量Kg", false}}},
    {"SplitAtFirstCommaOnly",
     {"5,1.5,x", "abc", ",7", "8,", "-1,1E15"},
     "9",
     false,
     9,
     1,
     7,
     {{3, 1, "5", true},
      {3, 2, "1.5,x", false},
      {4, 2, "abc", false},
      {5, 2, "7", true},
      {6, 1, "8", true},
      {7, 1, "-1", true},
      {7, 2, "1E15", true}}},
};

class SheetLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(SheetLayoutTest, PlacesEveryCell) {
    const LayoutCase& c = GetParam();
    const capacity::RowList rows = rowList(c.entries);
    const SheetLayout layout(rows, c.edit9, c.weight);
    EXPECT_EQ(layout.rowsPerGroup(), c.n);
    EXPECT_EQ(layout.groupCount(), c.groups);
    EXPECT_EQ(layout.lastRow(), c.lastRow);
    EXPECT_EQ(layout.lastColumn(), 2 * c.groups);

    std::map<std::pair<std::uint64_t, std::uint64_t>, Cell> seen;
    std::uint64_t previousRow = 0;
    layout.forEachRow([&](std::uint64_t row, std::span<const Cell> cells) {
        EXPECT_GT(row, previousRow);
        previousRow = row;
        std::uint64_t previousColumn = 0;
        for (const Cell& cell : cells) {
            EXPECT_EQ(cell.row, row);
            EXPECT_GT(cell.column, previousColumn);
            previousColumn = cell.column;
            seen.emplace(std::pair(cell.row, cell.column), cell);
        }
    });

    const ExpectedSheet expected(rows, static_cast<std::uint64_t>(c.n), c.weight);
    EXPECT_EQ(seen.size(), expected.cellCount());
    EXPECT_EQ(layout.cellCount(), expected.cellCount());
    for (const auto& [at, cell] : seen) {
        const auto want = expected.at(at.first, at.second);
        ASSERT_TRUE(want) << "unexpected cell at " << at.first << "," << at.second;
        EXPECT_EQ(cell.number.has_value(), want->number) << at.first << "," << at.second;
        if (want->number)
            EXPECT_EQ(*cell.number, want->value);
        else
            EXPECT_EQ(cell.text, want->text);
    }
    for (const Probe& p : c.probes) {
        const auto it = seen.find({p.row, p.column});
        ASSERT_NE(it, seen.end()) << p.row << "," << p.column;
        EXPECT_EQ(it->second.text, p.text);
        EXPECT_EQ(it->second.number.has_value(), p.number) << p.text;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, SheetLayoutTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The quick reading of plain decimals gives bit for bit what the general conversion gives,
// and leaves everything else to it.
TEST(CellNumberTest, AgreesWithTheGeneralConversion) {
    std::vector<std::string> texts = {"0",
                                      "-0",
                                      "1.",
                                      ".5",
                                      "-.5",
                                      "007",
                                      "2.675",
                                      "0.1",
                                      "1E15",
                                      "1e-3",
                                      " 12",
                                      "12 ",
                                      "+3",
                                      "-",
                                      ".",
                                      "",
                                      "1.2.3",
                                      "abc",
                                      "1,5",
                                      "inf",
                                      "nan",
                                      "0x10",
                                      "1e999",
                                      "-1",
                                      "999999999999999",
                                      "9999999999999999",
                                      "0.000000000000001",
                                      "123456789012345.",
                                      "5368709.11",
                                      "-12345678.91"};
    std::mt19937_64 random(12345);
    for (int i = 0; i < 200000; ++i) {
        const int digits = 1 + static_cast<int>(random() % 17);
        std::string t = random() % 4 == 0 ? "-" : "";
        const int point = static_cast<int>(random() % static_cast<unsigned>(digits + 2)) - 1;
        for (int d = 0; d < digits; ++d) {
            if (d == point) t += '.';
            t += static_cast<char>('0' + random() % 10);
        }
        texts.push_back(t);
    }
    for (const std::string& t : texts) {
        const auto fast = cellNumber(t);
        const auto general = kernel::tryStrToFloat(t);
        ASSERT_EQ(fast.has_value(), general.has_value()) << t;
        if (fast) {
            ASSERT_EQ(std::memcmp(&*fast, &*general, sizeof(double)), 0) << t;
        }
    }
}

} // namespace
} // namespace kelvora::output
