// kelvora-table --register, --tank, --chart and --inputs, run as a process.

#include "register_fixture.h"
#include "run_table.h"

#include <map>
#include <regex>
#include <sstream>

namespace {

TEST(Register, RowsSummaryAndRefusals) {
    Dir dir;
    write(dir / "a.tank", kTank);
    // Semicolons and GBK, as a Chinese spreadsheet saves them.
    write(dir / "reg.csv", "tank_number;file;D;step;owner\n"
                           "T-1;a.tank;;;\xD3\xCD\xBF\xE2\n"
                           "T/2;a.tank;2600;500;\n"
                           "T-3;missing.tank;;;\n"
                           "T-4;a.tank;;0;\n"
                           "T-5;a.tank;;abc;\n");
    const Result r =
        run("--register " + dir / "reg.csv" + " --out-dir " + dir / "out" + " --formats xlsx,pdf,csv");
    EXPECT_EQ(r.status, 1) << r.err; // rows refused, none failed
    const std::string summary = read(dir.path / "out" / "summary.csv");
    EXPECT_EQ(summary.substr(0, summary.find('\n')), "\xEF\xBB\xBF罐号,结构,行数,容量,状态,信息");
    EXPECT_NE(summary.find("\nT-1,horizontal,201,"), std::string::npos) << summary;
    EXPECT_NE(summary.find("\nT/2,horizontal,5,"), std::string::npos) << summary;
    EXPECT_NE(summary.find("\nT-3,,,,拒绝,找不到罐文件"), std::string::npos) << summary;
    EXPECT_NE(summary.find("\nT-4,horizontal,,,拒绝,呵呵，液位间隔必须大于零！\n"), std::string::npos)
        << summary;
    // A text where a number belongs is the row's refusal, naming its line and column.
    EXPECT_NE(summary.find("\nT-5,,,,拒绝,第6行“step”列的“abc”不是数字\n"), std::string::npos) << summary;
    // Every row refused is named on standard error, in the register's order.
    const auto t3 = r.err.find("第4行（T-3）拒绝：找不到罐文件");
    const auto t4 = r.err.find("第5行（T-4）拒绝：呵呵，液位间隔必须大于零！");
    const auto t5 = r.err.find("第6行（T-5）拒绝：第6行“step”列的“abc”不是数字");
    EXPECT_TRUE(t3 < t4 && t4 < t5 && t5 != std::string::npos) << r.err;
    for (const char* name : {"T-1.pdf", "T-1.xlsx", "T_2.pdf", "T_2.xlsx", "T_2.csv"})
        EXPECT_TRUE(fs::exists(dir.path / "out" / name)) << name;
    EXPECT_TRUE(read(dir.path / "out" / "T_2.csv").starts_with("\xEF\xBB\xBF高度cm,容积L\r\n0,0\r\n"));
    EXPECT_FALSE(fs::exists(dir.path / "out" / "T-3.pdf"));

    struct Case {
        std::string csv, message;
    };
    const Case refused[] = {
        {"tank_number,D\nT-1,1\nT-1,2\n", "罐号“T-1”重复"},
        {"tank_number,D\nA/1,1\nA_1,2\n", "罐号“A_1”重复"},
        {"tank_number,D\nT-1,1\n,2\n", "第3行没有罐号"},
        {"tank_number,diameter\nT-1,1\n", "“diameter”"},
        {"tank_number,D\n\"T-1,1\n", "引号"},
    };
    for (const auto& c : refused) {
        write(dir / "bad.csv", c.csv);
        const Result bad = run("--register " + dir / "bad.csv" + " --out-dir " + dir / "none");
        EXPECT_EQ(bad.status, 1) << c.csv;
        EXPECT_NE(bad.err.find(c.message), std::string::npos) << bad.err;
        EXPECT_FALSE(fs::exists(dir.path / "none")) << c.csv;
    }
    for (const char* args : {"--formats doc", "--jobs 0", "--page 1"})
        EXPECT_EQ(run("--register " + dir / "reg.csv" + " --out-dir " + dir / "o " + args).status, 3) << args;
}

// The content without the creation dates: the PDF's, and the workbook's document
// properties (the parts of the .xlsx package, read by Python's zipfile).
std::string withoutDate(const fs::path& path) {
    if (path.extension() == ".pdf")
        return std::regex_replace(read(path), std::regex(R"(/CreationDate \([^)]*\))"), "");
    if (path.extension() != ".xlsx") return read(path);
    const std::string command = "python3 -c \"import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
                                "sys.stdout.buffer.write(b''.join(z.read(n) for n in z.namelist() "
                                "if n != 'docProps/core.xml'))\" " +
                                path.string();
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    std::array<char, 4096> buf{};
    for (std::size_t n; (n = fread(buf.data(), 1, buf.size(), p)) > 0;)
        out.append(buf.data(), n);
    pclose(p);
    return out;
}

TEST(Register, ParallelEqualsSequential) {
    Dir dir;
    write(dir / "a.tank", kTank);
    std::string csv = "tank_number,file,D,left.shape,left.h,left.H\n";
    const char* shapes[] = {"ellipsoidal,40,540", "cap,,300", "flat,,"};
    for (int i = 0; i < 6; ++i)
        csv += "T-" + std::to_string(i) + ",a.tank," + std::to_string(1800 + 50 * i) + "," + shapes[i % 3] +
               "\n";
    write(dir / "reg.csv", csv);
    const std::string formats = " --formats pdf,xlsx,xls";
    ASSERT_EQ(run("--register " + dir / "reg.csv" + " --out-dir " + dir / "seq --jobs 1" + formats).status,
              0);
    ASSERT_EQ(run("--register " + dir / "reg.csv" + " --out-dir " + dir / "par --jobs 4" + formats).status,
              0);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir.path / "seq")) {
        const fs::path other = dir.path / "par" / entry.path().filename();
        const std::string content = withoutDate(entry.path());
        EXPECT_GT(content.size(), 100u) << entry.path();
        EXPECT_EQ(content, withoutDate(other)) << entry.path();
        ++files;
    }
    EXPECT_EQ(files, 6 * 3 + 1);
}

std::map<std::string, std::string> tableByLevel(const std::string& rows) {
    std::map<std::string, std::string> values;
    std::istringstream in(rows);
    for (std::string line; std::getline(in, line);)
        values[line.substr(0, line.find(','))] = line.substr(line.find(',') + 1);
    return values;
}

TEST(Chart, PointsAreTheTablesValues) {
    Dir dir;
    write(dir / "a.tank", kTank);
    struct Case {
        std::string inputs;
        int n;
        std::string tableLevels;
        int lines;
    };
    const Case cases[] = {
        {"--tank " + dir / "a.tank", 20, "Edit6=0 Edit7=2000 Edit8=100", 21},
        {"--tank " + dir / "a.tank" +
             " exact=yes left.shape=hemisphere right.shape=hemisphere weight=yes density=850 "
             "density_unit=kg/m3",
         8, "Edit6=0 Edit7=2000 Edit8=250 CheckBox1=0", 9},
        {"--tank " + dir / "a.tank" + " structure=points 'point=250,10;1000,500;2000,1500' dead_volume=5", 7,
         "Edit6=250 Edit7=2000 Edit8=250", 8},
    };
    for (const auto& c : cases) {
        const Result chart = run(c.inputs + " --chart " + std::to_string(c.n) + " --out " + dir / "c.csv");
        ASSERT_EQ(chart.status, 0) << chart.err;
        const auto table = tableByLevel(run(c.inputs + " " + c.tableLevels).out);
        std::istringstream in(read(dir.path / "c.csv"));
        int points = 0;
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with('#')) continue;
            const double mm = std::stod(line.substr(0, line.find(',')));
            std::ostringstream cm;
            cm << mm / 10;
            EXPECT_EQ(line.substr(line.find(',') + 1), table.at(cm.str())) << c.inputs << ' ' << line;
            ++points;
        }
        EXPECT_EQ(points, c.lines) << c.inputs;
    }
    for (const char* n : {"0", "1001", "x"})
        EXPECT_EQ(run("--tank " + dir / "a.tank" + " --chart " + n + " --out " + dir / "c.csv").status, 3);
}

TEST(TankOption, NamesOverrideTheFileAndEveryNameIsListed) {
    Dir dir;
    write(dir / "a.tank", kTank);
    const Result byFile = run("--tank " + dir / "a.tank" + " D=2600 right.shape=flat step=500");
    const Result byComponents =
        run("RadioButton1=1 Edit1=2600 Edit2=5000 RadioButton15=1 Edit21=40 Edit22=540 "
            "RadioButton14=1 Edit6=0 Edit7=2000 Edit8=500 Edit9=50 Edit13=0 Edit31=0 "
            "Edit32=0 Edit33=0");
    EXPECT_EQ(byFile.status, 0) << byFile.err;
    EXPECT_EQ(byFile.out, byComponents.out);
    EXPECT_EQ(run("--tank " + dir / "a.tank" + " right.shape=flat right.h=5").status,
              3); // a flat head has no h
    const Result listing = run("--inputs");
    for (const char* name :
         {"structure\tPageControl1", "left.H2\tEdit24 (cone)", "point\t", "owner\tTankOwner"})
        EXPECT_NE(listing.out.find(std::string("\n") + name), std::string::npos) << name;
}

} // namespace
