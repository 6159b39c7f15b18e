// Requests that describe no tank, or a level whose volume cannot be shown, end with a
// message naming the part or the level: no row, quick answer or level is ever a failure
// value or a negative volume, and the previous results stay.
#include "capacity/display.h"
#include "capacity/exact_method.h"
#include "capacity/level_for.h"
#include "capacity/method_check.h"
#include "capacity/requests.h"
#include "capacity/tank_check.h"

#include "fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvora::capacity {
namespace {

using test::Assignments;
using test::circularTank;
using test::set;

using Points = std::vector<std::pair<const char*, const char*>>;
// Kept in a case table, where an initializer list would not outlive its line.
using Inputs = std::vector<std::pair<std::string_view, std::string_view>>;

void set(MemoryInputs& in, const Inputs& inputs) {
    for (const auto& [name, value] : inputs) test::set(in, {{name, value}});
}

MemoryInputs onPage(int page, Assignments extra, const Points& points = {}) {
    auto in = circularTank({{"LevelForValue", "1"}});
    in.setActivePage(page);
    if (!points.empty()) {
        set(in, {{"ComboBox2", std::to_string(points.size())}});
        for (std::size_t r = 0; r < points.size(); ++r) {
            in.grid().setCell(1, static_cast<int>(r) + 1, points[r].first);
            in.grid().setCell(2, static_cast<int>(r) + 1, points[r].second);
        }
    }
    set(in, extra);
    return in;
}

// The message of each request over the same inputs; the previous rows and answers stay.
struct Messages {
    std::string table, quick, levelFor;
};
Messages run(MemoryInputs& in) {
    RowList rows;
    rows.append("previous,row");
    in.setText("Edit36", "previous");
    in.setText("LevelForResult", "previous");
    Messages m{GenerateCapacityTable(in, rows).message, QuickCalculation(in).message, LevelForVolume(in).message};
    if (!m.table.empty()) {
        EXPECT_EQ(std::string(rows[0]) + std::to_string(rows.size()), "previous,row1");
    }
    if (!m.quick.empty()) {
        EXPECT_EQ(in.text("Edit36"), "previous");
    }
    if (!m.levelFor.empty()) {
        EXPECT_EQ(in.text("LevelForResult"), "previous");
    }
    return m;
}

const Inputs kInclined{{"Edit29", "5"}, {"Edit30", "0"}, {"Edit39", "2500"}, {"Edit40", "2000"},
                            {"Edit41", "2000"}, {"Edit42", "5000"}};

TEST(TankCheck, RefusesWhatDescribesNoTankInEveryRequest) {
    struct Case {
        const char* what;
        int page;
        std::vector<Inputs> inputs;
        std::string message; // for the table and the quick calculation alike ...
        bool levelFor = true; // ... and the level from a volume, which reads no levels
    };
    const std::string left = "呵呵，左封头尺寸不能构成封头（", right = "呵呵，右封头尺寸不能构成封头（";
    const Case cases[] = {
        {"empty D read as 0", 0, {{{"Edit1", "0"}}}, "呵呵，中间圆筒的 D 必须大于零！"},
        {"negative L", 0, {{{"Edit2", "-5"}}}, "呵呵，中间圆筒的 L 必须大于零！"},
        {"ellipse of no width", 0, {{{"RadioButton2", "1"}, {"Edit3", "0"}, {"Edit4", "1000"}, {"Edit5", "10"}}},
         "呵呵，中间圆筒的 B 必须大于零！"},
        {"inclined of no height", 1, {kInclined, {{"Edit41", "0"}}}, "呵呵，倾斜圆筒的 A 必须大于零！"},
        {"inclined at 80°", 1, {kInclined, {{"Edit29", "80"}}}, messages::kInclinedAngle},
        {"inclined at 45°", 1, {kInclined, {{"Edit29", "45"}}}, messages::kInclinedAngle},
        {"inclined at -10°", 1, {kInclined, {{"Edit29", "-10"}}}, messages::kInclinedAngle},
        {"sphere of no diameter", 2, {{{"Edit34", "0"}}}, messages::kSphereDiameter},
        {"ellipsoidal head of no depth", 0, {{{"RadioButton15", "1"}, {"Edit21", "500"}, {"Edit22", "500"}}},
         left + "深度 H - h 必须大于零）！"},
        {"cone of negative depth", 0, {{{"RadioButton9", "1"}, {"Edit12", "500"}, {"Edit14", "100"}}},
         right + "深度 H2 - h 必须大于零）！"},
        {"frustum as wide as the shell", 0,
         {{{"RadioButton17", "1"}, {"Edit25", "0"}, {"Edit26", "500"}, {"Edit28", "2500"}}},
         left + "D2 必须小于筒体直径）！"},
        {"cap of no height", 0, {{{"RadioButton11", "1"}, {"Edit17", "0"}}}, right + "球缺高度 H 必须大于零）！"},
        {"dished crown below the radius", 0,
         {{{"RadioButton5", "1"}, {"Edit38", "0"}, {"Edit43", "400"}, {"Edit44", "999"}}},
         left + "Ri 不能小于筒体直径的一半）！"},
        {"negative straight part", 0, {{{"RadioButton12", "1"}, {"Edit20", "-50"}}}, right + "直边 h 不能小于零）！"},
        {"head of no depth on the inclined tank", 1,
         {kInclined, {{"RadioButton15", "1"}, {"Edit21", "300"}, {"Edit22", "200"}}},
         left + "深度 H - h 必须大于零）！"},
        {"points out of order", 3, {{}}, "呵呵，第 3 个标定点的高度不大于上一个点！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto in = c.page == 3 ? onPage(3, {}, {{"0", "0"}, {"1000", "500"}, {"900", "600"}}) : onPage(c.page, {});
        for (const auto& inputs : c.inputs) set(in, inputs);
        const Messages m = run(in);
        EXPECT_EQ(m.table, c.message);
        EXPECT_EQ(m.quick, c.message);
        EXPECT_EQ(m.levelFor, c.levelFor ? c.message : "");
    }
    // A frustum or dished head only lengthens an elliptical shell: its other sizes are not read.
    auto ellipse = onPage(0, {{"RadioButton2", "1"}, {"Edit3", "2000"}, {"Edit4", "1000"}, {"Edit5", "100"},
                              {"RadioButton17", "1"}, {"Edit25", "0"}, {"Edit26", "0"}, {"Edit28", "9000"}});
    EXPECT_EQ(run(ellipse).table, "");
}

TEST(TankCheck, RefusesTheRequestsLevels) {
    struct Case {
        Inputs inputs;
        std::string table, quick;
    };
    const Case cases[] = {
        {{{"Edit6", "-10"}}, messages::kFirstLevelNegative, ""},
        {{{"Edit6", "300"}, {"Edit7", "200"}}, messages::kFirstLevelAboveLast, ""},
        // Limited to the diameter first: a first level above it lies above the last.
        {{{"Edit6", "2500"}, {"Edit7", "3000"}}, messages::kFirstLevelAboveLast, ""},
        {{{"Edit35", "-1"}}, "", messages::kQuickLevelNegative},
        {{{"Edit6", "0"}, {"Edit7", "0"}, {"Edit35", "0"}}, "", ""},
    };
    for (const Case& c : cases) {
        auto in = circularTank();
        set(in, c.inputs);
        const Messages m = run(in);
        EXPECT_EQ(m.table, c.table);
        EXPECT_EQ(m.quick, c.quick);
    }
}

TEST(TankCheck, ALevelThatFailsOrHoldsLessThanNothingIsNamed) {
    struct Case {
        const char* what;
        MemoryInputs in;
        std::string message;
    };
    Case cases[] = {
        // At 44° the gauge's top level leaves the section: once −1000 L in the last row.
        {"inclined near its limit", onPage(1, {}), "呵呵，液位 2000 毫米处的容积算不出来（尺寸超出了公式能算的范围）！"},
        // A hemisphere taken off a short shell: more subtracted than the shell holds.
        {"subtracted head", circularTank({{"Edit2", "100"}, {"RadioButton20", "1"}}), ""},
        {"below the first point", onPage(3, {}, {{"500", "100"}, {"1000", "600"}}),
         "呵呵，液位 0 毫米低于第一个标定点，外推的容积为负数！"},
    };
    set(cases[0].in, kInclined);
    set(cases[0].in, {{"Edit29", "44"}, {"Edit6", "2000"}, {"Edit35", "2000"}});
    cases[1].in.setItemIndex("ComboBox3", 1);
    cases[1].message = "呵呵，液位 500 毫米处的容积为负数，请检查尺寸和封头的加减！";
    set(cases[1].in, {{"Edit6", "500"}});
    set(cases[2].in, {{"Edit35", "0"}});
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Messages m = run(c.in);
        EXPECT_EQ(m.table, c.message);
        EXPECT_EQ(m.quick, c.message);
    }
}

TEST(TankCheck, CalibrationPointsInOrderAndTheExtrapolatedLevelsStated) {
    struct Case {
        const char* what;
        Points points;
        const char *from, *to;
        std::string message, note;
    };
    const Case cases[] = {
        {"in order", {{"0", "0"}, {"1000", "500"}, {"2000", "1500"}}, "0", "2000", "", ""},
        {"equal volumes", {{"0", "0"}, {"1000", "500"}, {"2000", "500"}}, "0", "2000", "", ""},
        {"level falls", {{"0", "0"}, {"1000", "500"}, {"500", "1500"}}, "0", "2000",
         "呵呵，第 3 个标定点的高度不大于上一个点！", ""},
        {"equal levels", {{"0", "0"}, {"0", "500"}, {"2000", "1500"}}, "0", "2000",
         "呵呵，第 2 个标定点的高度不大于上一个点！", ""},
        {"volume falls", {{"0", "0"}, {"1000", "500"}, {"2000", "400"}}, "0", "2000",
         "呵呵，第 3 个标定点的容积小于上一个点！", ""},
        {"above the last", {{"0", "0"}, {"1000", "500"}, {"2000", "1500"}}, "1000", "2500", "",
         "液位 2000 ~ 2500 mm 超出标定点范围（0 ~ 2000 mm），按外推计算"},
        {"both sides", {{"500", "100"}, {"1000", "600"}}, "450", "1500", "",
         "液位 450 ~ 500 mm、1000 ~ 1500 mm 超出标定点范围（500 ~ 1000 mm），按外推计算"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto in = onPage(3, {{"Edit6", c.from}, {"Edit7", c.to}, {"Edit8", "100"}}, c.points);
        RowList rows;
        const RequestOutcome outcome = GenerateCapacityTable(in, rows);
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(outcome.note, c.note);
    }
}

TEST(TankCheck, WeightModeNeedsAUsableDensity) {
    struct Case {
        const char *density, *unit;
        std::string message;
    };
    const Case cases[] = {
        {"850", "Kg/m^3", ""},
        {"0.85", "g/cm^3", ""},
        {"", "Kg/m^3", messages::kNoDensity},
        {".", "Kg/m^3", "呵呵，密度“.”不是数字！"},
        {"0", "Kg/m^3", messages::kDensityNotPositive},
        {"-850", "g/cm^3", messages::kDensityNotPositive},
        {"0.85", "单位", messages::kNoDensityUnit},
        {"850", "", messages::kNoDensityUnit},
        {"850", "g/cm^3", "呵呵，密度 850000 Kg/m^3 不在 100 ~ 3000 Kg/m^3 之间，请检查数值和单位！"},
        {"0.85", "Kg/m^3", "呵呵，密度 0.85 Kg/m^3 不在 100 ~ 3000 Kg/m^3 之间，请检查数值和单位！"},
        {"3000", "Kg/m^3", ""},
        {"0.1", "g/cm^3", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.density) + " " + c.unit);
        auto in = circularTank({{"CheckBox1", "1"}, {"Edit37", c.density}, {"ComboBox1", c.unit}, {"LevelForValue", "1"}});
        const Messages m = run(in);
        EXPECT_EQ(m.table, c.message);
        EXPECT_EQ(m.quick, c.message);
        EXPECT_EQ(m.levelFor, c.message);
    }
}

TEST(TankCheck, CalibrationPointsAreTheVolumesInBothMethods) {
    const Points points{{"0", "0"}, {"1000", "500"}, {"2000", "1500"}};
    std::vector<std::string> made[2];
    for (bool exact : {false, true}) {
        auto in = onPage(3, {{"Edit6", "0"}, {"Edit7", "2000"}, {"Edit8", "500"}, {"Edit35", "1500"},
                             {"LevelForValue", "1000"}},
                         points);
        in.setChecked(kExactGeometryInput, exact);
        RowList rows;
        ASSERT_FALSE(GenerateCapacityTable(in, rows).stopped());
        for (std::size_t i = 0; i < rows.size(); ++i) made[exact].emplace_back(rows[i]);
        ASSERT_FALSE(QuickCalculation(in).stopped());
        EXPECT_EQ(in.text("Edit36"), "1000");
        ASSERT_FALSE(LevelForVolume(in).stopped());
        EXPECT_EQ(in.text("LevelForResult"), "1500");
        std::vector<MethodRow> compared;
        EXPECT_EQ(CompareMethods(in, compared).message, messages::kNoGeometryToCompare);
    }
    EXPECT_EQ(made[0], (std::vector<std::string>{"0,0", "50,250", "100,500", "150,1000", "200,1500"}));
    EXPECT_EQ(made[1], made[0]);
}

} // namespace
} // namespace kelvora::capacity
