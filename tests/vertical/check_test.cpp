// Every input that describes no vertical tank is refused with the message naming it.

#include "vertical/vertical_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>

namespace {

using namespace kelvora::vertical;
constexpr double kPi = std::numbers::pi;

VerticalTank goodTank() {
    VerticalTank tank;
    tank.courses = {{1500, 2 * kPi * 6010, 10, 0}, {1500, 2 * kPi * 6008, 8, 0}};
    return tank;
}

TEST(VerticalCheck, RefusesEachInputByName) {
    struct Case {
        const char* what;
        std::function<void(VerticalTank&)> change;
        std::string message; // empty: accepted
    };
    const Case cases[] = {
        {"good", [](VerticalTank&) {}, ""},
        {"no course", [](VerticalTank& t) { t.courses.clear(); }, messages::kCourseCount},
        {"51 courses", [](VerticalTank& t) { t.courses.assign(51, t.courses.front()); },
         messages::kCourseCount},
        {"50 courses", [](VerticalTank& t) { t.courses.assign(50, t.courses.front()); }, ""},
        {"height 0", [](VerticalTank& t) { t.courses[1].height = 0; }, "呵呵，第 2 圈板的高度必须大于零！"},
        {"height NaN", [](VerticalTank& t) { t.courses[0].height = NAN; },
         "呵呵，第 1 圈板的高度必须大于零！"},
        {"circumference -1", [](VerticalTank& t) { t.courses[0].circumference = -1; },
         "呵呵，第 1 圈板的周长必须大于零！"},
        {"thickness 0", [](VerticalTank& t) { t.courses[1].thickness = 0; },
         "呵呵，第 2 圈板的板厚必须大于零！"},
        {"thickness = external radius", [](VerticalTank& t) { t.courses[1].thickness = 6008; },
         "呵呵，第 2 圈板的板厚必须小于外半径（周长/2π）！"},
        {"correction eats the shell", [](VerticalTank& t) { t.courses[0].correction = -2 * kPi * 6005; },
         "呵呵，第 1 圈板的内半径必须大于零（请检查周长修正值）！"},
        {"tilt -0.1", [](VerticalTank& t) { t.tilt = -0.1; }, messages::kTilt},
        {"tilt 5", [](VerticalTank& t) { t.tilt = 5; }, messages::kTilt},
        {"tilt without bottom", [](VerticalTank& t) { t.tilt = 1; },
         "呵呵，立式圆筒倾斜时，罐底点必须至少到 104.73 毫米（r₁·tanθ）！"},
        {"tilt with low bottom",
         [](VerticalTank& t) {
             t.tilt = 1, t.bottom = {{0, 0}, {100, 50}};
         },
         "呵呵，立式圆筒倾斜时，罐底点必须至少到 104.73 毫米（r₁·tanθ）！"},
        {"tilt with bottom reaching",
         [](VerticalTank& t) {
             t.tilt = 1, t.bottom = {{0, 0}, {104.8, 50}};
         },
         ""},
        {"bottom not from 0",
         [](VerticalTank& t) {
             t.bottom = {{10, 0}, {100, 50}};
         },
         messages::kFirstBottomPoint},
        {"bottom levels repeat",
         [](VerticalTank& t) {
             t.bottom = {{0, 0}, {100, 50}, {100, 60}};
         },
         "呵呵，第 3 个罐底点的高度不大于上一个点！"},
        {"bottom volumes fall",
         [](VerticalTank& t) {
             t.bottom = {{0, 10}, {100, 5}};
         },
         "呵呵，第 2 个罐底点的容积小于上一个点！"},
        {"bottom above course 1",
         [](VerticalTank& t) {
             t.bottom = {{0, 0}, {1501, 5}};
         },
         "呵呵，罐底点不能高于第 1 圈板的顶（1500 毫米）！"},
        {"one bottom point",
         [](VerticalTank& t) {
             t.bottom = {{0, 30}};
         },
         ""},
        {"deadwood from = to",
         [](VerticalTank& t) {
             t.deadwood = {{0, 10, 5}, {300, 300, -2}};
         },
         "呵呵，第 2 段罐内附件的起点高度必须低于终点高度！"},
        {"negative deadwood",
         [](VerticalTank& t) {
             t.deadwood = {{300, 900, -200}};
         },
         ""},
        {"roof rest at float",
         [](VerticalTank& t) {
             t.roof = FloatingRoof{1000, 1200, 1200};
         },
         messages::kRoofLevels},
        {"roof without mass",
         [](VerticalTank& t) {
             t.roof = FloatingRoof{0, 1800, 1200};
         },
         messages::kRoofMass},
        {"roof",
         [](VerticalTank& t) {
             t.roof = FloatingRoof{1000, 1800, 1200};
         },
         ""},
    };
    for (const auto& c : cases) {
        VerticalTank tank = goodTank();
        c.change(tank);
        EXPECT_EQ(checkVerticalTank(tank), c.message) << c.what;
    }
}

TEST(VerticalCheck, DensityWhereNeededAndWithinRange) {
    struct Case {
        std::optional<double> density;
        bool needed;
        std::string message;
    };
    const Case cases[] = {
        {std::nullopt, false, ""},
        {std::nullopt, true, messages::kNoDensity},
        {99.9, false, messages::kDensityRange},
        {100, true, ""},
        {3000, true, ""},
        {3000.5, true, messages::kDensityRange},
        {NAN, true, messages::kDensityRange},
    };
    for (const auto& c : cases) {
        VerticalTank tank = goodTank();
        tank.density = c.density;
        EXPECT_EQ(checkLiquidDensity(tank, c.needed), c.message) << c.density.value_or(-1) << ' ' << c.needed;
    }
}

TEST(VerticalCheck, LevelNoHigherThanTheShell) {
    const VerticalTank tank = goodTank();
    EXPECT_EQ(checkLevelInShell(tank, 3000), "");
    EXPECT_EQ(checkLevelInShell(tank, 0), "");
    EXPECT_EQ(checkLevelInShell(tank, 3000.001), "呵呵，液位不能高于圈板高度之和（3000 毫米）！");
}

} // namespace
