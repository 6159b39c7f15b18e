// kelvora-table with a vertical tank (--page 4): the rows, --hydrostatic, --fractions, the
// roof's zone on standard error, the list options over a tank file, and the refusals.

#include "run_table.h"

#include <cmath>
#include <fstream>
#include <numbers>
#include <string>

namespace {

// Internal radius 6000 mm: circumference 2π·6010 with 10 mm plates, then 2π·6008 with 8 mm.
const std::string kCourses = " --course 1500,37761.9,10,0.04369615 --course 1500,37749.4,8,-0.02267446";
const std::string kTank = "--page 4" + kCourses + " from=0 to=3000 step=500 rows_per_column=50";

double litres(double h) {
    return std::numbers::pi * 6000.0 * 6000.0 * h * 1e-6;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        out.push_back(text.substr(start, end - start));
    return out;
}

TEST(VerticalBatch, RowsHydrostaticAndFractions) {
    const Result rows = run(kTank);
    ASSERT_EQ(rows.status, 0) << rows.err;
    const auto main = lines(rows.out);
    ASSERT_EQ(main.size(), 7u);
    EXPECT_EQ(main[0], "0,0");
    EXPECT_EQ(main[2].substr(0, 4), "100,");
    EXPECT_NEAR(std::stod(main[2].substr(4)), litres(1000), 0.05);

    const Result increase = run(kTank + " vertical.density=1000 --hydrostatic");
    ASSERT_EQ(increase.status, 0) << increase.err;
    const auto hydro = lines(increase.out);
    ASSERT_EQ(hydro.size(), 7u);
    EXPECT_EQ(hydro[0], "0,0");
    EXPECT_EQ(hydro[6].substr(0, 4), "300,");

    const Result fractions = run(kTank + " --fractions");
    ASSERT_EQ(fractions.status, 0) << fractions.err;
    const auto rowsByCourse = lines(fractions.out);
    ASSERT_EQ(rowsByCourse.size(), 2u);
    EXPECT_EQ(rowsByCourse[0].substr(0, 2), "1,");
    EXPECT_EQ(rowsByCourse[1].substr(0, 2), "2,");
    EXPECT_EQ(std::count(rowsByCourse[1].begin(), rowsByCourse[1].end(), ','), 9);

    // structure=vertical chooses the page as --page 4 does.
    const Result named = run("structure=vertical" + kCourses + " from=0 to=3000 step=500 rows_per_column=50");
    EXPECT_EQ(named.out, rows.out);
}

// The workbook carries the millimetre and hydrostatic sheets (read back in the output tests).
TEST(VerticalBatch, WorkbookWithAllThreeTables) {
    for (const char* ending : {".xls", ".xlsx"}) {
        const std::string path = testing::TempDir() + "kelvora_vertical_" + std::to_string(getpid()) + ending;
        const Result r = run(kTank + " vertical.density=860 --out " + path);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "保存成功！\n");
        std::ifstream file(path, std::ios::binary);
        EXPECT_TRUE(file.good()) << path;
        std::remove(path.c_str());
    }
}

TEST(VerticalBatch, RoofZoneOnStandardError) {
    const Result r =
        run(kTank + " vertical.density=850 vertical.roof_mass=42500 vertical.roof_float_level=1800 "
                    "vertical.roof_rest_level=1200");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "浮盘起浮区：液位 1200 mm ~ 不含 1800 mm（浮顶落底高度 1200 mm，起浮高度 1800 mm）\n");
    EXPECT_EQ(lines(r.out).size(), 7u);
}

TEST(VerticalBatch, OptionsReplaceTheTankFilesLists) {
    const std::string file = testing::TempDir() + "kelvora_vertical_" + std::to_string(getpid()) + ".tank";
    {
        std::ofstream out(file);
        out << "structure = vertical\nvertical.course = 1000,30000,8\nvertical.course = 1000,30000,8\n"
               "vertical.course = 1000,30000,8\nfrom = 0\nto = 3000\nstep = 500\nrows_per_column = 50\n";
    }
    const Result fromFile = run("--tank " + file + " --fractions");
    EXPECT_EQ(lines(fromFile.out).size(), 3u) << fromFile.err;
    const Result replaced = run("--tank " + file + kCourses + " --fractions");
    EXPECT_EQ(lines(replaced.out).size(), 2u) << replaced.err;
    const Result byName = run(
        "--tank " + file + " vertical.course=1500,37761.94,10 vertical.course=1500,37749.38,8 --fractions");
    EXPECT_EQ(lines(byName.out).size(), 2u) << byName.err;
    std::remove(file.c_str());
}

TEST(VerticalBatch, Refusals) {
    struct Case {
        std::string args;
        int status;
        std::string err; // the start of standard error
    };
    const Case cases[] = {
        {"--page 4 from=0 to=100 step=10 rows_per_column=5", 1, "呵呵，立式圆筒的圈板要有1到50个！"},
        {kTank + " to=3001", 1, "呵呵，液位不能高于圈板高度之和（3000 毫米）！"},
        {kTank + " --hydrostatic", 1, "呵呵，静压力容量增大值和浮顶排液量要先输入液体密度！"},
        {kTank + " vertical.density=99 --hydrostatic", 1,
         "呵呵，立式圆筒的液体密度必须在100到3000 kg/m3之间！"},
        {kTank + " vertical.tilt=1", 1, "呵呵，立式圆筒倾斜时，罐底点必须至少到"},
        {kTank + " --bottom-point 0,10 --bottom-point 100,5", 1, "呵呵，第 2 个罐底点的容积小于上一个点！"},
        {kTank + " --deadwood 300,300,5", 1, "呵呵，第 1 段罐内附件的起点高度必须低于终点高度！"},
        {kTank + " vertical.roof_mass=100 vertical.roof_float_level=100 vertical.roof_rest_level=200 "
                 "vertical.density=800",
         1, "呵呵，浮顶的落底高度必须低于起浮高度！"},
        {kTank + " --compare", 1, "呵呵，立式圆筒的几何就是圈板，没有两种方法可比较！"},
        {kTank + " --uncertainty UncertaintyLevel=1", 1, "呵呵，立式圆筒暂不计算不确定度！"},
        {kTank + " --course 1000,abc,8", 2, "'abc' is not a valid floating point value"},
        {kTank + " --course 1000,30000", 3, "kelvora-table: --course 要写成“高度,周长,板厚[,修正值]”"},
        {kTank + " --hydrostatic --fractions", 3, "kelvora-table: --hydrostatic 和 --fractions 只能单独使用"},
        {kTank + " --page 5", 3, "kelvora-table: --page 取 0 到 4"},
        {kTank + " --out " + testing::TempDir() + "vertical_no_density.xlsx", 1,
         "呵呵，静压力容量增大值和浮顶排液量要先输入液体密度！"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err) << c.args;
        if (c.status != 0) {
            EXPECT_EQ(r.out, "") << c.args;
        }
    }
}

} // namespace
