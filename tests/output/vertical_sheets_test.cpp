// A vertical tank's workbook: the table's sheet, "罐体数据", then "小数表" and
// "静压力容量增大值表", read back by readers we did not write.

#include "output/vertical_sheets.h"
#include "output/workbook_export.h"

#include "capacity/memory_inputs.h"
#include "capacity/requests.h"
#include "capacity/vertical_tables.h"
#include "output_test_util.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace kelvora::output {
namespace {

capacity::MemoryInputs verticalTank(const char* density) {
    auto in = capacity::MemoryInputs::afterStartup();
    in.setActivePage(4);
    in.setText("VerticalCourses", "1500,37761.94369614931,10;1500,37749.37732553495,8");
    in.setText("VerticalDensity", density);
    in.setText("Edit6", "0"), in.setText("Edit7", "3000"), in.setText("Edit8", "1000"),
        in.setText("Edit9", "50");
    return in;
}

// Each sheet's cells as the reader prints them, by sheet name.
std::map<std::string, std::vector<std::string>> sheetsOf(const std::string& output) {
    std::map<std::string, std::vector<std::string>> sheets;
    std::istringstream lines(output);
    std::string line, current;
    while (std::getline(lines, line)) {
        if (line.starts_with("sheet\t"))
            current = line.substr(6), sheets[current];
        else
            sheets[current].push_back(line);
    }
    return sheets;
}

TEST(VerticalSheets, MillimetreAndHydrostaticSheetsReadBack) {
    auto in = verticalTank("1000");
    const auto read = capacity::ReadTankDescription(in, capacity::RequestType::Table);
    ASSERT_TRUE(read.description) << read.message;
    capacity::RowList rows, increase;
    ASSERT_FALSE(capacity::GenerateCapacityTable(in, rows).stopped());
    ASSERT_FALSE(capacity::HydrostaticTable(in, increase).stopped());
    const VerticalSheets vertical = verticalSheets(*read.description);
    ASSERT_EQ(vertical.refusal, "");
    ASSERT_EQ(vertical.sheets.size(), 2u);

    const std::vector<DocumentField> tank{{"罐号", "V-1"}};
    test::TempDir dir;
    for (const char* ending : {".xls", ".xlsx"}) {
        SCOPED_TRACE(ending);
        const std::string path = dir.path() + "/vertical" + ending;
        SaveFileToExcel(path, rows, "50", false, tank, SheetLayout::kNoColumns, vertical.sheets);
        const test::CommandResult result = test::runReader("all", path);
        ASSERT_EQ(result.status, 0) << result.errors;
        const auto sheets = sheetsOf(result.output);
        ASSERT_EQ(sheets.size(), 4u) << result.output;
        ASSERT_TRUE(sheets.contains("容积表") && sheets.contains("罐体数据"));

        const auto& millimetre = sheets.at("小数表");
        ASSERT_EQ(millimetre.size(), 30u); // a heading row and two courses of ten cells
        EXPECT_EQ(millimetre[0], "1\t1\ts\t圈板");
        EXPECT_EQ(millimetre[1], "1\t2\ts\t1 mm");
        EXPECT_EQ(millimetre[9], "1\t10\ts\t9 mm");
        EXPECT_EQ(millimetre[10], "2\t1\tn\t1.0");
        EXPECT_EQ(millimetre[20], "3\t1\tn\t2.0");
        // π · 6000² · 1 mm in litres, two decimals.
        EXPECT_EQ(millimetre[11], "2\t2\tn\t113.1");

        const auto& hydrostatic = sheets.at("静压力容量增大值表");
        ASSERT_EQ(hydrostatic.size(), 2 + 2 * increase.size());
        EXPECT_EQ(hydrostatic[0], "1\t1\ts\t高度cm");
        EXPECT_EQ(hydrostatic[1], "1\t2\ts\t增大值L");
        for (std::size_t i = 0; i < increase.size(); ++i) {
            const std::string_view row = increase[i];
            const auto comma = row.find(',');
            const std::string prefix = std::to_string(i + 2) + "\t2\tn\t";
            const std::string& cell = hydrostatic[2 + 2 * i + 1];
            ASSERT_EQ(cell.substr(0, prefix.size()), prefix);
            EXPECT_DOUBLE_EQ(std::stod(cell.substr(prefix.size())),
                             std::stod(std::string(row.substr(comma + 1))));
        }
    }
}

TEST(VerticalSheets, DensityRequiredAndOtherStructuresHaveNone) {
    auto in = verticalTank("");
    const auto read = capacity::ReadTankDescription(in, capacity::RequestType::Table);
    ASSERT_TRUE(read.description);
    const VerticalSheets vertical = verticalSheets(*read.description);
    EXPECT_EQ(vertical.refusal, "呵呵，静压力容量增大值和浮顶排液量要先输入液体密度！");
    EXPECT_TRUE(vertical.sheets.empty());
    EXPECT_TRUE(verticalSheets(capacity::TTankDescription{}).sheets.empty());
    EXPECT_EQ(verticalSheets(capacity::TTankDescription{}).refusal, "");
}

} // namespace
} // namespace kelvora::output

namespace kelvora::output {
namespace {

// The header of the document and of "罐体数据": the courses with their internal diameter,
// tilt, bottom, deadwood, roof and density; no dead volume or attachment.
TEST(VerticalSheets, HeaderFieldsDescribeTheTank) {
    auto in = verticalTank("850");
    in.setText("VerticalDeadwood", "100,900,-12.5");
    in.setText("VerticalRoofMass", "42500"), in.setText("VerticalRoofFloat", "1800"),
        in.setText("VerticalRoofRest", "1200");
    in.setText("VerticalReferenceHeight", "3210");
    const auto read = capacity::ReadTankDescription(in, capacity::RequestType::Table);
    ASSERT_TRUE(read.description) << read.message;
    capacity::RowList rows;
    ASSERT_FALSE(capacity::GenerateCapacityTable(in, rows).stopped());
    const TableDocument doc = describeTable(*read.description, in, rows, "2026-12-09");
    std::map<std::string, std::string> fields;
    for (const auto& f : doc.fields)
        fields[f.label] = f.value;
    EXPECT_EQ(fields["结构形式"], "立式圆筒");
    EXPECT_EQ(fields["第 1 圈板"], "高度 1500 mm，周长 37761.9436961493 mm，板厚 10 mm，内直径 12000 mm");
    EXPECT_EQ(fields["第 2 圈板"], "高度 1500 mm，周长 37749.377325535 mm，板厚 8 mm，内直径 12000 mm");
    EXPECT_EQ(fields["倾斜角"], "0°");
    EXPECT_EQ(fields["罐底点"], "无");
    EXPECT_EQ(fields["罐内附件"], "100 ~ 900 mm：-12.5 L");
    EXPECT_EQ(fields["浮顶"], "质量 42500 kg，起浮高度 1800 mm，落底高度 1200 mm");
    EXPECT_EQ(fields["浮顶排液量"], "50000 L");
    EXPECT_EQ(fields["液体密度"], "850 kg/m³");
    EXPECT_EQ(fields["参照高度"], "3210 mm");
    EXPECT_EQ(fields["浮盘起浮区"], "液位 1200 mm ~ 不含 1800 mm（浮顶落底高度 1200 mm，起浮高度 1800 mm）");
    EXPECT_FALSE(fields.contains("罐底死量"));
    EXPECT_FALSE(fields.contains("附件"));
}

} // namespace
} // namespace kelvora::output
