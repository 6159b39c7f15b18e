// The vertical tank through the requests: the page's inputs read into the description,
// the main table's rows, the quick calculation, the level from a volume, the hydrostatic
// and millimetre tables, and the refusals that name the input.

#include "capacity/level_for.h"
#include "capacity/memory_inputs.h"
#include "capacity/method_check.h"
#include "capacity/page_inputs.h"
#include "capacity/requests.h"
#include "capacity/uncertainty.h"
#include "capacity/vertical_description.h"
#include "capacity/vertical_tables.h"
#include "kernel/errors.h"
#include "kernel/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace {

using namespace kelvora::capacity;

// Two courses of internal radius 6000 mm, 1500 mm high each.
MemoryInputs verticalTank() {
    auto in = MemoryInputs::afterStartup();
    in.setActivePage(kVerticalPage);
    const std::string c1 = kelvora::kernel::formatGeneral(2 * std::numbers::pi * 6010);
    const std::string c2 = kelvora::kernel::formatGeneral(2 * std::numbers::pi * 6008);
    in.setText("VerticalCourses", "1500," + c1 + ",10;1500," + c2 + ",8");
    in.setText("Edit6", "0");
    in.setText("Edit7", "3000");
    in.setText("Edit8", "500");
    in.setText("Edit9", "9999");
    return in;
}

double litres(double h) {
    return std::numbers::pi * 6000.0 * 6000.0 * h * 1e-6;
}

std::string value(std::string_view row) {
    return std::string(row.substr(row.find(',') + 1));
}

TEST(VerticalRequest, MainTableRowsAndQuickCalculation) {
    auto in = verticalTank();
    // The heads, dead volume and attachment of other pages do not apply.
    in.setChecked("RadioButton5", true);
    in.setText("Edit13", "999");
    RowList rows;
    const auto outcome = GenerateCapacityTable(in, rows);
    ASSERT_FALSE(outcome.stopped()) << outcome.message;
    ASSERT_EQ(rows.size(), 7u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(std::string(rows[i]).substr(0, rows[i].find(',')),
                  kelvora::kernel::formatGeneral(i * 50.0));
        EXPECT_NEAR(std::stod(value(rows[i])), litres(500.0 * i), 0.006) << i;
    }
    in.setText("Edit35", "1234.5");
    ASSERT_FALSE(QuickCalculation(in).stopped());
    EXPECT_NEAR(std::stod(in.text("Edit36")), litres(1234.5), 0.006);
}

TEST(VerticalRequest, LevelFromVolumeWithinTheShell) {
    auto in = verticalTank();
    in.setText("LevelForValue", kelvora::kernel::formatGeneral(litres(2000)));
    in.setItemIndex("LevelForMode", kLevelForByVolume);
    ASSERT_FALSE(LevelForVolume(in).stopped());
    EXPECT_NEAR(std::stod(in.text("LevelForResult")), 2000, 0.011);
    in.setText("LevelForValue", "50");
    in.setItemIndex("LevelForMode", kLevelForByPercent);
    ASSERT_FALSE(LevelForVolume(in).stopped());
    EXPECT_NEAR(std::stod(in.text("LevelForResult")), 1500, 0.011);
}

TEST(VerticalRequest, HydrostaticAndMillimetreTables) {
    auto in = verticalTank();
    RowList rows;
    EXPECT_EQ(HydrostaticTable(in, rows).message, "呵呵，静压力容量增大值和浮顶排液量要先输入液体密度！");
    in.setText("VerticalDensity", "1000");
    ASSERT_FALSE(HydrostaticTable(in, rows).stopped());
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], "0,0");
    // Course 1 alone up to 1500 mm: π g (ρ − 1.1) r³ / (E δ) h².
    const double k = std::numbers::pi * 9.80665 * (1000 - 1.1) * 216 / (2.06e11 * 0.010);
    EXPECT_EQ(value(rows[3]), kelvora::kernel::RoundToStr(k * 1.5 * 1.5 * 1000));

    std::vector<std::vector<std::string>> fractions;
    ASSERT_FALSE(MillimetreTable(in, fractions).stopped());
    ASSERT_EQ(fractions.size(), 2u);
    EXPECT_EQ(fractions[1][0], "2");
    EXPECT_EQ(fractions[0][1], kelvora::kernel::RoundToStr(litres(1)));
    EXPECT_EQ(fractions[0][9], kelvora::kernel::RoundToStr(litres(9)));

    in.setActivePage(0);
    EXPECT_EQ(HydrostaticTable(in, rows).message, messages::kNotVertical);
}

TEST(VerticalRequest, RoofZoneNote) {
    auto in = verticalTank();
    in.setText("VerticalDensity", "850");
    in.setText("VerticalRoofMass", "42500");
    in.setText("VerticalRoofFloat", "1800");
    in.setText("VerticalRoofRest", "1200");
    RowList rows;
    const auto outcome = GenerateCapacityTable(in, rows);
    ASSERT_FALSE(outcome.stopped()) << outcome.message;
    EXPECT_EQ(outcome.note,
              "浮盘起浮区：液位 1200 mm ~ 不含 1800 mm（浮顶落底高度 1200 mm，起浮高度 1800 mm）");
    // The table is the open tank's.
    EXPECT_NEAR(std::stod(value(rows[3])), litres(1500), 0.006);
    in.setText("Edit7", "1000");
    EXPECT_EQ(GenerateCapacityTable(in, rows).note, "");
    in.setText("Edit7", "1500");
    EXPECT_EQ(GenerateCapacityTable(in, rows).note,
              "浮盘起浮区：液位 1200 mm ~ 1500 mm（浮顶落底高度 1200 mm，起浮高度 1800 mm）");
}

TEST(VerticalRequest, RefusalsNameTheInput) {
    struct Case {
        const char* name;
        const char* text;
        std::string message;
    };
    const Case cases[] = {
        {"VerticalCourses", "", "呵呵，立式圆筒的圈板要有1到50个！"},
        {"VerticalCourses", "1500,37000", "呵呵，第 1 圈板要写成“高度,周长,板厚[,修正值]”！"},
        {"VerticalBottom", "0,0;200", "呵呵，第 2 个罐底点要写成“高度,容积”！"},
        {"VerticalBottom", "0,10;200,5", "呵呵，第 2 个罐底点的容积小于上一个点！"},
        {"VerticalDeadwood", "300,200,5", "呵呵，第 1 段罐内附件的起点高度必须低于终点高度！"},
        {"VerticalTilt", "5", "呵呵，立式圆筒的倾斜角 θ 必须不小于0度、小于5度！"},
        {"VerticalRoofMass", "1000", "呵呵，浮顶数据还没输完呢！"},
        {"VerticalDensity", "50", "呵呵，立式圆筒的液体密度必须在100到3000 kg/m3之间！"},
        {"Edit7", "3000.5", "呵呵，液位不能高于圈板高度之和（3000 毫米）！"},
        {"Edit7", "", "呵呵，容积表数据还没输完呢！"},
    };
    for (const auto& c : cases) {
        auto in = verticalTank();
        in.setText(c.name, c.text);
        RowList rows;
        EXPECT_EQ(GenerateCapacityTable(in, rows).message, c.message) << c.name << '=' << c.text;
    }
    auto roof = verticalTank();
    roof.setText("VerticalRoofMass", "1000"), roof.setText("VerticalRoofFloat", "900"),
        roof.setText("VerticalRoofRest", "100");
    RowList rows;
    EXPECT_EQ(GenerateCapacityTable(roof, rows).message,
              "呵呵，静压力容量增大值和浮顶排液量要先输入液体密度！");
    auto text = verticalTank();
    text.setText("VerticalCourses", "1500,abc,10");
    EXPECT_THROW(GenerateCapacityTable(text, rows), kelvora::ConvertError);
}

// The courses are the geometry: no second method to compare, and no uncertainty yet.
TEST(VerticalRequest, CompareAndUncertaintyRefused) {
    auto in = verticalTank();
    std::vector<MethodRow> compared;
    EXPECT_EQ(CompareMethods(in, compared).message, messages::kVerticalNoCompare);
    in.setText("UncertaintyLevel", "1");
    std::vector<RowUncertainty> rows;
    EXPECT_EQ(UncertaintyTable(in, rows).message, messages::kVerticalNoUncertainty);
}

} // namespace
