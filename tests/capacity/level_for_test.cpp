#include "capacity/level_for.h"

#include "capacity/head_components.h"
#include "capacity/page_inputs.h"
#include "capacity/volume.h"
#include "fixture.h"
#include "kernel/errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace kelvora::capacity {
namespace {

using Status = LevelSearch::Status;

TTankDescription describe(MemoryInputs in) {
    auto read = ReadTankDescription(in, RequestType::LevelFor);
    EXPECT_TRUE(read.description) << read.message;
    return *read.description;
}

// Both heads of one kind, every field filled with a size that makes a sound head.
MemoryInputs circularWithHeads(const HeadComponents& head, bool subtractLeft) {
    MemoryInputs in = test::circularTank();
    for (const HeadSide* side : {&head.left, &head.right}) {
        in.setChecked(side->radio, true);
        for (const auto& field : side->fieldList()) {
            const char* value = field.dim == &HeadDims::h                ? "40"
                                : field.dim == &HeadDims::D2             ? "800"
                                : field.dim == &HeadDims::Ri             ? "1800"
                                : head.kind == THeadKind::hkSphericalCap ? "300"
                                                                         : "540";
            in.setText(field.edit, value);
        }
    }
    if (subtractLeft) in.setItemIndex("ComboBox3", 1);
    return in;
}

struct Tank {
    std::string name;
    TTankDescription d;
};

std::vector<Tank> everyKindOfTank() {
    std::vector<Tank> tanks;
    for (const auto& head : headComponents()) {
        tanks.push_back({std::string(head.caption), describe(circularWithHeads(head, false))});
        tanks.push_back({std::string(head.caption) + " subtracted", describe(circularWithHeads(head, true))});
    }
    MemoryInputs ellipse = test::circularTank();
    test::set(ellipse, {{"RadioButton2", "1"},
                        {"Edit3", "2600"},
                        {"Edit4", "1800"},
                        {"Edit5", "5000"},
                        {"RadioButton15", "1"},
                        {"Edit21", "20"},
                        {"Edit22", "420"},
                        {"RadioButton11", "1"},
                        {"Edit17", "300"}});
    tanks.push_back({"ellipse", describe(ellipse)});
    MemoryInputs inclined = test::circularTank({{"Edit29", "2"},
                                                {"Edit30", "1"},
                                                {"Edit39", "300"},
                                                {"Edit40", "2000"},
                                                {"Edit41", "2000"},
                                                {"Edit42", "6000"},
                                                {"Edit13", "120"},
                                                {"Edit31", "50"},
                                                {"Edit32", "500"},
                                                {"Edit33", "200"}});
    inclined.setActivePage(1);
    tanks.push_back({"inclined, dead volume and attachment", describe(inclined)});
    MemoryInputs sphere = test::circularTank({{"Edit34", "3000"}});
    sphere.setActivePage(2);
    tanks.push_back({"sphere", describe(sphere)});
    TTankDescription points;
    points.kind = TStructureKind::skCalibration;
    points.pointLevels = {100, 500, 1200, 1800};
    points.pointVolumes = {30, 800, 4000, 6500};
    points.pointCount = 4;
    tanks.push_back({"calibration points", points});
    return tanks;
}

long double litres(const TTankDescription& d, double x) {
    return static_cast<long double>(VolumeAtLevel(d, x)) * 1000;
}

// The answer holds the target, 0.01 mm less does not, and it lies on the 0.01 mm grid or
// at an end of the range.
TEST(LevelFor, InvertsTheVolumeForEveryStructureAndHeadKind) {
    for (const auto& [name, d] : everyKindOfTank()) {
        const auto range = levelRange(d);
        ASSERT_TRUE(range) << name;
        const long double bottom = litres(d, range->bottom), top = litres(d, range->top);
        for (double fraction : {0.0, 1e-6, 0.1, 0.5, 0.8, 0.95, 1.0}) {
            const long double target = bottom + (top - bottom) * fraction;
            const LevelSearch s = levelFor(d, target, 1000);
            ASSERT_EQ(s.status, Status::Found) << name << " " << fraction;
            EXPECT_GE(litres(d, s.level), target) << name << " " << fraction;
            const bool onGrid = std::fabs(s.level * 100 - std::round(s.level * 100)) < 1e-6;
            EXPECT_TRUE(onGrid || s.level == range->bottom || s.level == range->top)
                << name << " " << s.level;
            if (s.level - 0.01 >= range->bottom) {
                EXPECT_LT(litres(d, s.level - 0.01), target) << name << " " << fraction << " at " << s.level;
            }
        }
    }
}

// Volumes that fall somewhere: the answer is the first crossing, found against every level
// of the 0.01 mm grid, and on a flat stretch the lowest level of it.
TEST(LevelFor, FindsTheFirstCrossingWhereVolumesDipOrStandStill) {
    struct Case {
        const char* name;
        std::vector<double> levels, volumes;
        double target, level;
    };
    const Case cases[] = {
        {"dip", {0, 1000, 1500, 2000}, {0, 1000, 600, 2000}, 800, 800},
        {"dip, target only above it", {0, 1000, 1500, 2000}, {0, 1000, 600, 2000}, 1500, 1821.43},
        {"flat stretch", {0, 1000, 1500, 2000}, {0, 500, 500, 1000}, 500, 1000},
        {"flat stretch, just above", {0, 1000, 1500, 2000}, {0, 500, 500, 1000}, 500.001, 1500.01},
        {"narrow peak", {0, 700, 700.5, 701, 2000}, {0, 100, 900, 100, 1000}, 499, 700.25},
    };
    for (const auto& c : cases) {
        TTankDescription d;
        d.kind = TStructureKind::skCalibration;
        d.pointLevels = c.levels;
        d.pointVolumes = c.volumes;
        d.pointCount = static_cast<int>(c.levels.size());
        const LevelSearch s = levelFor(d, c.target, 1000);
        ASSERT_EQ(s.status, Status::Found) << c.name;
        EXPECT_NEAR(s.level, c.level, 1e-9) << c.name;
    }

    // A subtracted spherical cap on a short shell: the total rises to about 99 litres at
    // 600 mm, falls below zero by 1400 mm and ends at about 90 litres. The scan's answer
    // against a walk over every 0.01 mm.
    MemoryInputs in = test::circularTank(
        {{"RadioButton11", "1"}, {"Edit17", "900"}, {"ComboBox4", "减去右封头容积"}, {"Edit2", "600"}});
    const TTankDescription d = describe(in);
    ASSERT_LT(litres(d, 1400), 0);
    ASSERT_GT(litres(d, 2000), 80);
    // Between the top's volume and the peak is refused: the capacity is the top's volume.
    EXPECT_EQ(levelFor(d, litres(d, 600), 1000).status, Status::AboveCapacity);
    const long double target = litres(d, 2000) * 0.9L;
    const LevelSearch s = levelFor(d, target, 1000);
    ASSERT_EQ(s.status, Status::Found);
    EXPECT_LT(s.level, 600);
    double walked = -1;
    for (int k = 0; k <= 200000 && walked < 0; ++k)
        if (litres(d, k / 100.0) >= target) walked = k / 100.0;
    EXPECT_EQ(s.level, walked);
}

TEST(LevelFor, RefusesAboveTheCapacityAndBelowLevelZero) {
    MemoryInputs in = test::circularTank({{"Edit13", "120"}});
    const TTankDescription d = describe(in);
    const long double top = litres(d, 2000);
    EXPECT_EQ(levelFor(d, top, 1000).status, Status::Found);
    EXPECT_EQ(levelFor(d, top + 0.001L, 1000).status, Status::AboveCapacity);
    EXPECT_EQ(levelFor(d, 120, 1000).level, 0); // the dead volume itself, whatever its last bit
    EXPECT_GT(levelFor(d, 120.01L, 1000).level, 0);
    const LevelSearch below = levelFor(d, 119.99L, 1000);
    EXPECT_EQ(below.status, Status::BelowBottom);
    EXPECT_EQ(levelForMessage(below, false), "呵呵，比罐底死量还少！最低液位0毫米处已有120升。");
    EXPECT_EQ(levelForMessage(levelFor(d, 1e9L, 0.85L), true),
              "呵呵，超过油罐的容量了！最高液位2000毫米处只有13.45公斤。");
    EXPECT_EQ(levelFor(d, std::nanl(""), 1000).status, Status::AboveCapacity);
    // An amount past the double range is reported as the tables report it, never as "INF".
    LevelSearch huge = below;
    huge.bottomAmount = 1e300L * 1e15L;
    EXPECT_THROW(levelForMessage(huge, true), ArithmeticError);

    TTankDescription none; // horizontal without a section: no height to search
    EXPECT_EQ(levelFor(none, 0, 1000).status, Status::NoHeight);
}

// The request over the named inputs: what it reads, what it writes, what stops it.
TEST(LevelFor, RequestReadsItsFieldsAndWritesTheLevel) {
    struct Case {
        test::Assignments inputs;
        const char* message; // empty: answered
        const char* result;  // LevelForResult afterwards
    };
    // D 2000, L 5000, flat heads: 15707.96 litres; half of it stands at 1000 mm.
    const Case cases[] = {
        {{{"LevelForValue", "7853.98"}}, "", "1000"},
        {{{"LevelForValue", "49.9995"}, {"LevelForMode", "百分比"}}, "", "1000"},
        {{{"LevelForValue", "100"}, {"LevelForMode", "百分比"}}, "", "2000"},
        {{{"LevelForValue", "6675.88"}, {"CheckBox1", "1"}, {"Edit37", "0.85"}, {"ComboBox1", "g/cm^3"}},
         "",
         "1000"},
        {{{"LevelForValue", "20000"}}, "呵呵，超过油罐的容量了！最高液位2000毫米处只有15707.96升。", "old"},
        {{{"LevelForValue", "100.01"}, {"LevelForMode", "百分比"}},
         "呵呵，超过油罐的容量了！最高液位2000毫米处只有15707.96升。",
         "old"},
        {{{"LevelForValue", ""}}, messages::kQuick, "old"},
        {{{"LevelForValue", "1"}, {"Edit33", ""}}, messages::kQuick, "old"},
        // The table's and the quick calculation's own fields are not read.
        {{{"LevelForValue", "7853.98"}, {"Edit6", ""}, {"Edit9", ""}, {"Edit35", ""}}, "", "1000"},
    };
    for (const auto& c : cases) {
        MemoryInputs in = test::circularTank();
        in.setText("LevelForResult", "old");
        test::set(in, c.inputs);
        const RequestOutcome outcome = LevelForVolume(in);
        EXPECT_EQ(outcome.message, c.message) << c.inputs.begin()->second;
        EXPECT_EQ(in.text("LevelForResult"), c.result) << c.inputs.begin()->second;
    }
}

} // namespace
} // namespace kelvora::capacity
