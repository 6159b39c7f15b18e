// kelvora-table --chart: a chart the table would refuse is refused the same way, only a
// .csv is written, and the tank number cannot forge a data line.

#include "register_fixture.h"
#include "run_table.h"

#include <regex>
#include <sstream>

namespace {

TEST(ChartRefusals, VolumesTheTableRefusesAreNeverCharted) {
    struct Case {
        std::string inputs;
    };
    const Case cases[] = {
        {"dead_volume=-100000"}, // negative at every level
        {"dead_volume=-5000"},   // negative up to where the liquid outweighs it
        {"right.shape=cone right.H2=-5 exact=yes"},
    };
    for (const auto& c : cases) {
        Dir dir;
        write(dir / "a.tank", kTank);
        const std::string tank = "--tank '" + dir / "a.tank" + "' " + c.inputs;
        const Result table = run(tank);
        ASSERT_EQ(table.status, 1) << c.inputs << table.out.substr(0, 200);
        const Result chart = run(tank + " --chart 20 --out '" + dir / "c.csv" + "'");
        EXPECT_EQ(chart.status, 1) << c.inputs;
        EXPECT_EQ(chart.out, "");
        EXPECT_FALSE(chart.err.empty());
        EXPECT_FALSE(fs::exists(dir.path / "c.csv")) << c.inputs << read(dir.path / "c.csv");
    }
}

TEST(ChartRefusals, OnlyACsvEndingIsAChartsName) {
    Dir dir;
    write(dir / "a.tank", kTank);
    struct Case {
        const char* name;
        int status;
    };
    const Case cases[] = {{"c.xlsx", 3}, {"c.xls", 3}, {"c.pdf", 3}, {"c.txt", 3},
                          {"c", 3},      {"c.csv", 0}, {"C.CSV", 0}};
    for (const auto& c : cases) {
        const Result r = run("--tank '" + dir / "a.tank" + "' --chart 4 --out '" + dir / c.name + "'");
        EXPECT_EQ(r.status, c.status) << c.name << r.err;
        EXPECT_EQ(fs::exists(dir.path / c.name), c.status == 0) << c.name;
    }
}

TEST(ChartRefusals, LineBreaksInTheTankNumberBecomeBlanks) {
    Dir dir;
    write(dir / "a.tank", kTank);
    for (const char* number : {"A\n0,99999", "A\r\n1,1", "A\r2,2"}) {
        const Result r = run("--tank '" + dir / "a.tank" + "' 'TankNumber=" + number + "' --chart 4 --out '" +
                             dir / "c.csv" + "'");
        ASSERT_EQ(r.status, 0) << r.err;
        std::istringstream in(read(dir.path / "c.csv"));
        int data = 0;
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with('#')) continue;
            EXPECT_TRUE(std::regex_match(line, std::regex(R"([0-9.E+-]+,[0-9.E+-]+)"))) << line;
            ++data;
        }
        EXPECT_EQ(data, 5);
        EXPECT_NE(read(dir.path / "c.csv").find("# tank_number: A "), std::string::npos);
    }
}

} // namespace
