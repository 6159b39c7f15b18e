// kelvora-table --identify run as a process: records made from the tank's own table at
// known angles come back as those angles, in the fixed lines a script reads.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result run(const std::string& args) {
    static int runs = 0;
    const std::string errFile = testing::TempDir() + "kelvora_identify_err_" + std::to_string(getpid()) +
                                "_" + std::to_string(++runs) + ".txt";
    Result r{};
    FILE* p = popen((std::string(KELVORA_TABLE) + " " + args + " 2>" + errFile).c_str(), "r");
    std::array<char, 4096> buf{};
    for (std::size_t n; (n = fread(buf.data(), 1, buf.size(), p)) > 0;)
        r.out.append(buf.data(), n);
    r.status = WEXITSTATUS(pclose(p));
    std::ifstream e(errFile);
    r.err.assign(std::istreambuf_iterator<char>(e), {});
    std::remove(errFile.c_str());
    return r;
}

const std::string kTank = "--page 1 Edit40=2000 Edit41=2000 Edit42=6000 Edit13=0 Edit31=0 Edit32=0 Edit33=0 "
                          "RadioButton18=1 Edit27=400 RadioButton11=1 Edit17=400 ";

// The station's records: the table at α 1.8 (right end low, probe 4500 from the left end)
// and β 3.5 read every 10 mm from 1850 down to 150 mm, as litres dispensed per record.
std::string writeRecords(const std::string& method, int rows) {
    const Result table = run(kTank + method +
                             " Edit29=1.8 Edit30=3.5 RadioButton4=1 Edit39=1500 Edit6=150 "
                             "Edit7=1850 Edit8=10 Edit9=10");
    EXPECT_EQ(table.status, 0) << table.err;
    std::vector<double> litres;
    std::istringstream lines(table.out);
    for (std::string line; std::getline(lines, line);)
        litres.push_back(std::stod(line.substr(line.find(',') + 1)));
    const std::string path = testing::TempDir() + "kelvora_records_" + std::to_string(getpid()) + ".csv";
    std::ofstream csv(path);
    csv << "日期,显示油高/mm,进油量/L,出油量/L\n";
    for (int i = 0; i < rows && i < static_cast<int>(litres.size()); ++i) {
        const std::size_t k = litres.size() - 1 - static_cast<std::size_t>(i);
        csv << "d" << i << "," << 150 + 10 * static_cast<int>(k) << ",,"
            << (i == 0 ? 0.0 : litres[k + 1] - litres[k]) << "\n";
    }
    csv << "d,,,\n";
    return path;
}

TEST(BatchIdentify, RecoversTheAnglesByEitherMethod) {
    for (const std::string method : {"ExactGeometry=0", "ExactGeometry=1"}) {
        const std::string records = writeRecords(method, 1000);
        // The page says the left end is low, F 1500 from the (right) high end: the probe
        // is 4500 from the left end, so for the right end low F reads 4500.
        const Result r =
            run(kTank + method + " Edit29=1 Edit30=1 RadioButton3=1 Edit39=4500 --identify " + records);
        ASSERT_EQ(r.status, 0) << r.err;
        std::istringstream lines(r.out);
        std::vector<std::string> got;
        for (std::string line; std::getline(lines, line);) got.push_back(line);
        ASSERT_EQ(got.size(), 10u) << r.out;
        EXPECT_EQ(got[0], method == "ExactGeometry=1" ? "method,exact" : "method,formulas");
        EXPECT_EQ(got[1], "low_end,right");
        // The table's litres are rounded to two decimals: the angles within that.
        auto value = [&](int line, const char* name) {
            EXPECT_TRUE(got[line].starts_with(std::string(name) + ",")) << got[line];
            return std::stod(got[line].substr(got[line].find(',') + 1));
        };
        EXPECT_NEAR(value(2, "alpha"), 1.8, 2e-4) << got[2];
        EXPECT_NEAR(value(3, "beta"), 3.5, 2e-3) << got[3];
        EXPECT_EQ(got[4], "F,1500");
        EXPECT_TRUE(got[5].starts_with("start_volume,")) << got[5];
        EXPECT_EQ(got[8], "records,171,1");
        EXPECT_EQ(got[9], "outliers,0");
        EXPECT_EQ(r.err, "所用的列：液位“显示油高/mm”，进油量“进油量/L”，出油量“出油量/L”\n");
        std::remove(records.c_str());
    }
}

TEST(BatchIdentify, RefusalsAndUnreadableFiles) {
    const std::string few = writeRecords("ExactGeometry=0", 9);
    const std::string bad = testing::TempDir() + "kelvora_bad_records_" + std::to_string(getpid()) + ".csv";
    std::ofstream(bad) << "显示油高/mm,进油量/L,出油量/L\n1500,,10\n1490,,96.266L\n";
    const std::string crashing = std::string(KELVORA_TEST_DATA) + "/identify/crashing.xls";
    struct Case {
        std::string args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {kTank + "Edit29=1 Edit30=1 Edit39=1500 --identify " + few, 1,
         "呵呵，可用记录不足10条，无法识别变位！\n"},
        {kTank + "Edit29=1 Edit30=1 Edit39=1500 --identify /nonexistent/records.csv", 2, ""},
        {kTank + "Edit29=1 Edit30=1 Edit39=1500 --identify " + few + " --level-column 液位", 2,
         "记录文件中没有“液位”列！\n"},
        {kTank + "Edit29=1 Edit30=1 --identify " + few, 1, "呵呵，倾斜圆筒数据还没输完呢！\n"},
        {kTank + "Edit29=1 Edit30=1 Edit39=1500 --beta-zero", 3, ""},
        {kTank + "Edit29=1 Edit30=1 Edit39=1500 --identify " + bad, 1,
         "记录文件第 3 行“出油量/L”列的“96.266L”不是数！\n"},
        {kTank + "Edit29=1 Edit30=1 Edit39=1500 --identify " + crashing, 2,
         "记录文件不是可读的Excel工作簿！\n"},
    };
    for (const Case& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << r.err;
        EXPECT_EQ(r.out, "") << c.args;
        EXPECT_TRUE(c.err.empty() || r.err == c.err) << c.args << r.err;
    }
    std::remove(few.c_str());
    std::remove(bad.c_str());
}

// The records file with the level of file line `line` (the heading is line 1) replaced.
std::string withLevel(const std::string& path, int line, const std::string& level) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string text; std::getline(in, text);) lines.push_back(text);
    std::string& text = lines[static_cast<std::size_t>(line - 1)];
    const std::size_t from = text.find(',') + 1, to = text.find(',', from);
    text.replace(from, to - from, level);
    const std::string changed = path + ".changed.csv";
    std::ofstream out(changed);
    for (const std::string& t : lines) out << t << "\n";
    return changed;
}

TEST(BatchIdentify, BadReadingsAreRefusedOrSetAside) {
    const std::string records = writeRecords("ExactGeometry=0", 1000);
    const std::string args = kTank + "ExactGeometry=0 Edit29=1 Edit30=1 RadioButton3=1 Edit39=4500 --identify ";
    // One reading above the 2000 mm section: refused, naming its line.
    Result r = run(args + withLevel(records, 40, "2100"));
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "呵呵，记录文件第 40 行的液位 2100 毫米在罐外（应在 0～2000 毫米之间），无法识别变位！\n");
    // A level typed 1000 mm off: set aside, and the angles as without it.
    r = run(args + withLevel(records, 57, "1500"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\nrecords,170,1\noutliers,1,57\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nalpha,1.800"), std::string::npos) << r.out;
    std::remove(records.c_str());
}

} // namespace
