#include "capacity/tank_description.h"
#include "kernel/errors.h"

#include "fixture.h"

#include <gtest/gtest.h>

namespace kelvora::capacity {
namespace {

using test::circularTank;
using test::set;

struct StopCase {
    const char* what;
    int page;
    RequestType type;
    std::string_view emptied; // the first empty field of its group
    const char* message;
};

TEST(ReadTankDescription, FirstEmptyFieldStopsWithItsGroupsMessage) {
    const StopCase cases[] = {
        {"circle", 0, RequestType::Table, "Edit1", messages::kHorizontal},
        {"table range", 0, RequestType::Table, "Edit9", messages::kTable},
        {"quick level", 0, RequestType::Quick, "Edit35", messages::kQuick},
        {"quick dead volume", 0, RequestType::Quick, "Edit13", messages::kQuick},
        {"inclined", 1, RequestType::Table, "Edit42", messages::kInclined},
        {"sphere", 2, RequestType::Table, "Edit34", messages::kSphere},
        {"left head", 0, RequestType::Table, "Edit22", messages::kLeftHead},
        {"right head", 0, RequestType::Quick, "Edit11", messages::kRightHead},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto in = circularTank({{"Edit29", "1"}, {"Edit30", "0"}, {"Edit39", "100"}, {"Edit40", "2000"},
                                {"Edit41", "2000"}, {"Edit42", "5000"}, {"Edit34", "3000"}, {"RadioButton15", "1"},
                                {"Edit21", "0"}, {"Edit22", "500"}, {"RadioButton8", "1"}, {"Edit10", "0"},
                                {"Edit11", "500"}});
        in.setActivePage(c.page);
        ASSERT_TRUE(ReadTankDescription(in, c.type).description);
        in.setText(c.emptied, "");
        const auto r = ReadTankDescription(in, c.type);
        EXPECT_FALSE(r.description);
        EXPECT_EQ(r.message, c.message);
    }
}

TEST(ReadTankDescription, EllipseFieldsAndEachRequestsOwnFields) {
    auto in = circularTank({{"RadioButton2", "1"}, {"Edit3", "3000"}, {"Edit4", ""}, {"Edit5", "5000"}});
    EXPECT_EQ(ReadTankDescription(in, RequestType::Table).message, messages::kHorizontal);
    // Edit9 belongs to the table only, Edit35 to the quick calculation only.
    auto table = circularTank({{"Edit35", ""}});
    EXPECT_TRUE(ReadTankDescription(table, RequestType::Table).description);
    auto quick = circularTank({{"Edit9", ""}});
    EXPECT_TRUE(ReadTankDescription(quick, RequestType::Quick).description);
}

TEST(ReadTankDescription, HorizontalTankNeedsASection) {
    struct Case { int page; const char *circle, *ellipse; bool read; };
    const Case cases[] = {
        {0, "0", "0", false}, {0, "1", "0", true}, {0, "0", "1", true}, {0, "1", "1", true},
        {2, "0", "0", true}, // the sphere has no section
    };
    for (const auto& c : cases) {
        auto in = circularTank({{"RadioButton1", c.circle}, {"RadioButton2", c.ellipse}, {"Edit3", "1500"},
                                {"Edit4", "2000"}, {"Edit5", "5000"}, {"Edit34", "3000"}});
        in.setActivePage(c.page);
        for (auto type : {RequestType::Table, RequestType::Quick}) {
            const auto r = ReadTankDescription(in, type);
            EXPECT_EQ(r.description.has_value(), c.read) << c.page << c.circle << c.ellipse;
            EXPECT_EQ(r.message, c.read ? "" : messages::kHorizontal) << c.page << c.circle << c.ellipse;
        }
    }
}

TEST(ReadTankDescription, HeadGroupsAreCheckedOnEveryPage) {
    auto in = circularTank({{"Edit34", "3000"}, {"RadioButton17", "1"}, {"Edit25", "10"}, {"Edit26", "700"}});
    in.setActivePage(2);
    EXPECT_EQ(ReadTankDescription(in, RequestType::Table).message, messages::kLeftHead);

    auto cal = circularTank({{"RadioButton5", "1"}, {"Edit38", "10"}, {"Edit43", "400"}});
    cal.setActivePage(3);
    for (int r = 1; r <= 8; ++r) {
        cal.grid().setCell(1, r, std::to_string(r * 100));
        cal.grid().setCell(2, r, std::to_string(r * 10));
    }
    set(cal, {{"Edit13", "120"}, {"Edit31", "5"}});
    EXPECT_EQ(ReadTankDescription(cal, RequestType::Quick).message, messages::kLeftHead);
    // The calibration kind has already cleared the dead volume and the attachment.
    for (auto name : {"Edit13", "Edit31", "Edit32", "Edit33"}) EXPECT_EQ(cal.text(name), "0") << name;
}

TEST(ReadTankDescription, CalibrationPointsColumnByColumn) {
    auto in = circularTank();
    in.setActivePage(3);
    set(in, {{"ComboBox2", "3"}});
    in.grid().setCell(1, 1, "0");
    in.grid().setCell(1, 2, "1000");
    in.grid().setCell(1, 3, "2000");
    in.grid().setCell(2, 1, "0");
    in.grid().setCell(2, 2, "500");
    EXPECT_EQ(ReadTankDescription(in, RequestType::Table).message, messages::kCalibration);
    in.grid().setCell(2, 3, "1500");
    const auto r = ReadTankDescription(in, RequestType::Table);
    ASSERT_TRUE(r.description);
    EXPECT_EQ(r.description->pointCount, 3);
    EXPECT_EQ(r.description->pointLevels, (std::vector<double>{0, 1000, 2000}));
    EXPECT_EQ(r.description->pointVolumes, (std::vector<double>{0, 500, 1500}));
    EXPECT_EQ(r.description->levelTo, 2000); // not limited: no diameter on this page
}

TEST(ReadTankDescription, LimitsTopLevelAndAdjustsAlpha) {
    auto in = circularTank({{"Edit7", "2500"}, {"Edit35", "9999"}});
    EXPECT_EQ(ReadTankDescription(in, RequestType::Table).description->levelTo, 2000);
    EXPECT_EQ(ReadTankDescription(in, RequestType::Quick).description->quickLevel, 2000);
    auto inclined = circularTank({{"Edit29", "0"}, {"Edit30", "0"}, {"Edit39", "100"}, {"Edit40", "2400"},
                                  {"Edit41", "1800"}, {"Edit42", "5000"}, {"Edit7", "5000"}});
    inclined.setActivePage(1);
    const auto d = *ReadTankDescription(inclined, RequestType::Table).description;
    EXPECT_EQ(d.alpha, 0.001);
    EXPECT_EQ(d.levelTo, 1800);
}

TEST(ReadTankDescription, NonNumbersAreErrorsAndAZeroDepthDishedHeadIsRefused) {
    auto in = circularTank({{"Edit1", "."}});
    EXPECT_THROW(ReadTankDescription(in, RequestType::Table), ConvertError);
    // Once a division failure of the dished ratio; now the head is named before any ratio.
    auto dished = circularTank({{"RadioButton6", "1"}, {"Edit45", "300"}, {"Edit46", "300"}, {"Edit47", "2000"}});
    EXPECT_EQ(ReadTankDescription(dished, RequestType::Table).message,
              "呵呵，右封头尺寸不能构成封头（深度 H - h 必须大于零）！");
    auto subtract = circularTank();
    subtract.setItemIndex("ComboBox3", 1);
    const auto d = *ReadTankDescription(subtract, RequestType::Table).description;
    EXPECT_TRUE(d.left.subtract);
    EXPECT_FALSE(d.right.subtract);
}

} // namespace
} // namespace kelvora::capacity
