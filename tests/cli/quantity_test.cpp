// kelvora-table --rho20, --vcf20, --quantity and --delivery run as a process: the lines a
// script reads, the modes, and the exit status of each kind of refusal.

#include "../output/pdf_text.h"
#include "quantity/quantity.h"
#include "run_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace kelvora::quantity;

// A tank by calibration points: 10 L per mm, so the level 1500 holds 15000.00 L.
const std::string kTank = " --page 3 --point 0,0 --point 2000,20000 Edit13=0 Edit31=0 Edit32=0 Edit33=0 ";

TEST(QuantityBatch, Rho20AndVcf20OnOneLine) {
    struct Case {
        std::string args, out;
    };
    const Case cases[] = {
        {"--rho20 B 803.5 24.7", rho20Shown(Group::B, Mode::Table, 803.5, 24.7).text() + "\n"},
        {"--rho20 成品油 803.5 24.7 --formula",
         rho20Shown(Group::B, Mode::Formula, 803.5, 24.7).text() + "\n"},
        {"--rho20 A 860.2 35.6", rho20Shown(Group::A, Mode::Table, 860.2, 35.6).text() + "\n"},
        {"--vcf20 D 880 40 --formula", vcf20Shown(Group::D, Mode::Formula, 880, 40).text() + "\n"},
        {"--vcf20 润滑油 880 40", vcf20Shown(Group::D, Mode::Table, 880, 40).text() + "\n"},
        {"--formula --vcf20 B 806.9 -5", vcf20Shown(Group::B, Mode::Formula, 806.9, -5).text() + "\n"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, 0) << c.args << ": " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args;
    }
    EXPECT_EQ(run("--rho20 B 803.5 24.7").out.size(), std::string("806.9\n").size()); // one decimal
    EXPECT_EQ(run("--vcf20 B 806.9 23.5 --formula").out.size(), std::string("0.997042\n").size());
}

TEST(QuantityBatch, StatusOfEachRefusal) {
    struct Case {
        std::string args;
        int status;
    };
    const Case cases[] = {
        {"--rho20 C 803.5 24.7", 3},
        {"--rho20 B 803.5", 3},
        {"--vcf20 B 806.9 20 --fast", 3},
        {"--rho20 B abc 20", 2},
        {"--vcf20 B 806.9 warm", 2},
        {"--rho20 B 600 20", 1},
        {"--rho20 D 1170 20", 1},
        {"--vcf20 B 806.9 91", 1},
        {"--rho20 A 610 -18", 0},
        {"--quantity" + kTank + "product=C rho20=806.9 oil.temperature=20 quick.level=1500", 3},
        {"--quantity" + kTank + "product=B rho20=abc oil.temperature=20 quick.level=1500", 2},
        {"--quantity" + kTank + "product=B oil.temperature=20 quick.level=1500", 1},
        {"--quantity" + kTank + "product=B rho20=806.9 oil.temperature=99 quick.level=1500", 1},
        {"--quantity --quick" + kTank + "rho20=806.9 oil.temperature=20", 3},
        {"--formula" + kTank + "quick.level=1500", 3},
    };
    for (const auto& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << ": " << r.err;
        if (c.status != 0) {
            EXPECT_EQ(r.out, "") << c.args;
        }
    }
    EXPECT_EQ(run("--rho20 B 600 20").err, "呵呵，成品油的视密度须在653到1075 kg/m3之间！\n");
}

std::string quantityLines(const std::string& level, const Shown& litres, Shown rho20, Mode mode, double t) {
    const Shown vcf = vcf20Shown(Group::B, mode, rho20.value(), t);
    const Shown v20 = volume20(litres, vcf);
    return "level," + level + "\nvolume," + litres.text() + "\nrho20," + rho20.text() + "\nvcf20," +
           vcf.text() + "\nvolume20," + v20.text() + "\nmass," + massInAir(v20, rho20).text() + "\n";
}

TEST(QuantityBatch, QuantityLinesInBothModes) {
    const Shown litres{1500000, 2};
    struct Case {
        std::string args, out;
    };
    const Case cases[] = {
        {"--quantity" + kTank +
             "product=B oil.temperature=23.5 sample.density=803.5 sample.temperature=24.7 "
             "quick.level=1500",
         quantityLines("1500", litres, rho20Shown(Group::B, Mode::Table, 803.5, 24.7), Mode::Table, 23.5)},
        {"--quantity --formula" + kTank + "product=成品油 oil.temperature=23.5 rho20=806.9 quick.level=1500",
         quantityLines("1500", litres, {8069000, 4}, Mode::Formula, 23.5)},
        {"--quantity" + kTank +
             "vcf.mode=formula oil.temperature=23.5 rho20=806.9 quantity.level=750 Edit35=1500",
         quantityLines("750", {750000, 2}, {8069000, 4}, Mode::Formula, 23.5)},
        // Weight mode shows kilograms elsewhere; the quantity still starts from litres.
        {"--quantity" + kTank +
             "product=B oil.temperature=10 rho20=806.9 quick.level=1500 weight=yes density=800 "
             "density_unit=kg/m3",
         quantityLines("1500", litres, {8069, 1}, Mode::Table, 10)},
    };
    for (const auto& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, 0) << c.args << ": " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args;
    }
}

TEST(QuantityBatch, DeliveryLinesWithTicketInLitresAndKilograms) {
    const std::string delivery =
        "--delivery" + kTank +
        "product=B rho20=806.9 delivery.before.level=500 delivery.before.temperature=25 "
        "delivery.after.level=1500 delivery.after.temperature=22.5 delivery.dispensed=320 ";
    DeliveryFigures f;
    f.before = {500000, 2};
    f.after = {1500000, 2};
    f.beforeTemperature = 25;
    f.afterTemperature = 22.5;
    f.dispensed = {32000, 2};
    for (auto [ticket, litres, kilograms] : {std::tuple{"delivery.ticket=10300", 10300.0, 0.0},
                                             std::tuple{"delivery.ticket_mass=8300", 0.0, 8300.0}}) {
        f.ticket.reset();
        f.ticketMass.reset();
        if (litres > 0) f.ticket = litres;
        if (kilograms > 0) f.ticketMass = kilograms;
        const DeliveryResult d = checkDelivery(Group::B, Mode::Table, {8069, 1}, f);
        const std::string expected =
            "before20," + d.before20.text() + "\nafter20," + d.after20.text() + "\ndispensed20," +
            d.dispensed20.text() + "\nreceived20," + d.received20.text() + "\nticket20," + d.ticket20.text() +
            "\ndifference," + d.difference.text() + "\npermille," + d.permille.text() + "\nverdict," +
            (d.within ? "within" : "outside") + "\n";
        const Result r = run(delivery + ticket);
        EXPECT_EQ(r.status, 0) << ticket << ": " << r.err;
        EXPECT_EQ(r.out, expected) << ticket;
    }
    // The record instead of the lines: every result and the verdict on one A4 page.
    const std::string pdf = testing::TempDir() + "kelvora_delivery_" + std::to_string(getpid()) + ".pdf";
    const Result saved = run(delivery + "delivery.ticket=10300 tank_number=T-07 --out " + pdf);
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.out, "保存成功！\n");
    const auto pages = kelvora::test::pagesOf(pdf);
    ASSERT_EQ(pages.size(), 1u);
    const std::string& text = pages[0];
    for (const char* part : {"卸油交接单", "T-07", "卸油员", "计量员", "司机", "交接单V20", "10300.00 L"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    std::remove(pdf.c_str());
    EXPECT_EQ(run(delivery + "delivery.ticket=10300 --out record.xlsx").status, 3);
    EXPECT_EQ(run("--quantity" + kTank + "rho20=806.9 oil.temperature=20 --out record.pdf").status, 3);

    const Result refused = run(delivery + "delivery.ticket=10300 delivery.ticket_mass=8300");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, std::string(messages::kTwoTickets) + "\n");
}

std::string lineValue(const std::string& lines, const std::string& name) {
    const auto at = lines.find(name + ",");
    if (at == std::string::npos) return {};
    const auto start = at + name.size() + 1;
    return lines.substr(start, lines.find('\n', start) - start);
}

TEST(QuantityBatch, RegisterSumsVolume20AndMass) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::path(testing::TempDir()) / ("kelvora_quantity_register_" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "a.tank")
        << "# Kelvora tank file, version 1\nstructure = horizontal\nsection = circle\n"
           "D = 2000\nL = 5000\nleft.shape = flat\nright.shape = flat\nfrom = 0\n"
           "to = 2000\nstep = 500\nrows_per_column = 50\ndead_volume = 0\n"
           "attachment.volume = 0\nattachment.bottom = 0\nattachment.height = 0\n";
    std::ofstream(dir / "reg.csv") << "tank_number,file,product,rho20,oil.temperature,quick.level\n"
                                      "T-1,a.tank,B,806.9,23.5,1500\n"
                                      "T-2,a.tank,成品油,750.2,18,700\n"
                                      "T-3,a.tank,B,,20,700\n";
    const Result r = run("--register " + (dir / "reg.csv").string() + " --out-dir " + (dir / "out").string() +
                         " --formats csv");
    EXPECT_EQ(r.status, 1) << r.err; // T-3 names no density
    std::ifstream in(dir / "out" / "summary.csv", std::ios::binary);
    const std::string summary{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(summary.substr(0, summary.find('\n')),
              "\xEF\xBB\xBF罐号,结构,行数,容量,状态,信息,volume20,mass");

    long long volume = 0, mass = 0;
    for (auto [number, args] :
         {std::pair{"T-1", "product=B rho20=806.9 oil.temperature=23.5 quick.level=1500"},
          std::pair{"T-2", "product=B rho20=750.2 oil.temperature=18 quick.level=700"}}) {
        const Result q = run("--quantity --tank " + (dir / "a.tank").string() + " " + args);
        ASSERT_EQ(q.status, 0) << q.err;
        const std::string v20 = lineValue(q.out, "volume20"), m = lineValue(q.out, "mass");
        EXPECT_NE(summary.find("\n" + std::string(number) + ",horizontal,5,"), std::string::npos) << summary;
        EXPECT_NE(summary.find(",成功,," + v20 + "," + m + "\n"), std::string::npos) << summary;
        volume += std::llround(std::stod(v20) * 100);
        mass += std::llround(std::stod(m) * 100);
    }
    EXPECT_NE(summary.find("\nT-3,horizontal,5,"), std::string::npos) << summary;
    EXPECT_NE(summary.find(",拒绝,油量：" + std::string(messages::kNoDensity) + ",,\n"), std::string::npos)
        << summary;
    const std::string total = "\n合计,,,,,," + Shown{volume, 2}.text() + "," + Shown{mass, 2}.text() + "\n";
    EXPECT_TRUE(summary.ends_with(total)) << summary;
    fs::remove_all(dir);
}

TEST(QuantityBatch, InputsListTheNewNames) {
    const Result r = run("--inputs");
    for (const char* name : {"product\t", "vcf.mode\t", "rho20\t", "sample.density\t", "sample.temperature\t",
                             "oil.temperature\t", "quantity.level\t", "delivery.before.level\t",
                             "delivery.ticket_mass\t", "delivery.limit\t"})
        EXPECT_NE(r.out.find(std::string("\n") + name), std::string::npos) << name;
    EXPECT_EQ(r.out.find("\n\t"), std::string::npos) << "a name without a name";
}

} // namespace
