// kelvora-table run as a process: what a script sees.

#include "../output/pdf_text.h"
#include "run_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string kCommon = " Edit13=0 Edit31=0 Edit32=0 Edit33=0 RadioButton21=1 RadioButton14=1 ";

TEST(Batch, TablePerPage) {
    struct Case { const char* what; std::string args, out; };
    const Case cases[] = {
        {"horizontal", "RadioButton1=1 Edit1=2000 Edit2=5000 Edit6=0 Edit7=3000 Edit8=1000 Edit9=10" + kCommon,
         "0,0\n100,7853.98\n200,15707.96\n"},
        {"inclined", "--page 倾斜圆筒 Edit29=0 Edit30=0 Edit39=2500 Edit40=2000 Edit41=2000 Edit42=5000 Edit6=1000 "
                     "Edit7=1000 Edit8=1 Edit9=10" + kCommon,
         "100,7853.98\n"},
        {"sphere", "--page 2 Edit34=2000 Edit6=2000 Edit7=2000 Edit8=1 Edit9=10" + kCommon, "200,4188.79\n"},
        {"calibration", "--page 3 --point 0,0 --point 1000,500 --point 2000,1500 Edit6=0 Edit7=2500 Edit8=500 "
                        "Edit9=10" + kCommon + "Edit13=120",
         "0,0\n50,250\n100,500\n150,1000\n200,1500\n250,2000\n"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, 0) << c.what << ": " << r.err;
        EXPECT_EQ(r.out, c.out) << c.what;
    }
}

TEST(Batch, QuickAndWeight) {
    const Result r = run("--quick RadioButton1=1 Edit1=2000 Edit2=5000 Edit35=500 CheckBox1=1 Edit37=0.85 "
                      "ComboBox1=g/cm^3" + kCommon);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2610.29\n");
}

TEST(Batch, MessagesAndStatuses) {
    const Result stop = run("--quick RadioButton1=1 Edit1=2000");
    EXPECT_EQ(stop.status, 1);
    EXPECT_EQ(stop.err, "呵呵，中间圆筒数据还没输完呢！\n");
    EXPECT_EQ(stop.out, "");

    const Result error = run("--quick RadioButton1=1 Edit1=2000 Edit2=1,5 Edit35=5" + kCommon);
    EXPECT_EQ(error.status, 2);
    EXPECT_EQ(error.err, "'1,5' is not a valid floating point value.\n输入项：Edit2（圆柱体长度L）\n");

    for (const char* args : {"Edit99=1", "RadioButton1=yes", "ComboBox2=500", "--page 7", "--bogus", "Edit1"}) {
        const Result usage = run(args);
        EXPECT_EQ(usage.status, 3) << args;
        EXPECT_NE(usage.err.find("kelvora-table: "), std::string::npos) << args;
    }
    EXPECT_EQ(run("--help").status, 0);
}

// The bare level in mm on standard output; a refusal on standard error with status 1.
TEST(Batch, LevelFor) {
    const std::string tank = "RadioButton1=1 Edit1=2000 Edit2=5000" + kCommon;
    struct Case {
        std::string args;
        int status;
        const char *out, *err;
    };
    const Case cases[] = {
        {"--level-for 7853.85 " + tank, 0, "999.99\n", ""},
        {"--level-for 100% " + tank, 0, "2000\n", ""},
        {"--level-for 95% " + tank, 0, "1805.39\n", ""},
        {"--level-for 6675.75 CheckBox1=1 Edit37=850 ComboBox1=Kg/m^3 " + tank, 0, "999.99\n", ""},
        {"--level-for 20000 " + tank, 1, "", "呵呵，超过油罐的容量了！最高液位2000毫米处只有15707.96升。\n"},
        {"--level-for 10 " + tank + " Edit13=120", 1, "",
         "呵呵，比罐底死量还少！最低液位0毫米处已有120升。\n"},
        {"--level-for 1000 RadioButton1=1 Edit1=2000 Edit2=5000", 1, "", "呵呵，数据还没输完呢！\n"},
        {"--page 3 --point 0,0 --point 1000,500 --point 1500,500 --point 2000,1000 --level-for 500" + kCommon,
         0, "1000\n", ""},
        {"--level-for 50 --quick " + tank, 3, "", nullptr},
        {"--level-for 1x " + tank, 2, "",
         "'1x' is not a valid floating point value.\n输入项：--level-for（已知容积）\n"},
    };
    for (const auto& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << ": " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args;
        if (c.err) {
            EXPECT_EQ(r.err, c.err) << c.args;
        }
    }
    // The page's inputs are named inputs of the batch tool too.
    EXPECT_EQ(run("--level-for 100% ExactGeometry=1 TankNumber=T-07 " + tank).status, 0);
}

TEST(Batch, SettingsDirectoryThenAssignments) {
    const auto dir = std::filesystem::path(testing::TempDir()) / ("kelvora_batch_settings_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    // A saved calibration tank: settings with CRLF line ends, three points in bd.txt.
    std::ofstream(dir / "Config.ini", std::ios::binary)
        << "[FrmMainPro]\r\nEdit6=0\r\nEdit7=2000\r\nEdit8=1000\r\nEdit9=10\r\nEdit13=0\r\nEdit31=0\r\n"
           "Edit32=0\r\nEdit33=0\r\nEdit35=1500\r\nRadioButton21=1\r\nRadioButton14=1\r\n";
    std::ofstream grid(dir / "bd.txt", std::ios::binary);
    for (const char* line : {"3", "4", "", "1", "2", "3", "", "0", "1000", "2000", "", "0", "500", "1500"})
        grid << line << "\r\n";
    grid.close();
    // The grid shows 8 points after start-up; ComboBox2=3 picks the three saved ones.
    const Result table = run("--settings " + dir.string() + " --page 3 ComboBox2=3 Edit8=500");
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.out, "0,0\n50,250\n100,500\n150,1000\n200,1500\n");
    const Result eight = run("--settings " + dir.string() + " --page 3 --quick");
    EXPECT_EQ(eight.status, 1);
    EXPECT_EQ(eight.err, "呵呵，标定点数据还没输完呢！\n");
    // A stored count comes back as the window's does.
    std::ofstream(dir / "Config.ini", std::ios::binary | std::ios::app) << "ComboBox2=3\r\n";
    EXPECT_EQ(run("--settings " + dir.string() + " --page 3 Edit8=500").out, table.out);
    // A bd.txt that cannot be read is said before the table's own answer.
    std::ofstream(dir / "bd.txt", std::ios::binary) << "\x8F\x01 points\r\n";
    const Result unread = run("--settings " + dir.string() + " --page 3 --quick");
    EXPECT_EQ(unread.status, 1);
    EXPECT_TRUE(unread.err.starts_with("kelvora-table: 标定点文件“" + (dir / "bd.txt").string())) << unread.err;
    EXPECT_EQ(run("--settings " + (dir / "missing").string()).status, 3);
}

TEST(Batch, WorkbookOut) {
    const auto dir = std::filesystem::path(testing::TempDir()) / ("kelvora_batch_out_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string tank = "RadioButton1=1 Edit1=2000 Edit2=5000 Edit6=0 Edit7=2000 Edit8=100 Edit9=5" + kCommon;
    const Result saved = run("--out " + (dir / "table.xls").string() + " " + tank);
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.out, "保存成功！\n");
    std::ifstream file(dir / "table.xls", std::ios::binary);
    std::string signature(4, '\0');
    file.read(signature.data(), 4);
    EXPECT_EQ(signature, "\xD0\xCF\x11\xE0");
    const Result failed = run("--out " + (dir / "missing" / "table.xlsx").string() + " " + tank);
    EXPECT_EQ(failed.status, 2);
    EXPECT_EQ(failed.out, "");
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

// The document needs no display, says nothing on standard error, carries the tank's
// header and exactly the rows the tool prints; the limit and a failed save write nothing.
TEST(Batch, DocumentOut) {
    namespace fs = std::filesystem;
    const auto dir = fs::path(testing::TempDir()) / ("kelvora_batch_pdf_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string tank = "RadioButton1=1 Edit1=2000 Edit2=5000 Edit6=0 Edit7=2000 Edit8=7 Edit9=5" + kCommon +
                             "TankNumber=T-07A3 TankOwner=中石化北京分公司";
    const Result printed = run(tank);
    ASSERT_EQ(printed.status, 0) << printed.err;

    struct Case {
        const char* what;
        std::string name, env;
    };
    const Case cases[] = {
        {"no display at all", "t.pdf", "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "},
        {"a display platform asked for that is not there", "T.PDF", "env DISPLAY=:99 QT_QPA_PLATFORM=xcb "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path pdf = dir / c.name;
        const Result saved = run("--out " + pdf.string() + " " + tank, c.env);
        EXPECT_EQ(saved.status, 0);
        EXPECT_EQ(saved.out, "保存成功！\n");
        EXPECT_EQ(saved.err, "");
        const auto pages = kelvora::test::pagesOf(pdf.string());
        ASSERT_FALSE(pages.empty());
        const std::string first = kelvora::test::withoutBlanks(pages[0]);
        EXPECT_NE(first.find("罐号：T-07A3"), std::string::npos) << first;
        EXPECT_NE(first.find("使用单位：中石化北京分公司"), std::string::npos) << first;
        std::string rows;
        // The document's values carry two decimals; the printed rows do not.
        for (const auto& [level, value] : kelvora::test::tableOf(pages)) {
            char shown[64];
            std::snprintf(shown, sizeof shown, "%.2f", std::stod(value));
            EXPECT_EQ(value, shown);
            rows += level + "," + value + "\n";
        }
        // The document's levels carry the step's one decimal in cm ("7.0"); the printed rows do not.
        std::string printedFixed;
        std::istringstream printedRows(printed.out);
        for (std::string row; std::getline(printedRows, row);) {
            char level[64], fixed[64];
            std::snprintf(level, sizeof level, "%.1f", std::stod(row.substr(0, row.find(','))));
            std::snprintf(fixed, sizeof fixed, "%.2f", std::stod(row.substr(row.find(',') + 1)));
            printedFixed += std::string(level) + "," + fixed + "\n";
        }
        EXPECT_EQ(rows, printedFixed);
    }

    // 200,001 rows: the workbook would take them, the document does not.
    const fs::path big = dir / "big.pdf";
    const Result refused = run("--out " + big.string() + " " + tank + " Edit8=0.01");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "呵呵，容积表超过100000行，不能生成文档，请加大液位间隔！\n");
    EXPECT_FALSE(fs::exists(big));

    const Result failed = run("--out " + (dir / "missing" / "t.pdf").string() + " " + tank);
    EXPECT_EQ(failed.status, 2);
    EXPECT_EQ(failed.out, "");
    EXPECT_FALSE(fs::exists(dir / "missing"));
    fs::remove_all(dir);
}

TEST(Batch, TankTextsTooLongOrUnprintableAreRefused) {
    namespace fs = std::filesystem;
    const fs::path pdf = fs::path(testing::TempDir()) / ("kelvora_batch_texts_" + std::to_string(getpid()) + ".pdf");
    const std::string tank = "RadioButton1=1 Edit1=2000 Edit2=5000 Edit6=0 Edit7=2000 Edit8=500 Edit9=5" + kCommon;
    std::string wide;
    for (int i = 0; i < 64; ++i) wide += "罐";
    struct Case {
        std::string args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {"'TankNumber=" + wide + "' --out " + pdf.string(), 0, ""},
        {"'TankNumber=" + wide + "罐'", 1, "呵呵，罐号最多64个字符！\n"},
        {"TankOwner=" + std::string(129, 'a') + " --out " + pdf.string(), 1, "呵呵，使用单位最多128个字符！\n"},
        {"'TankNumber=T-07\U0001D11E' --out " + pdf.string(), 1,
         "罐号中的字符“\U0001D11E”（U+1D11E）无法在文档中显示！\n"},
        {"ValidUntil=2027-12-31 --out " + pdf.string(), 0, ""},
        {"ValidUntil=2027-02-29 --out " + pdf.string(), 1,
         "呵呵，有效期至“2027-02-29”不是有效日期，请按 YYYY-MM-DD 输入，如 2027-12-31！\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        fs::remove(pdf);
        const Result r = run(tank + c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(fs::exists(pdf), c.status == 0 && c.args.find("--out") != std::string::npos);
    }
    fs::remove(pdf);
}

std::filesystem::path scratchDir(const std::string& what) {
    const auto dir = std::filesystem::path(testing::TempDir()) / ("kelvora_batch_" + what + "_" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// A FIFO or a device in place of a saved file is an unreadable file, which the start-up
// passes over; `timeout` turns a hang into status 124.
TEST(Batch, SettingsThatAreNoFilesNeverHang) {
    const auto fifos = scratchDir("fifo"), devices = scratchDir("devices");
    ASSERT_EQ(::mkfifo((fifos / "bd.txt").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((fifos / "Config.ini").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", devices / "Config.ini");
    std::filesystem::create_symlink("/dev/urandom", devices / "bd.txt");
    const std::string sphere = " --page 2 Edit34=2000 Edit6=2000 Edit7=2000 Edit8=1 Edit9=10" + kCommon;
    for (const auto& dir : {fifos, devices}) {
        const Result r = run("--settings " + dir.string() + sphere, "timeout 60 ");
        EXPECT_EQ(r.status, 0) << dir << ": " << r.err;
        EXPECT_EQ(r.out, "200,4188.79\n") << dir;
    }
}

// Every path the system rejects is a wrong command line: status 3 and the usual two
// lines (the message, the --help hint), never an abort.
TEST(Batch, SettingsPathErrorsAreUsageErrors) {
    const auto dir = scratchDir("paths");
    std::filesystem::create_symlink("loop", dir / "loop");
    std::ofstream(dir / "plain") << "x";
    const std::string longName(300, 'n');
    for (const auto& path : {dir / "loop", dir / longName, dir / "loop" / "below", dir / "plain", dir / "missing"}) {
        const Result r = run("--settings '" + path.string() + "' Edit6=0");
        EXPECT_EQ(r.status, 3) << path;
        EXPECT_TRUE(r.err.starts_with("kelvora-table: --settings：")) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
    }
}

// Past a file-size limit the save reports "文件太大" and leaves no temporary file, instead
// of the signal ending the program half-way; the workbook library prints nothing of its
// own (a small limit stops its zip writing, a larger one its own temporary files).
TEST(Batch, AFileSizeLimitIsReportedAndCleanedUp) {
    const auto dir = scratchDir("fsize");
    const std::string tank = "RadioButton1=1 Edit1=2000 Edit2=5000 Edit6=0 Edit7=2000 Edit8=1 Edit9=50" + kCommon;
    for (const std::string limit : {"2000", "20000"}) {
        for (const char* name : {"table.xls", "table.xlsx"}) {
            const Result r = run("--out " + (dir / name).string() + " " + tank, "prlimit --fsize=" + limit + " -- ");
            EXPECT_EQ(r.status, 2) << name << " " << limit << ": " << r.err;
            EXPECT_NE(r.err.find("文件太大"), std::string::npos) << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_TRUE(std::filesystem::is_empty(dir)) << name;
        }
    }
}

TEST(Batch, ValuesBeyondTheDoubleRangeAreAnErrorReport) {
    const auto dir = std::filesystem::path(testing::TempDir()) / ("kelvora_batch_overflow_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string table = "RadioButton1=1 Edit1=2000 Edit6=0 Edit7=2000 Edit8=50 Edit9=10" + kCommon;
    const std::string cases[] = {
        table + "Edit2=1e308",
        table + "Edit2=5e307 CheckBox1=1 Edit37=3000 ComboBox1=Kg/m^3",
        "--quick RadioButton1=1 Edit1=2000 Edit2=6e307 Edit35=2000" + kCommon,
        "--out " + (dir / "table.xls").string() + " " + table + "Edit2=1e308",
    };
    for (const auto& args : cases) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.err, "Floating point overflow.\n") << args;
        EXPECT_EQ(r.out, "") << args;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

} // namespace

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

TEST(Batch, CompareGivesBothTablesNumbers) {
    // Standard dished heads, whose k table is furthest from the true head near the bottom;
    // litres and kilograms.
    const std::string tank = "RadioButton1=1 Edit1=2000 Edit2=5000 RadioButton19=1 Edit19=20 RadioButton12=1 Edit20=0 "
                             "Edit6=0 Edit7=2000 Edit8=37 Edit9=10 Edit13=120 Edit31=0 Edit32=0 Edit33=0 ";
    for (std::string mode : {"", "CheckBox1=1 Edit37=0.85 ComboBox1=g/cm^3 "}) {
        const auto formula = lines(run(tank + mode + "ExactGeometry=0").out);
        const auto exact = lines(run(tank + mode + "ExactGeometry=1").out);
        for (std::string box : {"0", "1"}) {
            const Result r = run("--compare " + tank + mode + "ExactGeometry=" + box);
            ASSERT_EQ(r.status, 0) << r.err;
            const auto compared = lines(r.out);
            ASSERT_EQ(compared.size(), 56u);
            ASSERT_EQ(formula.size(), 56u);
            bool differs = false;
            for (std::size_t i = 0; i < compared.size(); ++i) {
                std::istringstream fields(compared[i]);
                std::string level, f, e, d;
                std::getline(fields, level, ','), std::getline(fields, f, ','), std::getline(fields, e, ',');
                std::getline(fields, d);
                EXPECT_EQ(level + "," + f, formula[i]);
                EXPECT_EQ(level + "," + e, exact[i]);
                // The difference is rounded once, from the unrounded values.
                EXPECT_NEAR(std::stod(d), std::stod(e) - std::stod(f), 0.010001) << compared[i];
                differs = differs || d != "0";
            }
            EXPECT_TRUE(differs);
        }
    }
}

TEST(Batch, CompareRefusesWhatTheExactMethodCannotEvaluate) {
    const std::string tank = "RadioButton1=1 Edit1=2000 Edit2=5000 RadioButton10=1 Edit15=0 Edit16=400 Edit18=2000 "
                             "RadioButton21=1 Edit6=0 Edit7=2000 Edit8=100 Edit9=10 Edit13=0 Edit31=0 Edit32=0 Edit33=0";
    Result r = run("--compare " + tank);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("右封头"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    // Once the formulas kept their failure values; now they refuse the head too.
    const Result formulas = run(tank);
    EXPECT_EQ(formulas.status, 1);
    EXPECT_EQ(formulas.err, "呵呵，右封头尺寸不能构成封头（D2 必须小于筒体直径）！\n");
    EXPECT_EQ(run("--compare --quick " + tank).status, 3);
    EXPECT_EQ(run("--compare --out x.xlsx " + tank).status, 3);
}

} // namespace

namespace {

// The command line's own faults, the formats of --out, and what a script reads on standard
// error besides the rows: a refusal naming the part, or the levels that were extrapolated.
TEST(Batch, CommandLineOutFormatsAndRefusals) {
    namespace fs = std::filesystem;
    const auto dir = scratchDir("formats");
    const std::string tank = "RadioButton1=1 Edit1=2000 Edit2=5000 Edit6=0 Edit7=2000 Edit8=1000 Edit9=5" + kCommon;
    const std::string points = "--page 3 --point 0,0 --point 1000,500 Edit6=500 Edit8=500 Edit9=5" + kCommon;
    struct Case {
        const char* what;
        std::string args;
        int status;
        std::string out, err; // err: the whole of standard error, or with a trailing '*' its start
        std::string file = {}, bytes = {};
    };
    const Case cases[] = {
        {"no arguments", "", 3, "", "用法 (usage): kelvora-table*"},
        {"every unknown at once", "Edit99=1 --bogus " + tank + " Foo=2 --also", 3, "",
         "kelvora-table: 未知的输入“Edit99”\nkelvora-table: 未知的选项“--bogus”\n"
         "kelvora-table: 未知的输入“Foo”\nkelvora-table: 未知的选项“--also”\n（见 kelvora-table --help）\n"},
        {"text ending", "--out t.txt " + tank, 3, "", "kelvora-table: --out：“t.txt”的结尾不是*"},
        {"no ending", "--out table " + tank, 3, "", "kelvora-table: --out：“table”的结尾不是*"},
        {"csv", "--out " + (dir / "t.csv").string() + " " + tank, 0, "保存成功！\n", "", "t.csv",
         "\xEF\xBB\xBF高度cm,容积L\r\n0,0\r\n100,7853.98\r\n200,15707.96\r\n"},
        {"csv in kilograms",
         "--out " + (dir / "W.CSV").string() + " " + tank + "CheckBox1=1 Edit37=850 ComboBox1=Kg/m^3", 0,
         "保存成功！\n", "", "W.CSV", "\xEF\xBB\xBF高度cm,重量Kg\r\n0,0\r\n100,6675.88\r\n200,13351.77\r\n"},
        {"no tank", tank + "Edit1=0", 1, "", "呵呵，中间圆筒的 D 必须大于零！\n"},
        {"850 with g/cm^3", tank + "CheckBox1=1 Edit37=850 ComboBox1=g/cm^3", 1, "",
         "呵呵，密度 850000 Kg/m^3 不在 100 ~ 3000 Kg/m^3 之间，请检查数值和单位！\n"},
        {"no unit", "--quick " + tank + "Edit35=5 CheckBox1=1 Edit37=0.85", 1, "",
         "呵呵，请选择密度的单位（Kg/m^3 或 g/cm^3）！\n"},
        {"extrapolated", points + " Edit7=2000", 0, "50,250\n100,500\n150,750\n200,1000\n",
         "液位 1000 ~ 2000 mm 超出标定点范围（0 ~ 1000 mm），按外推计算\n"},
        {"within the points", points + " Edit7=1000", 0, "50,250\n100,500\n", ""},
        {"points out of order",
         "--page 3 --point 0,0 --point 1000,500 --point 1000,600 Edit6=0 Edit7=100 Edit8=50 "
         "Edit9=5" +
             kCommon,
         1, "", "呵呵，第 3 个标定点的高度不大于上一个点！\n"},
        {"exact geometry on points", points + " Edit7=1000 ExactGeometry=1", 0, "50,250\n100,500\n", ""},
        {"--compare on points", "--compare " + points + " Edit7=1000", 1, "",
         "呵呵，标定点是实测数据，没有几何形状，不能比较两种算法！\n"},
        {"--level-for on points", "--level-for 500 " + points + " ExactGeometry=1", 0, "1000\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Result r = run(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.out);
        if (c.err.ends_with('*'))
            EXPECT_TRUE(r.err.starts_with(c.err.substr(0, c.err.size() - 1))) << r.err;
        else
            EXPECT_EQ(r.err, c.err);
        if (!c.file.empty()) {
            std::ifstream in(dir / c.file, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.bytes);
        }
    }
}

// A write-protected file is refused alike in every format, and stays as it was.
TEST(Batch, WriteProtectedTargetIsRefusedInEveryFormat) {
    const auto dir = scratchDir("readonly");
    const std::string tank = "RadioButton1=1 Edit1=2000 Edit2=5000 Edit6=0 Edit7=2000 Edit8=1000 Edit9=5" + kCommon;
    for (const char* name : {"t.xls", "t.xlsx", "t.pdf", "t.csv"}) {
        const auto path = dir / name;
        std::ofstream(path) << "old contents";
        std::filesystem::permissions(path, std::filesystem::perms(0444));
        const Result r = run("--out " + path.string() + " " + tank);
        EXPECT_EQ(r.status, 2) << name;
        EXPECT_EQ(r.err, "无法保存到“" + path.string() + "”：文件是只读的.\n") << name;
        std::ifstream in(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old contents") << name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << name;
        std::filesystem::remove(path);
    }
}

TEST(Batch, UncertaintyPrintsFourFieldsPerRow) {
    const std::string tank = "RadioButton1=1 Edit1=2000 Edit2=5000 Edit6=0 Edit7=2000 Edit8=1000 Edit9=10" + kCommon;
    // Half full: u² = (L·R(π − 2)/2 · 1)² + (πR²/2 · 2)²; at the top the full
    // tank's: u² = (πDL/2 · 1)² + (πD²/4 · 2)² (mm³).
    auto r = run(tank + "UncertaintySection=1 UncertaintyLength=2 --uncertainty");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0,0,0.00,\n100,7853.98,8.49,0.108\n200,15707.96,33.84,0.215\n");
    r = run(tank + "--uncertainty");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "呵呵，还没输入任何测量不确定度！\n");
    EXPECT_EQ(run(tank + "UncertaintyLevel=1 --uncertainty --quick").status, 3);
}

} // namespace
