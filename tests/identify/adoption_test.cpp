#include "identify/identification.h"

#include "../capacity/fixture.h"
#include "capacity/requests.h"
#include "capacity/volume.h"
#include "geometry/inclined.h"
#include "kernel/inclined.h"
#include "kernel/shell.h"

#include <gtest/gtest.h>

namespace kelvora::identify {
namespace {

// An inclined tank, D 2000 × 6000, probe F = 1500 from the high end; ellipsoidal heads
// 400 deep on 50 mm straight flanges, or flat ends.
capacity::MemoryInputs inclinedInputs(bool exact, bool heads) {
    auto in = test::circularTank({{"Edit29", "1.5"}, {"Edit30", "3"}, {"Edit39", "1500"}, {"Edit40", "2000"},
                                  {"Edit41", "2000"}, {"Edit42", "6000"}, {"RadioButton3", "1"},
                                  {"Edit6", "0"}, {"Edit7", "2000"}, {"Edit8", "50"}});
    in.setActivePage(1);
    if (heads)
        test::set(in, {{"RadioButton15", "1"}, {"Edit21", "50"}, {"Edit22", "450"},
                       {"RadioButton8", "1"}, {"Edit10", "50"}, {"Edit11", "450"}});
    test::set(in, {{"ExactGeometry", exact ? "1" : "0"}});
    return in;
}

TEST(AdoptTilt, TheLowEndExchangeKeepsTheProbeWhereItIs) {
    // The fit says the right end lies low at 2°: "采用" flips the low end and measures F
    // from the other end. Every volume of the table made afterwards is the tank tilted the
    // other way with the probe in its place: by exact geometry the plane sloping the other
    // way over the same tank, by the formulas the level conversion at −α (exact for it
    // while the surface meets neither end's bottom nor top).
    for (bool exact : {false, true}) {
        auto in = inclinedInputs(exact, exact);
        const auto before = capacity::ReadTankDescription(in, capacity::RequestType::Table).description;
        ASSERT_TRUE(before);
        const TiltModel model(*before);
        TiltFit fit;
        fit.lowerEndRight = true;
        fit.alpha = 2;
        fit.beta = 3;
        fit.fitted = model.describe(-2, 3);
        fit.F = fit.fitted.F;
        adoptTilt(in, fit);
        EXPECT_TRUE(in.checked("RadioButton4"));
        EXPECT_FALSE(in.checked("RadioButton3"));
        const std::string F = exact ? "4400" : "4500"; // L − F − h_left − h_right
        EXPECT_EQ(in.text("Edit39"), F);
        EXPECT_EQ(in.text("Edit29"), "2.0000");
        const auto after = capacity::ReadTankDescription(in, capacity::RequestType::Table).description;
        ASSERT_TRUE(after);
        const double Ltot = exact ? 6100 : 6000, pLeft = 6000 - 1500; // probe to the left (formerly low) end
        for (double h = 0; h <= 2000; h += 50) {
            const double V = capacity::VolumeAtLevel(*after, h);
            EXPECT_NEAR(1000 * V, model.volume(-2, 3, h), 1e-9) << h;
            if (exact) {
                geometry::InclinedTank tank{2000, 2000, Ltot, pLeft, -2, 3, {}, {}};
                tank.lower = tank.upper = {geometry::InclinedHead::Shape::Ellipsoidal, 400};
                EXPECT_NEAR(V, geometry::inclinedVolume(tank, h), 1e-12) << h;
            } else if (h >= 250 && h <= 1750) {
                const double level = kernel::GaoDuBianHuan(2000, Ltot, pLeft, -2, 3, h);
                EXPECT_NEAR(V, kernel::YuangTong(2000, 2000, level, Ltot), 1e-12) << h;
            }
        }
        // The same low end again leaves F alone.
        adoptTilt(in, fit);
        EXPECT_EQ(in.text("Edit39"), F);
    }
}

} // namespace
} // namespace kelvora::identify
