#include "capacity/display.h"
#include "capacity/requests.h"
#include "kernel/errors.h"

#include "fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvora::capacity {
namespace {

using test::Assignments;
using test::circularTank;
using test::set;

std::vector<std::string> table(MemoryInputs& in) {
    RowList rows;
    const auto outcome = GenerateCapacityTable(in, rows);
    EXPECT_FALSE(outcome.stopped()) << outcome.message;
    std::vector<std::string> out;
    for (std::size_t i = 0; i < rows.size(); ++i) out.emplace_back(rows[i]);
    return out;
}

std::vector<std::string> levels(const std::vector<std::string>& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.substr(0, r.find(',')));
    return out;
}

using Levels = std::vector<std::string>;

TEST(GenerateCapacityTable, SteppingEndsExactlyAtTheTopLevel) {
    struct Case { const char *from, *to, *step; Levels expected; };
    const Case cases[] = {
        {"0", "100", "30", {"0", "3", "6", "9", "10"}},
        {"0", "90", "30", {"0", "3", "6", "9"}},
        {"125", "125", "10", {"12.5"}},
        {"125", "125", "0", {"12.5"}},
        {"1500", "3000", "250", {"150", "175", "200"}}, // limited to D = 2000
        {"0", "0.3", "0.1", {"0", "0.01", "0.02", "0.03"}},
        // Within 1e-9 of a step below the top level the step's level is the top level ...
        {"0", "100.000000009", "10", {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10.0000000009"}},
        // ... further below it both rows stay.
        {"0", "100.00000002", "10", {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "10.000000002"}},
    };
    for (const auto& c : cases) {
        auto in = circularTank({{"Edit6", c.from}, {"Edit7", c.to}, {"Edit8", c.step}});
        EXPECT_EQ(levels(table(in)), c.expected) << c.from << ".." << c.to << " by " << c.step;
    }
}

// The level text of k × step millimetres, written from whole numbers: `step100` is the step
// in hundredths of a millimetre, so k × step100 thousandths of a centimetre.
std::string levelOf(long k, long step100) {
    const long thousandths = k * step100;
    std::string text = std::to_string(thousandths / 1000);
    std::string fraction = std::to_string(1000 + thousandths % 1000).substr(1);
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    return fraction.empty() ? text : text + "." + fraction;
}

TEST(GenerateCapacityTable, FractionalStepsGiveTheDecimalLevels) {
    struct Case { const char *to, *step; long step100, rows; const char* top; };
    const Case cases[] = {
        {"2000", "0.1", 10, 20001, "200"},        {"119", "0.7", 70, 171, "11.9"},
        {"2000", "0.01", 1, 200001, "200"},       {"1000", "0.3", 30, 3335, "100"},
        {"2000", "2.5", 250, 801, "200"},         {"1999.99", "0.33", 33, 6062, "199.999"},
        {"2000", "7", 700, 287, "200"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("0..") + c.to + " by " + c.step);
        auto in = circularTank({{"Edit6", "0"}, {"Edit7", c.to}, {"Edit8", c.step}});
        const Levels rows = levels(table(in));
        ASSERT_EQ(static_cast<long>(rows.size()), c.rows);
        for (long k = 0; k + 1 < c.rows; ++k) ASSERT_EQ(rows[k], levelOf(k, c.step100)) << "row " << k;
        // The top level closes the table once, however near the step before it came.
        EXPECT_EQ(rows.back(), c.top);
        EXPECT_NE(rows[rows.size() - 2], rows.back());
    }
}

TEST(GenerateCapacityTable, RowTextsInLitresAndKilograms) {
    auto in = circularTank({{"Edit6", "500"}, {"Edit7", "500"}});
    EXPECT_EQ(table(in), Levels{"50,3070.92"});
    set(in, {{"CheckBox1", "1"}, {"Edit37", "850"}, {"ComboBox1", "Kg/m^3"}});
    EXPECT_EQ(table(in), Levels{"50,2610.29"});
    set(in, {{"Edit37", "0.85"}, {"ComboBox1", "g/cm^3"}});
    EXPECT_EQ(table(in), Levels{"50,2610.29"});
}

TEST(GenerateCapacityTable, ValidationStopsKeepThePreviousRows) {
    auto in = circularTank();
    RowList rows;
    ASSERT_FALSE(GenerateCapacityTable(in, rows).stopped());
    const std::size_t before = rows.size();
    struct Case { const char *name, *value, *message; };
    const Case cases[] = {
        {"Edit1", "", messages::kHorizontal},
        {"Edit8", "0", messages::kBadStep},
        {"Edit8", "-5", messages::kBadStep},
        {"Edit8", "0.0001", messages::kTooManyRows},
    };
    for (const auto& c : cases) {
        auto stopped = circularTank({{c.name, c.value}});
        EXPECT_EQ(GenerateCapacityTable(stopped, rows).message, c.message) << c.name << "=" << c.value;
        EXPECT_EQ(rows.size(), before);
    }
}

TEST(GenerateCapacityTable, StepBelowTheLevelsResolutionIsRefused) {
    // Calibration points leave the top level unlimited.
    auto in = circularTank({{"Edit6", "1e16"}, {"Edit7", "10000000000000002"}, {"Edit8", "1"}});
    in.setActivePage(3);
    set(in, {{"ComboBox2", "2"}});
    for (int r = 1; r <= 2; ++r) {
        in.grid().setCell(1, r, std::to_string(r));
        in.grid().setCell(2, r, std::to_string(r));
    }
    RowList rows;
    EXPECT_EQ(GenerateCapacityTable(in, rows).message, messages::kStepTooSmall);
}

TEST(GenerateCapacityTable, BadDensityIsRefusedKeepingThePreviousRows) {
    // Once the English conversion error with the rows gone; now a message before any row.
    auto in = circularTank({{"CheckBox1", "1"}, {"Edit37", "0.8.5"}, {"ComboBox1", "Kg/m^3"}});
    RowList rows;
    rows.append("stale,row");
    EXPECT_EQ(GenerateCapacityTable(in, rows).message, "呵呵，密度“0.8.5”不是数字！");
    EXPECT_EQ(rows.size(), 1u);
}

TEST(GenerateCapacityTable, ValuesBeyondTheDoubleRangeEndWithAnErrorAndNoRows) {
    struct Case { const char* what; Assignments inputs; };
    const Case cases[] = {
        {"litres from a long shell", {{"Edit2", "1e308"}, {"Edit8", "50"}}},
        {"weight", {{"Edit2", "5e307"}, {"CheckBox1", "1"}, {"Edit37", "3000"}, {"ComboBox1", "Kg/m^3"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto in = circularTank();
        set(in, c.inputs);
        RowList rows;
        rows.append("stale,row");
        try {
            GenerateCapacityTable(in, rows);
            ADD_FAILURE() << "no error";
        } catch (const ArithmeticError& e) {
            EXPECT_STREQ(e.what(), "Floating point overflow");
        }
        EXPECT_TRUE(rows.empty());
    }
}

TEST(GenerateCapacityTable, PointsOfEqualLevelAreRefusedInsteadOfKeepingThePreviousTotal) {
    // Once rows repeating the previous total where the extrapolation divided by zero.
    auto calibrated = [](const char* from, const char* to, const char* (*points)[2]) {
        auto in = circularTank({{"Edit6", from}, {"Edit7", to}, {"Edit8", "500"}});
        in.setActivePage(3);
        set(in, {{"ComboBox2", "3"}});
        for (int r = 0; r < 3; ++r) {
            in.grid().setCell(1, r + 1, points[r][0]);
            in.grid().setCell(2, r + 1, points[r][1]);
        }
        RowList rows;
        return GenerateCapacityTable(in, rows).message;
    };
    const char* top[][2] = {{"0", "0"}, {"1000", "500"}, {"1000", "600"}};
    EXPECT_EQ(calibrated("0", "2000", top), "呵呵，第 3 个标定点的高度不大于上一个点！");
    const char* bottom[][2] = {{"0", "5"}, {"0", "10"}, {"1000", "20"}};
    EXPECT_EQ(calibrated("0", "500", bottom), "呵呵，第 2 个标定点的高度不大于上一个点！");
}

TEST(QuickCalculation, WritesEdit36OrLeavesIt) {
    auto in = circularTank({{"Edit35", "3000"}});
    ASSERT_FALSE(QuickCalculation(in).stopped());
    EXPECT_EQ(in.text("Edit36"), "15707.96"); // limited to the diameter: the full tank
    set(in, {{"CheckBox1", "1"}, {"Edit37", "850"}, {"ComboBox1", "Kg/m^3"}});
    ASSERT_FALSE(QuickCalculation(in).stopped());
    EXPECT_EQ(in.text("Edit36"), "13351.77");
    set(in, {{"Edit37", ""}});
    EXPECT_EQ(QuickCalculation(in).message, messages::kNoDensity); // once a conversion error
    EXPECT_EQ(in.text("Edit36"), "13351.77");
    set(in, {{"Edit35", ""}});
    EXPECT_EQ(QuickCalculation(in).message, messages::kQuick);
    EXPECT_EQ(in.text("Edit36"), "13351.77");
}

TEST(QuickCalculation, ValueBeyondTheDoubleRangeLeavesEdit36) {
    auto in = circularTank({{"Edit2", "6e307"}, {"Edit35", "2000"}, {"Edit36", "before"}});
    EXPECT_THROW(QuickCalculation(in), ArithmeticError);
    EXPECT_EQ(in.text("Edit36"), "before");
    set(in, {{"Edit2", "5e307"}}); // 1.57E308 L still fits
    ASSERT_FALSE(QuickCalculation(in).stopped());
    EXPECT_EQ(in.text("Edit36"), "1.5707963267949E308");
}

TEST(QuickCalculation, CalibrationPointsGiveTheRoundedInterpolatedLitres) {
    auto in = circularTank();
    in.setActivePage(3);
    set(in, {{"ComboBox2", "2"}});
    const char* points[][2] = {{"340", "1286.8"}, {"440", "1946.2"}};
    for (int r = 0; r < 2; ++r) {
        in.grid().setCell(1, r + 1, points[r][0]);
        in.grid().setCell(2, r + 1, points[r][1]);
    }
    struct Case { const char *level, *litres; };
    // 432.5 lies on 1896.745 L: a tie that rounds up only when no step rounds it below.
    const Case cases[] = {{"432.5", "1896.75"}, {"340", "1286.8"}, {"390", "1616.5"}, {"300", "1023.04"}};
    for (const auto& c : cases) {
        set(in, {{"Edit35", c.level}});
        ASSERT_FALSE(QuickCalculation(in).stopped());
        EXPECT_EQ(in.text("Edit36"), c.litres) << c.level;
    }
}

TEST(QuickCalculation, EqualsTheTablesRowAtTheSameLevel) {
    auto in = circularTank({{"Edit6", "0"}, {"Edit7", "2000"}, {"Edit8", "137.5"}, {"Edit31", "50"},
                            {"Edit32", "600"}, {"Edit33", "300"}, {"RadioButton15", "1"}, {"Edit21", "20"},
                            {"Edit22", "520"}});
    for (const auto& row : table(in)) {
        const auto comma = row.find(',');
        const double level = std::stod(row.substr(0, comma)) * 10;
        set(in, {{"Edit35", std::to_string(level)}});
        ASSERT_FALSE(QuickCalculation(in).stopped());
        EXPECT_EQ(in.text("Edit36"), row.substr(comma + 1)) << row;
    }
}

} // namespace
} // namespace kelvora::capacity
