// kelvora-table --register writes only what it should: names that would overwrite what is
// not a row's own, symbolic links, text in number cells, write failures, the folder's
// lock, the summary while the tables are made, the files of refused rows, the limit of
// tanks, and the refusals of the batch tool's own path.

#include "register_fixture.h"
#include "run_table.h"

#include <algorithm>
#include <fcntl.h>
#include <set>
#include <sys/file.h>

namespace {

Result runRegister(const std::string& registerFile, const std::string& outDir, const std::string& extra = "",
                   const std::string& launcher = "") {
    return run("--register '" + registerFile + "' --out-dir '" + outDir + "' " + extra, launcher);
}

std::set<std::string> listing(const fs::path& dir) {
    std::set<std::string> names;
    if (fs::exists(dir))
        for (const auto& entry : fs::directory_iterator(dir))
            names.insert(entry.path().filename().string());
    return names;
}

// The summary's line of a tank, without its line break; empty when there is none.
std::string summaryLine(const std::string& summary, const std::string& number) {
    const auto at = summary.find("\n" + number + ",");
    if (at == std::string::npos) return {};
    return summary.substr(at + 1, summary.find('\n', at + 1) - at - 1);
}

TEST(RegisterNames, ClashesRefuseTheRegisterBeforeAnythingIsWritten) {
    struct Case {
        std::string registerName; // in the output folder when it starts with "out/"
        std::string csv, formats, message;
    };
    const std::string composed = "Caf\xC3\xA9", decomposed = "Cafe\xCC\x81";
    const Case cases[] = {
        {"reg.csv", "tank_number,D\nsummary,2000\n", "csv", "与汇总文件“summary.csv”相同"},
        {"reg.csv", "tank_number,D\nT-1,2000\nSUMMARY,2000\n", "pdf,csv",
         "第3行罐号“SUMMARY”的文件名与汇总文件"},
        {"out/T1.csv", "tank_number,D\nT1,2000\n", "csv", "第2行罐号“T1”的文件名与登记表"},
        {"out/reg.CSV", "tank_number,D\nT-1,2000\nReg,2000\n", "pdf,csv", "罐号“Reg”的文件名与登记表"},
        {"reg.csv", "tank_number,D\nT-a,2000\nt-A,2000\n", "pdf",
         "罐号“t-A”重复：与“T-a”的文件名相同（第2行和第3行）"},
        {"reg.csv", "tank_number\n" + composed + "\nX\n" + decomposed + "\n", "xlsx",
         "罐号“" + decomposed + "”重复：与“" + composed + "”的文件名相同（第2行和第4行）"},
        {"reg.csv", "tank_number\nA/1\nA_1\n", "pdf", "罐号“A_1”重复：与“A/1”的文件名相同"},
        {"reg.csv", "tank_number\nCON\nCON_\n", "pdf", "罐号“CON_”重复：与“CON”的文件名相同"},
        {"reg.csv", "tank_number\nT-1\nT-1\n", "pdf", "罐号“T-1”重复（第2行和第3行）"},
        {"reg.csv", "tank_number,file\nT-1,\n,missing.tank\n", "pdf",
         "第3行没有罐号（tank_number）：找不到罐文件"},
    };
    for (const auto& c : cases) {
        Dir dir;
        fs::create_directories(dir.path / "out");
        write(dir / c.registerName, c.csv);
        const auto before = listing(dir.path / "out");
        const Result r = runRegister(dir / c.registerName, dir / "out", "--formats " + c.formats);
        EXPECT_EQ(r.status, 1) << c.csv << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.csv << r.err;
        EXPECT_EQ(listing(dir.path / "out"), before) << c.csv;
        EXPECT_EQ(read(dir / c.registerName), c.csv);
    }
}

TEST(RegisterNames, ReservedNamesAreWrittenWithAnUnderscore) {
    Dir dir;
    write(dir / "a.tank", kTank);
    write(dir / "reg.csv", "tank_number,file,step\nCON,a.tank,500\nnul.1,a.tank,500\nLpt3,a.tank,500\n");
    const Result r = runRegister(dir / "reg.csv", dir / "out", "--formats csv");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(listing(dir.path / "out"),
              (std::set<std::string>{"CON_.csv", "nul_.1.csv", "Lpt3_.csv", "summary.csv"}));
}

TEST(RegisterFiles, SymbolicLinksAreReplacedNotFollowed) {
    Dir dir;
    fs::create_directories(dir.path / "out");
    write(dir / "a.tank", kTank);
    write(dir / "victim.txt", "keep");
    fs::create_symlink(dir.path / "victim.txt", dir.path / "out" / "T-1.csv");
    fs::create_symlink(dir.path / "nowhere.txt", dir.path / "out" / "T-2.csv");
    fs::create_symlink(dir.path / "victim.txt", dir.path / "out" / "T-3.csv"); // of a row refused
    fs::create_symlink(dir.path / "victim.txt", dir.path / "out" / "summary.csv");
    fs::create_symlink(dir.path / "victim.txt", dir.path / "out" / ".kelvora-register.lock");
    write(dir / "reg.csv", "tank_number,file,step\nT-1,a.tank,500\nT-2,a.tank,500\nT-3,a.tank,0\n");
    const Result r = runRegister(dir / "reg.csv", dir / "out", "--formats csv");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(read(dir.path / "victim.txt"), "keep");
    EXPECT_FALSE(fs::exists(dir.path / "nowhere.txt"));
    for (const char* name : {"T-1.csv", "T-2.csv"}) {
        EXPECT_FALSE(fs::is_symlink(dir.path / "out" / name)) << name;
        EXPECT_TRUE(read(dir.path / "out" / name).starts_with("\xEF\xBB\xBF高度cm,容积L")) << name;
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path / "out" / "T-3.csv")));
    EXPECT_FALSE(fs::is_symlink(dir.path / "out" / "summary.csv"));
    EXPECT_TRUE(read(dir.path / "out" / "summary.csv").starts_with("\xEF\xBB\xBF罐号"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path / "out" / ".kelvora-register.lock")));
}

TEST(RegisterCells, TextWhereANumberBelongsRefusesTheRow) {
    struct Case {
        std::string heading, cell, message;
    };
    const Case cases[] = {
        {"D", "abc", "第2行“D”列的“abc”不是数字"},
        {"step", "1_000", "第2行“step”列的“1_000”不是数字"},
        {"Edit2", "5000mm", "第2行“Edit2”列的“5000mm”不是数字"},
        {"left.H", "54O", "第2行“left.H”列的“54O”不是数字"},
        {"u.level", "inf", "第2行“u.level”列的“inf”不是数字"},
        {"dead_volume", "1e999", "第2行“dead_volume”列的“1e999”不是数字"},
        {"point", "0,0;1O0,5", "第2行“point”列的“0,0;1O0,5”不是数字"},
        {"D", "", ""}, // an empty cell is a value not given: the tank file's
        {"owner", "abc", ""},
        {"left.shape", "ellipsoidal", ""},
    };
    for (const auto& c : cases) {
        Dir dir;
        write(dir / "a.tank", kTank);
        write(dir / "reg.csv", "tank_number,file," + c.heading + "\nT-1,a.tank,\"" + c.cell + "\"\n");
        const Result r = runRegister(dir / "reg.csv", dir / "out", "--formats csv");
        const std::string line = summaryLine(read(dir.path / "out" / "summary.csv"), "T-1");
        if (c.message.empty()) {
            EXPECT_EQ(r.status, 0) << c.heading << r.err;
            EXPECT_NE(line.find(",成功,"), std::string::npos) << line;
            continue;
        }
        EXPECT_EQ(r.status, 1) << c.heading;
        EXPECT_NE(r.err.find("第2行（T-1）拒绝：" + c.message), std::string::npos) << r.err;
        EXPECT_NE(line.find(",拒绝,"), std::string::npos) << line;
        EXPECT_NE(line.find(c.message), std::string::npos) << line;
        EXPECT_FALSE(fs::exists(dir.path / "out" / "T-1.csv"));
    }
}

// The register refuses what the batch tool's --out refuses, with the same message.
TEST(RegisterFiles, RowsTakeTheBatchToolsPathToTheirFiles) {
    struct Case {
        std::string inputs, format;
    };
    const Case cases[] = {
        {"valid_until=2020-02-30", "pdf"},
        {"valid_until=2020-02-30", "xlsx"},
        {"u.level=-1", "pdf"},
        {"u.level=-1", "xls"},
        {"step=0", "csv"},
    };
    for (const auto& c : cases) {
        Dir dir;
        write(dir / "a.tank", kTank);
        const std::string name = c.inputs.substr(0, c.inputs.find('='));
        const std::string value = c.inputs.substr(c.inputs.find('=') + 1);
        const Result batch = run("--tank '" + dir / "a.tank" + "' TankNumber=T-1 " + c.inputs + " --out '" +
                                 dir / ("x." + c.format) + "'");
        ASSERT_EQ(batch.status, 1) << c.inputs << batch.err;
        // The refusal is the last line: a note on the tank file's defaults may come before it.
        std::string err = batch.err;
        if (!err.empty() && err.back() == '\n') err.pop_back();
        const std::string message = err.substr(err.rfind('\n') + 1);
        write(dir / "reg.csv", "tank_number,file," + name + "\nT-1,a.tank," + value + "\n");
        const Result r = runRegister(dir / "reg.csv", dir / "out", "--formats " + c.format);
        EXPECT_EQ(r.status, 1) << c.inputs;
        EXPECT_NE(r.err.find("第2行（T-1）拒绝：" + message + "\n"), std::string::npos) << r.err << message;
        EXPECT_NE(summaryLine(read(dir.path / "out" / "summary.csv"), "T-1").find(",拒绝," + message),
                  std::string::npos);
        EXPECT_FALSE(fs::exists(dir.path / "out" / ("T-1." + c.format)));
    }
    // The workbooks carry the tank's sheet, as the batch tool's do.
    Dir dir;
    write(dir / "a.tank", kTank);
    write(dir / "reg.csv", "tank_number,file,certificate\nT-1,a.tank,C-9\n");
    ASSERT_EQ(runRegister(dir / "reg.csv", dir / "out", "--formats xlsx").status, 0);
    FILE* p = popen(("python3 -c \"import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1])"
                     ".read('xl/workbook.xml'))\" '" +
                     dir / "out/T-1.xlsx" + "'")
                        .c_str(),
                    "r");
    std::string workbook;
    std::array<char, 4096> buf{};
    for (std::size_t n; (n = fread(buf.data(), 1, buf.size(), p)) > 0;)
        workbook.append(buf.data(), n);
    pclose(p);
    EXPECT_NE(workbook.find("罐体数据"), std::string::npos) << workbook;
}

// A file-size limit makes the large table's write fail as a full disk would (EFBIG instead
// of ENOSPC, through the same code).
TEST(RegisterFiles, AWriteFailureKeepsWhatWasWrittenAndSaysSo) {
    Dir dir;
    fs::create_directories(dir.path / "out");
    write(dir / "out/Big.csv", "old big");
    write(dir / "out/Small.csv", "old small");
    write(dir / "a.tank", kTank);
    write(dir / "reg.csv", "tank_number,file,step\nSmall,a.tank,500\nBig,a.tank,1\nLast,a.tank,250\n");
    const Result r =
        runRegister(dir / "reg.csv", dir / "out", "--formats csv --jobs 1", "prlimit --fsize=8192 ");
    EXPECT_EQ(r.status, 2) << r.err;
    const std::string summary = read(dir.path / "out" / "summary.csv");
    EXPECT_NE(summaryLine(summary, "Small").find(",5,"), std::string::npos) << summary;
    EXPECT_NE(summaryLine(summary, "Small").find(",成功,"), std::string::npos) << summary;
    EXPECT_NE(summaryLine(summary, "Big").find(",失败,"), std::string::npos) << summary;
    EXPECT_NE(summaryLine(summary, "Big").find("文件太大"), std::string::npos) << summary;
    EXPECT_NE(summaryLine(summary, "Last").find(",成功,"), std::string::npos) << summary;
    EXPECT_NE(r.err.find("第3行（Big）失败："), std::string::npos) << r.err;
    const std::string small = read(dir.path / "out/Small.csv");
    EXPECT_EQ(std::count(small.begin(), small.end(), '\n'), 6) << small;
    EXPECT_NE(small.find("\r\n200,"), std::string::npos) << small;
    // Whole files only, under their final names; the failed row's old file is gone.
    EXPECT_EQ(listing(dir.path / "out"), (std::set<std::string>{"Small.csv", "Last.csv", "summary.csv"}));
}

TEST(RegisterFiles, ASummaryThatCannotBeWrittenIsNamed) {
    Dir dir;
    write(dir / "a.tank", kTank);
    write(dir / "reg.csv", "tank_number,file,step\nT-1,a.tank,500\n");
    // A folder at the summary's name: nothing is made.
    fs::create_directories(dir.path / "out" / "summary.csv");
    Result r = runRegister(dir / "reg.csv", dir / "out", "--formats csv");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("无法写入汇总文件“" + dir / "out/summary.csv" + "”"), std::string::npos) << r.err;
    EXPECT_EQ(listing(dir.path / "out"), (std::set<std::string>{"summary.csv"}));

    // The summary of every row's status is larger than the one written first, "进行中",
    // which stays when the second cannot be written.
    std::string csv = "tank_number,file,step\n";
    for (int i = 10; i < 50; ++i)
        csv += "T-" + std::to_string(i) + ",a.tank,500\n";
    write(dir / "many.csv", csv);
    r = runRegister(dir / "many.csv", dir / "many", "--formats csv", "prlimit --fsize=1024 ");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("无法写入汇总文件“" + dir / "many/summary.csv" + "”"), std::string::npos) << r.err;
    const std::string summary = read(dir.path / "many" / "summary.csv");
    ASSERT_TRUE(summary.starts_with("\xEF\xBB\xBF罐号,结构,行数,容量,状态,信息\n")) << summary;
    for (int i = 10; i < 50; ++i) {
        const std::string number = "T-" + std::to_string(i);
        EXPECT_EQ(summaryLine(summary, number), number + ",,,,进行中,");
        EXPECT_TRUE(fs::exists(dir.path / "many" / (number + ".csv"))) << number;
    }
}

TEST(RegisterFiles, AFolderAnotherRegisterWritesIsRefused) {
    Dir dir;
    write(dir / "a.tank", kTank);
    write(dir / "reg.csv", "tank_number,file,step\nT-1,a.tank,500\n");
    fs::create_directories(dir.path / "out");
    const fs::path lockFile = dir.path / "out" / ".kelvora-register.lock";
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT, 0666);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    const Result busy = runRegister(dir / "reg.csv", dir / "out", "--formats csv");
    EXPECT_EQ(busy.status, 2);
    EXPECT_NE(busy.err.find("另一个登记表正在写入文件夹"), std::string::npos) << busy.err;
    EXPECT_EQ(listing(dir.path / "out"), (std::set<std::string>{".kelvora-register.lock"}));
    ::close(fd);
    fs::remove(lockFile);
    // A lock file left by a register that died holds no lock.
    write(lockFile.string(), "");
    const Result free = runRegister(dir / "reg.csv", dir / "out", "--formats csv");
    EXPECT_EQ(free.status, 0) << free.err;
    EXPECT_EQ(listing(dir.path / "out"), (std::set<std::string>{"T-1.csv", "summary.csv"}));
}

TEST(RegisterFiles, TheOldFilesOfARowRefusedAreRemoved) {
    Dir dir;
    fs::create_directories(dir.path / "out");
    for (const char* name : {"T-1.csv", "T-1.pdf", "T-2.csv", "T-2.pdf", "T-2.xls", "notes.txt"})
        write(dir / ("out/" + std::string(name)), "old");
    write(dir / "a.tank", kTank);
    write(dir / "reg.csv", "tank_number,file,step\nT-1,a.tank,500\nT-2,a.tank,0\n");
    const Result r = runRegister(dir / "reg.csv", dir / "out", "--formats csv,xls");
    EXPECT_EQ(r.status, 1) << r.err;
    // T-2's files of this run's formats go; what the register does not make stays.
    EXPECT_EQ(listing(dir.path / "out"), (std::set<std::string>{"T-1.csv", "T-1.xls", "T-1.pdf", "T-2.pdf",
                                                                "notes.txt", "summary.csv"}));
    EXPECT_NE(read(dir.path / "out/T-1.csv"), "old");
}

TEST(RegisterLimits, TooManyTanksAreRefusedBeforeAnyRowIsRead) {
    for (const int rows : {10001, 200000}) {
        Dir dir;
        std::string csv = "tank_number,file\n";
        csv.reserve(static_cast<std::size_t>(rows) * 24);
        for (int i = 0; i < rows; ++i)
            csv += "T-" + std::to_string(i) + ",missing.tank\n";
        write(dir / "reg.csv", csv);
        const Result r = runRegister(dir / "reg.csv", dir / "out");
        EXPECT_EQ(r.status, 1) << rows;
        // The reader stops at the first row past the limit.
        EXPECT_NE(r.err.find("登记表超过10000个罐（第10002行），一个登记表最多10000个罐"),
                  std::string::npos)
            << r.err;
        EXPECT_FALSE(fs::exists(dir.path / "out"));
    }
}

} // namespace
