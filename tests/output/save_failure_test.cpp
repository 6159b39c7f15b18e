// A failed save loses nothing: the target keeps its old contents, no temporary file is
// left behind, and a table the format cannot hold is refused before anything is written.
#include "output/workbook_export.h"
#include "output/xlsx_writer.h"

#include "kernel/errors.h"

#include "expected_sheet.h"
#include "output_test_util.h"

#include <gtest/gtest.h>

#include <csignal>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>

namespace kelvora::output {
namespace {

namespace fs = std::filesystem;
using test::rowList;

std::set<std::string> listing(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

std::vector<std::string> numbered(int count) {
    std::vector<std::string> v;
    for (int i = 0; i < count; ++i)
        v.push_back(std::to_string(i) + ".5," + std::to_string(i * 3) + ".25");
    return v;
}

class SaveFailureTest : public ::testing::TestWithParam<const char*> {
protected:
    std::string target(const std::string& name = "table") const {
        return dir_.path() + "/" + name + GetParam();
    }
    test::TempDir dir_;
};

TEST_P(SaveFailureTest, MissingFolder) {
    const capacity::RowList rows = rowList(numbered(5));
    EXPECT_THROW(SaveFileToExcel(dir_.path() + "/nowhere/table" + GetParam(), rows, "", false), IoError);
    EXPECT_TRUE(listing(dir_.path()).empty());
}

TEST_P(SaveFailureTest, FolderAsTarget) {
    const capacity::RowList rows = rowList(numbered(5));
    fs::create_directory(target());
    EXPECT_THROW(SaveFileToExcel(target(), rows, "", false), IoError);
    EXPECT_TRUE(fs::is_directory(target()));
    EXPECT_TRUE(fs::is_empty(target()));
    EXPECT_EQ(listing(dir_.path()), std::set<std::string>{"table" + std::string(GetParam())});
}

// Never a file beside a device: as root that would replace /dev/full with a regular file.
TEST_P(SaveFailureTest, DeviceAsTarget) {
    const capacity::RowList rows = rowList(numbered(5));
    const auto before = listing("/dev");
    EXPECT_THROW(SaveFileToExcel("/dev/full", rows, "", false), IoError);
    struct stat st {};
    ASSERT_EQ(::stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(listing("/dev"), before);
}

TEST_P(SaveFailureTest, DiskFullKeepsTheOldFile) {
    const capacity::RowList rows = rowList(numbered(50000));
    test::writeFile(target(), "old contents");
    // Both formats give the same reason, and the workbook library prints nothing of its own:
    // a small limit stops its zip writing, a larger one its own temporary files.
    for (rlim_t bytes : {rlim_t{2000}, rlim_t{256 * 1024}}) {
        testing::internal::CaptureStderr();
        std::string message;
        {
            const test::FileSizeLimit limit(bytes);
            try {
                SaveFileToExcel(target(), rows, "", false);
            } catch (const IoError& e) {
                message = e.what();
            }
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << bytes;
        EXPECT_EQ(message, "无法写入文件“" + target() + "”：文件太大") << bytes;
    }
    EXPECT_EQ(test::readFile(target()), "old contents");
    EXPECT_EQ(listing(dir_.path()), std::set<std::string>{"table" + std::string(GetParam())});
}

TEST_P(SaveFailureTest, TooLongCellTextIsRefused) {
    const capacity::RowList rows = rowList({"1," + std::string(32768, 'a')});
    test::writeFile(target(), "old contents");
    EXPECT_THROW(SaveFileToExcel(target(), rows, "", false), Error);
    EXPECT_EQ(test::readFile(target()), "old contents");
    EXPECT_EQ(listing(dir_.path()).size(), 1u);
}

TEST_P(SaveFailureTest, SuccessReplacesTheOldFile) {
    const capacity::RowList rows = rowList(numbered(5));
    test::writeFile(target(), "old contents");
    SaveFileToExcel(target(), rows, "", false);
    const std::string saved = test::readFile(target());
    const std::string magic = std::string(GetParam()) == ".xlsx" ? "PK\x03\x04" : "\xD0\xCF\x11\xE0";
    EXPECT_EQ(saved.substr(0, 4), magic);
    EXPECT_EQ(listing(dir_.path()).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Formats, SaveFailureTest, ::testing::Values(".xls", ".xlsx"),
                         [](const auto& info) { return std::string(info.param + 1); });

// .xls holds 65,536 rows and 256 columns; a table beyond either is refused, and only there.
TEST(XlsLimitTest, RefusedBeyondTheSheet) {
    struct Case {
        const char* edit9;
        int entries;
        const char* extension;
        const char* refusal; // part of the message, or null when the save succeeds
    };
    const Case kCases[] = {
        {"65534", 65534, ".xls", nullptr},  // rows 1 … 65536
        {"65535", 65535, ".xls", "65536"},  // one row more
        {"65535", 65535, ".xlsx", nullptr}, // .xlsx has room
        {"1", 128, ".xls", nullptr},        // columns A … IV
        {"1", 129, ".xls", "256"},          // one group more
        {"1", 129, "", "256"},              // no extension means .xls
    };
    test::TempDir dir;
    for (const Case& c : kCases) {
        const std::string path = dir.path() + "/table" + c.extension;
        test::writeFile(path, "old contents");
        const capacity::RowList rows = rowList(numbered(c.entries));
        if (!c.refusal) {
            EXPECT_NO_THROW(SaveFileToExcel(path, rows, c.edit9, false)) << c.edit9 << " " << c.entries;
            EXPECT_NE(test::readFile(path), "old contents");
        } else {
            try {
                SaveFileToExcel(path, rows, c.edit9, false);
                ADD_FAILURE() << c.entries << " entries were saved";
            } catch (const IoError& e) {
                ADD_FAILURE() << "a file error instead of a refusal: " << e.what();
            } catch (const Error& e) {
                EXPECT_NE(std::string(e.what()).find(c.refusal), std::string::npos) << e.what();
                EXPECT_NE(std::string(e.what()).find(".xlsx"), std::string::npos) << e.what();
            }
            EXPECT_EQ(test::readFile(path), "old contents");
        }
        EXPECT_EQ(listing(dir.path()).size(), 1u) << c.entries;
        fs::remove(path);
    }
}

// The full read-back catches what a package's zip structure does not show: a worksheet cut
// short or with a hole in it, in an otherwise sound package.
TEST(XlsxPackageCheckTest, RejectsDamagedWorksheets) {
    const std::pair<const char*, bool> kCases[] = {{"intact", true}, {"truncated", false}, {"hole", false}};
    test::TempDir dir;
    const capacity::RowList rows = rowList(numbered(500));
    const std::string path = dir.path() + "/table.xlsx";
    const std::atomic<bool> done{true};
    for (const auto& [damage, sound] : kCases) {
        SaveFileToExcel(path, rows, "", false);
        ASSERT_EQ(
            std::system(("/usr/bin/python3 '" KELVORA_DAMAGE_PACKAGE "' '" + path + "' " + damage).c_str()),
            0);
        const std::uint64_t cells = 1 + 2 + 2 * 500;
        if (sound)
            EXPECT_NO_THROW(checkXlsxPackage(path, cells, "", done));
        else
            EXPECT_THROW(checkXlsxPackage(path, cells, "", done), IoError) << damage;
    }
}

TEST(WorkbookFormatTest, ChosenByExtension) {
    const std::pair<const char*, WorkbookFormat> kCases[] = {
        {"油罐容量表.xlsx", WorkbookFormat::Xlsx},
        {"a.XLSX", WorkbookFormat::Xlsx},
        {"/t/a.XlSx", WorkbookFormat::Xlsx},
        {"油罐容量表.xls", WorkbookFormat::Xls},
        {"a.XLS", WorkbookFormat::Xls},
        {"a", WorkbookFormat::Xls},
        {"a.csv", WorkbookFormat::Xls},
        {"a.xlsx.bak", WorkbookFormat::Xls},
        {"xlsx", WorkbookFormat::Xls},
    };
    for (const auto& [name, format] : kCases)
        EXPECT_EQ(workbookFormatFor(name), format) << name;
}

} // namespace
} // namespace kelvora::output
