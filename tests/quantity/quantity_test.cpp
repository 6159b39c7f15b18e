// Litres at 20 °C, the mass in air and the delivery check: the arithmetic on shown values,
// and the requests over the page's inputs with a tank whose litres come from the quick
// calculation.

#include "quantity/quantity.h"

#include "../capacity/fixture.h"
#include "capacity/memory_inputs.h"
#include "capacity/requests.h"
#include "capacity/tank_description.h"
#include "kernel/errors.h"
#include "reference.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kelvora;
using namespace kelvora::quantity;

namespace {

Shown shown(std::int64_t units, int decimals) {
    return {units, decimals};
}

TEST(Arithmetic, Volume20AndMassOnTheShownDecimals) {
    struct Case {
        Shown litres, factor;
        const char* volume20;
    };
    const Case volumes[] = {
        {shown(1000000, 2), shown(9965, 4), "9965.00"},   // 10000.00 × 0.9965
        {shown(1234567, 2), shown(9988, 4), "12330.86"},  // 12330.855196
        {shown(1005, 2), shown(5000, 4), "5.03"},         // 5.025: halves up, not to even
        {shown(1000000, 2), shown(998765, 6), "9987.65"}, // formula mode, 6 decimals
        {shown(0, 2), shown(10123, 4), "0.00"},
        {shown(99999999999, 2), shown(1012345, 6), "1012344999.99"}, // a large tank stays exact
    };
    for (const auto& c : volumes)
        EXPECT_EQ(volume20(c.litres, c.factor).text(), c.volume20) << c.volume20;
    struct MassCase {
        Shown v20, rho20;
        const char* mass;
    };
    const MassCase masses[] = {
        {shown(1233086, 2), shown(8069, 1), "9936.21"}, // 12330.86 × 805.8 / 1000 = 9936.206988
        {shown(625, 2), shown(8011, 1), "5.00"},
        {shown(125, 2), shown(51, 1), "0.01"},           // 0.005: halves up
        {shown(100000, 2), shown(8069123, 4), "805.81"}, // 1000 × (806.9123 − 1.1) / 1000
    };
    for (const auto& c : masses)
        EXPECT_EQ(massInAir(c.v20, c.rho20).text(), c.mass) << c.mass;
    EXPECT_EQ(litresOfMass(16500, shown(8069, 1)).text(), "20476.55"); // 16500 / 805.8 × 1000 = 20476.545...
}

// At 20 °C every factor is 1, so the delivery arithmetic is seen bare.
DeliveryFigures atTwenty(double after, std::optional<double> ticket, std::optional<double> mass = {}) {
    DeliveryFigures f;
    f.before = roundShown(0, 2);
    f.after = roundShown(after, 2);
    f.beforeTemperature = f.afterTemperature = 20;
    f.dispensed = roundShown(0, 2);
    f.ticket = ticket;
    f.ticketMass = mass;
    return f;
}

TEST(Delivery, VerdictOnTheUnroundedPermille) {
    struct Case {
        double after, ticket;
        const char* difference;
        const char* permille;
        bool within;
    };
    const Case cases[] = {
        {100300.00, 100000, "300.00", "3.00", true},  {100300.40, 100000, "300.40", "3.00", false},
        {99700.00, 100000, "-300.00", "-3.00", true}, {99699.99, 100000, "-300.01", "-3.00", false},
        {100000.00, 100000, "0.00", "0.00", true},    {98000.00, 100000, "-2000.00", "-20.00", false},
    };
    for (const auto& c : cases) {
        const DeliveryResult r =
            checkDelivery(Group::B, Mode::Table, shown(8069, 1), atTwenty(c.after, c.ticket));
        ASSERT_TRUE(r.message.empty()) << r.message;
        EXPECT_EQ(r.difference.text(), c.difference);
        EXPECT_EQ(r.permille.text(), c.permille);
        EXPECT_EQ(r.within, c.within) << c.after;
    }
    DeliveryFigures wide = atTwenty(100300.40, 100000);
    wide.limit = 3.1;
    EXPECT_TRUE(checkDelivery(Group::B, Mode::Table, shown(8069, 1), wide).within);
}

TEST(Delivery, TicketInLitresAndInKilograms) {
    const Shown rho20 = shown(8069, 1);
    for (Mode mode : {Mode::Table, Mode::Formula}) {
        DeliveryFigures f;
        f.before = shown(1000000, 2); // 10000.00 L at 25.0 °C
        f.after = shown(3012345, 2);  // 30123.45 L at 22.5 °C
        f.beforeTemperature = 25;
        f.afterTemperature = 22.5;
        f.dispensed = shown(50000, 2); // 500.00 L
        const long double decimals = mode == Mode::Table ? 1e4L : 1e6L;
        auto factor = [&](double t) {
            return mode == Mode::Table ? reference::tableVcf20('B', 806.9L, t)
                                       : reference::roundTo(reference::vcf20('B', 806.9L, t), 6);
        };
        auto v20 = [&](long double litres, long double vcf) {
            return std::floor(litres * 100 * std::llround(vcf * decimals) / decimals + 0.5L) / 100;
        };
        const long double before20 = v20(10000, factor(25)), after20 = v20(30123.45L, factor(22.5));
        const long double dispensed20 = v20(500, factor(22.5));
        const long double received = after20 - before20 + dispensed20;

        f.ticket = 20600;
        DeliveryResult r = checkDelivery(Group::B, mode, rho20, f);
        ASSERT_TRUE(r.message.empty()) << r.message;
        EXPECT_NEAR(r.before20.value(), before20, 1e-6);
        EXPECT_NEAR(r.after20.value(), after20, 1e-6);
        EXPECT_NEAR(r.dispensed20.value(), dispensed20, 1e-6);
        EXPECT_NEAR(r.received20.value(), received, 1e-6);
        EXPECT_EQ(r.ticket20.text(), "20600.00");
        EXPECT_NEAR(r.difference.value(), received - 20600, 1e-6);
        EXPECT_NEAR(static_cast<double>(r.exactPermille), (received - 20600) / 20600 * 1000, 1e-9);
        EXPECT_EQ(r.within, std::fabs((received - 20600) / 20600 * 1000) <= 3);

        f.ticket.reset();
        f.ticketMass = 16500;
        r = checkDelivery(Group::B, mode, rho20, f);
        ASSERT_TRUE(r.message.empty()) << r.message;
        const long double ticket20 = std::floor(16500 / 805.8L * 1000 * 100 + 0.5L) / 100;
        EXPECT_NEAR(r.ticket20.value(), ticket20, 1e-6);
        EXPECT_NEAR(r.difference.value(), received - ticket20, 1e-6);
    }
}

TEST(Delivery, Refusals) {
    const Shown rho20 = shown(8069, 1);
    struct Case {
        DeliveryFigures f;
        std::string message;
    };
    DeliveryFigures hot = atTwenty(100, 100);
    hot.afterTemperature = 90.5;
    DeliveryFigures cold = atTwenty(100, 100);
    cold.beforeTemperature = -18.5;
    DeliveryFigures negativeLimit = atTwenty(100, 100);
    negativeLimit.limit = -1;
    DeliveryFigures negativeDispensed = atTwenty(100, 100);
    negativeDispensed.dispensed = shown(-100, 2);
    const Case cases[] = {
        {hot, "呵呵，卸油后油温须在-18到90 ℃之间！"},
        {cold, "呵呵，卸油前油温须在-18到90 ℃之间！"},
        {atTwenty(100, std::nullopt), messages::kNoTicket},
        {atTwenty(100, 100, 80), messages::kTwoTickets},
        {atTwenty(100, 0), messages::kBadTicket},
        {atTwenty(100, std::nullopt, -5), messages::kBadTicket},
        {atTwenty(100, 0.004), messages::kBadTicket}, // rounds to no litre at all
        {negativeLimit, messages::kBadLimit},
        {negativeDispensed, messages::kBadDispensed},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkDelivery(Group::B, Mode::Table, rho20, c.f).message, c.message);
}

capacity::MemoryInputs stationTank(test::Assignments extra = {}) {
    auto in = test::circularTank({{"Edit35", "1500"}});
    test::set(in, extra);
    return in;
}

TEST(Request, QuantityFromTheQuickCalculationsLitres) {
    struct Case {
        test::Assignments inputs;
        Mode mode;
        const char* level;
    };
    const Case cases[] = {
        {{{"Rho20", "806.9"}, {"OilTemperature", "23.5"}}, Mode::Table, "1500"},
        {{{"Rho20", "806.9"}, {"OilTemperature", "23.5"}, {"CheckBox1", "1"}, {"Edit37", "0.8"}},
         Mode::Table,
         "1500"}, // weight mode: still litres
        {{{"SampleDensity", "803.5"},
          {"SampleTemperature", "24.7"},
          {"OilTemperature", "23.5"},
          {"QuantityLevel", "733.3"}},
         Mode::Table,
         "733.3"},
        {{{"SampleDensity", "803.5"}, {"SampleTemperature", "24.7"}, {"OilTemperature", "-3"}},
         Mode::Formula,
         "1500"},
    };
    for (const auto& c : cases) {
        auto in = stationTank(c.inputs);
        in.setItemIndex(inputs::kMode, c.mode == Mode::Formula ? 1 : 0);
        const QuantityOutcome q = computeQuantity(in);
        ASSERT_TRUE(q.message.empty()) << q.message;
        EXPECT_EQ(q.level, c.level);
        EXPECT_EQ(q.mode, c.mode);

        auto quick = stationTank({{"Edit35", c.level}});
        ASSERT_FALSE(capacity::QuickCalculation(quick).stopped());
        EXPECT_EQ(q.litres.text(), quick.text("Edit36"));

        const Shown rho20 = in.text("Rho20").empty() ? rho20Shown(Group::B, c.mode, 803.5, 24.7)
                                                     : roundShown(806.9, c.mode == Mode::Table ? 1 : 4);
        EXPECT_EQ(q.rho20.text(), rho20.text());
        const double t = std::stod(in.text("OilTemperature"));
        EXPECT_EQ(q.vcf20.text(), vcf20Shown(Group::B, c.mode, rho20.value(), t).text());
        EXPECT_EQ(q.volume20.text(), volume20(q.litres, q.vcf20).text());
        EXPECT_EQ(q.mass.text(), massInAir(q.volume20, q.rho20).text());
    }
}

// A vertical tank of one course, internal radius 6 m and 10 mm plate, 8600 kg roof floating
// from 1800 mm on a liquid of 860 kg/m³: Vt = π r² h + the hydrostatic increase − 10 000 L.
TEST(Request, VerticalTankAddsThePressureAndTakesTheRoof) {
    auto in = capacity::MemoryInputs::afterStartup();
    in.setActivePage(4);
    for (auto [name, value] : {std::pair{"VerticalCourses", "4000,37761.9436961493,10"}, {"VerticalDensity", "860"},
                               {"VerticalRoofMass", "8600"}, {"VerticalRoofFloat", "1800"},
                               {"VerticalRoofRest", "1000"}, {"Rho20", "806.9"}, {"OilTemperature", "20"}})
        in.setText(name, value);
    const long double pi = 3.14159265358979323846L;
    auto expected = [&](long double h, bool floating) {
        const long double shell = std::round(pi * 36 * h * 1e3L * 100) / 100; // litres, as the quick result shows
        const long double increase = pi * 9.80665L * (860 - 1.1L) * 216 / (2.06e11L * 0.01L) * h * h * 1e3L;
        return shell + std::round(increase * 100) / 100 - (floating ? 10000 : 0);
    };
    struct Case {
        const char* level;
        long double metres;
        bool floating;
    };
    for (const Case c : {Case{"900", 0.9L, false}, Case{"1800", 1.8L, true}, Case{"3500", 3.5L, true}}) {
        in.setText("QuantityLevel", c.level);
        const QuantityOutcome q = computeQuantity(in);
        ASSERT_TRUE(q.message.empty()) << q.message;
        EXPECT_NEAR(q.litres.value(), static_cast<double>(expected(c.metres, c.floating)), 0.0051) << c.level;
    }
    in.setText("QuantityLevel", "1500");
    EXPECT_EQ(computeQuantity(in).message, "呵呵，液位 1500 毫米在浮盘起浮区内，浮顶的位置不定，不能计算油量！");
    for (auto name : {"VerticalDensity", "VerticalRoofMass", "VerticalRoofFloat", "VerticalRoofRest"})
        in.setText(name, "");
    EXPECT_EQ(computeQuantity(in).message, "呵呵，静压力容量增大值和浮顶排液量要先输入液体密度！");
}

TEST(Request, Refusals) {
    struct Case {
        test::Assignments inputs;
        std::string message;
    };
    const Case cases[] = {
        {{{"OilTemperature", "20"}}, messages::kNoDensity},
        {{{"SampleDensity", "803.5"}, {"OilTemperature", "20"}}, messages::kNoDensity},
        {{{"Rho20", "806.9"}}, messages::kNoOilTemperature},
        {{{"Rho20", "1080"}, {"OilTemperature", "20"}}, "呵呵，成品油的标准密度ρ20须在653到1075 kg/m3之间！"},
        {{{"SampleDensity", "640"}, {"SampleTemperature", "20"}, {"OilTemperature", "20"}},
         "呵呵，成品油的视密度须在653到1075 kg/m3之间！"},
        {{{"SampleDensity", "803"}, {"SampleTemperature", "95"}, {"OilTemperature", "20"}},
         "呵呵，试验温度须在-18到90 ℃之间！"},
        {{{"Rho20", "806.9"}, {"OilTemperature", "-20"}}, "呵呵，油温须在-18到90 ℃之间！"},
        {{{"Rho20", "806.9"}, {"OilTemperature", "20"}, {"Edit35", ""}}, messages::kNoLevel},
    };
    for (const auto& c : cases) {
        auto in = stationTank(c.inputs);
        EXPECT_EQ(computeQuantity(in).message, c.message);
    }
    // Group D reads the same density as in range.
    auto lubricant = stationTank({{"Rho20", "1100"}, {"OilTemperature", "20"}});
    lubricant.setItemIndex(inputs::kProduct, 2);
    EXPECT_EQ(computeQuantity(lubricant).message, "");
    // A text where a number belongs is no refusal but a conversion error.
    auto text = stationTank({{"Rho20", "abc"}, {"OilTemperature", "20"}});
    EXPECT_THROW(computeQuantity(text), ConvertError);
    // The quick calculation's own refusal comes through: a tank without its diameter.
    auto unfinished = stationTank({{"Rho20", "806.9"}, {"OilTemperature", "20"}, {"Edit1", ""}});
    EXPECT_EQ(computeQuantity(unfinished).message, capacity::messages::kHorizontal);
}

TEST(Request, DeliveryOverTheInputs) {
    auto in = stationTank({{"Rho20", "806.9"},
                           {"DeliveryBeforeLevel", "400"},
                           {"DeliveryBeforeTemperature", "25"},
                           {"DeliveryAfterLevel", "1600"},
                           {"DeliveryAfterTemperature", "22.5"},
                           {"DeliveryDispensed", "320.5"},
                           {"DeliveryTicketMass", "8000"}});
    const DeliveryOutcome d = computeDelivery(in);
    ASSERT_TRUE(d.message.empty()) << d.message;
    EXPECT_EQ(d.figures.limit, kDefaultLimit);
    EXPECT_NE(d.result.received20.units, 0);
    const Shown before = litresAtLevel(in, "400").litres, after = litresAtLevel(in, "1600").litres;
    EXPECT_EQ(d.figures.before.units, before.units);
    EXPECT_EQ(d.figures.after.units, after.units);
    EXPECT_EQ(d.result.dispensed20.text(), volume20(shown(32050, 2), d.result.vcfAfter).text());
    EXPECT_EQ(d.result.ticket20.text(), litresOfMass(8000, d.rho20).text());

    auto noTemperature = stationTank({{"Rho20", "806.9"},
                                      {"DeliveryBeforeLevel", "400"},
                                      {"DeliveryAfterLevel", "1600"},
                                      {"DeliveryTicket", "1000"}});
    EXPECT_FALSE(computeDelivery(noTemperature).message.empty());
}

} // namespace
