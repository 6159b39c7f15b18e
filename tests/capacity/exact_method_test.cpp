// The exact method through the requests: the same rows where the formulas are exact, the
// true volume where they are not, and a message naming the part that describes no solid.

#include "capacity/exact_method.h"
#include "capacity/level_for.h"
#include "capacity/requests.h"
#include "capacity/volume.h"
#include "fixture.h"
#include "geometry/heads.h"
#include "kernel/heads.h"
#include "kernel/shell.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace kelvora::capacity {
namespace {

using test::Assignments;

std::vector<std::string> table(MemoryInputs in, bool exact, std::string* message = nullptr) {
    in.setChecked(kExactGeometryInput, exact);
    RowList rows;
    const auto outcome = GenerateCapacityTable(in, rows);
    if (message) *message = outcome.message;
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < rows.size(); ++i)
        texts.emplace_back(rows[i]);
    return texts;
}

struct Heads {
    const char* what;
    Assignments left, right;
};

TEST(ExactMethod, GivesTheFormulasRowsWhereTheFormulasAreExact) {
    const Heads cases[] = {
        {"flat", {{"RadioButton21", "1"}}, {{"RadioButton14", "1"}}},
        {"ellipsoidal and cone",
         {{"RadioButton15", "1"}, {"Edit21", "40"}, {"Edit22", "540"}},
         {{"RadioButton9", "1"}, {"Edit12", "25"}, {"Edit14", "625"}}},
        {"frustum and hemispherical",
         {{"RadioButton17", "1"}, {"Edit25", "30"}, {"Edit26", "530"}, {"Edit28", "1200"}},
         {{"RadioButton13", "1"}}},
    };
    for (const Heads& c : cases) {
        auto in = test::circularTank({{"Edit8", "37"}, {"Edit13", "120"}, {"ComboBox3", "减去左封头容积"}});
        test::set(in, c.left);
        test::set(in, c.right);
        const auto formula = table(in, false), exact = table(in, true);
        ASSERT_EQ(formula.size(), 56u) << c.what;
        EXPECT_EQ(exact, formula) << c.what;
    }
    // The elliptical shell with an ellipsoidal head, and the sphere.
    auto ellipse = test::circularTank({{"RadioButton2", "1"},
                                       {"Edit3", "2600"},
                                       {"Edit4", "1800"},
                                       {"Edit5", "5000"},
                                       {"RadioButton15", "1"},
                                       {"Edit21", "20"},
                                       {"Edit22", "420"},
                                       {"Edit8", "61"}});
    EXPECT_EQ(table(ellipse, true), table(ellipse, false));
    auto sphere = test::circularTank({{"Edit34", "3000"}, {"Edit7", "3000"}, {"Edit8", "77"}});
    sphere.setActivePage(2);
    EXPECT_EQ(table(sphere, true), table(sphere, false));
}

TEST(ExactMethod, ComposesTheTrueHeadsWithTheChoicesOfTheTable) {
    // Standard dished left (subtracted), non-standard dished right, dead volume and an
    // attachment: the top row is the shell, the heads' closed forms and the extras.
    auto in = test::circularTank({{"RadioButton19", "1"},
                                  {"Edit19", "30"},
                                  {"RadioButton6", "1"},
                                  {"Edit45", "25"},
                                  {"Edit46", "525"},
                                  {"Edit47", "2600"},
                                  {"ComboBox3", "减去左封头容积"},
                                  {"Edit13", "120"},
                                  {"Edit31", "50"},
                                  {"Edit32", "1000"},
                                  {"Edit33", "200"}});
    in.setChecked(kExactGeometryInput, true);
    auto d = *ReadTankDescription(in, RequestType::Table).description;
    const double shell = kernel::YuangTong(2000, 2000, 2000, 5055);
    const double left = kernel::FeiBiaoDieXin(0, 2000 - std::sqrt(2.6e6), 2000, 2000);
    const double right = kernel::FeiBiaoDieXin(25, 525, 2600, 2000);
    EXPECT_NEAR(VolumeAtLevel(d, 2000), -left + shell + right + 0.12 + 0.05, 1e-9);
    // Below the attachment, half way up: the exact heads at that level.
    EXPECT_NEAR(VolumeAtLevel(d, 600),
                -geometry::exactStandardDished(2000, 600) + kernel::YuangTong(2000, 2000, 600, 5055) +
                    geometry::exactNonStandardDished(25, 525, 2600, 2000, 600) + 0.12,
                1e-12);
    // The formula method on the same description differs near the bottom, where the
    // k table and the ellipsoidal profile are furthest from the true heads.
    d.exactGeometry = false;
    EXPECT_GT(std::abs(VolumeAtLevel(d, 10) - geometry::exactNonStandardDished(25, 525, 2600, 2000, 10) +
                       geometry::exactStandardDished(2000, 10) - kernel::YuangTong(2000, 2000, 10, 5055) -
                       0.12),
              1e-7);
}

TEST(ExactMethod, TheLevelForAVolumeFollowsTheMethod) {
    // 200 L sits low in a tank with standard dished heads, where the k table is short.
    auto in = test::circularTank({{"RadioButton19", "1"}, {"Edit19", "0"}, {"RadioButton12", "1"}, {"Edit20", "0"}});
    in.setText("LevelForValue", "200");
    double level[2];
    for (bool exact : {false, true}) {
        in.setChecked(kExactGeometryInput, exact);
        ASSERT_FALSE(LevelForVolume(in).stopped());
        level[exact] = std::stod(in.text("LevelForResult"));
        auto d = *ReadTankDescription(in, RequestType::Quick).description;
        // Rounded up to 0.01 mm: the volume there reaches 200 L, 0.01 mm lower it does not.
        EXPECT_GE(VolumeAtLevel(d, level[exact]) * 1000, 200);
        EXPECT_LT(VolumeAtLevel(d, level[exact] - 0.01) * 1000, 200);
    }
    EXPECT_LT(level[true], level[false]); // the true heads hold more down there
}

TEST(ExactMethod, RefusesDimensionsThatDescribeNoSolidNamingTheHead) {
    struct Row {
        const char* what;
        Assignments inputs;
        const char* message;
        const char* formulaMessage; // the formulas' own refusal, "" where they have none
    };
    const Row rows[] = {
        {"ellipsoidal H not above h",
         {{"RadioButton15", "1"}, {"Edit21", "300"}, {"Edit22", "300"}},
         messages::kExactLeftHead, "呵呵，左封头尺寸不能构成封头（深度 H - h 必须大于零）！"},
        {"frustum end as wide as the shell",
         {{"RadioButton10", "1"}, {"Edit15", "0"}, {"Edit16", "500"}, {"Edit18", "2000"}},
         messages::kExactRightHead, "呵呵，右封头尺寸不能构成封头（D2 必须小于筒体直径）！"},
        {"dished crown too small for the depth",
         {{"RadioButton6", "1"}, {"Edit45", "0"}, {"Edit46", "300"}, {"Edit47", "900"}},
         messages::kExactRightHead, "呵呵，右封头尺寸不能构成封头（Ri 不能小于筒体直径的一半）！"},
        {"dished of no depth",
         {{"RadioButton5", "1"}, {"Edit38", "100"}, {"Edit43", "100"}, {"Edit44", "2000"}},
         messages::kExactLeftHead, "呵呵，左封头尺寸不能构成封头（深度 H - h 必须大于零）！"},
        {"cap taller than half the diameter",
         {{"RadioButton18", "1"}, {"Edit27", "1200"}},
         messages::kExactLeftHead, ""},
        {"shell of no diameter", {{"Edit1", "0"}}, messages::kExactShell, "呵呵，中间圆筒的 D 必须大于零！"},
    };
    for (const Row& row : rows) {
        auto in = test::circularTank(row.inputs);
        std::string message;
        EXPECT_TRUE(table(in, true, &message).empty()) << row.what;
        EXPECT_EQ(message, row.message) << row.what;
        // The formulas refuse what makes no head to them either, in words naming the side.
        table(in, false, &message);
        EXPECT_EQ(message, row.formulaMessage) << row.what;
    }
}

TEST(ExactMethod, TheInclinedTanksLowerHeadFollowsTheChoiceOfEnd) {
    // Mirror images: an ellipsoidal head at the lower end, flat at the upper, built once
    // as the left head low and once as the right head low, hold the same at every level.
    const Assignments shell{{"Edit29", "5"},    {"Edit30", "0"},    {"Edit39", "1000"},
                            {"Edit40", "2000"}, {"Edit41", "2000"}, {"Edit42", "6000"}};
    auto leftLow = test::circularTank({{"RadioButton3", "1"},
                                       {"RadioButton15", "1"},
                                       {"Edit21", "0"},
                                       {"Edit22", "500"},
                                       {"RadioButton14", "1"},
                                       {"Edit8", "100"}});
    auto rightLow = test::circularTank({{"RadioButton4", "1"},
                                        {"RadioButton21", "1"},
                                        {"RadioButton8", "1"},
                                        {"Edit10", "0"},
                                        {"Edit11", "500"},
                                        {"Edit8", "100"}});
    auto neither = leftLow;
    neither.setChecked("RadioButton3", false);
    for (auto* in : {&leftLow, &rightLow, &neither}) {
        in->setActivePage(1);
        test::set(*in, shell);
    }
    std::string message;
    const auto rows = table(leftLow, true, &message);
    ASSERT_EQ(message, "");
    ASSERT_EQ(rows.size(), 21u);
    EXPECT_EQ(table(rightLow, true), rows);
    EXPECT_EQ(table(neither, true), rows);
    // The other end low is a different tank: at a shallow reading the head is dry.
    auto upper = leftLow;
    upper.setChecked("RadioButton4", true);
    EXPECT_NE(table(upper, true)[1], rows[1]);
}

} // namespace
} // namespace kelvora::capacity
