// A vertical tank's document: the main table with its 备注 on the roof's zone, then the
// millimetre and the hydrostatic tables, each under its title on a page of its own, read
// back with poppler's pdftotext; the density they need refuses the document without it.
#include "output/table_document.h"
#include "output/table_columns.h"

#include "capacity/memory_inputs.h"
#include "capacity/requests.h"
#include "capacity/vertical_tables.h"

#include "output_test_util.h"
#include "gui_application.h"
#include "pdf_text.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <memory>

namespace kelvora::output {
namespace {

using ::kelvora::test::pagesOf;
using ::kelvora::test::withoutBlanks;

capacity::MemoryInputs verticalTank() {
    auto in = capacity::MemoryInputs::afterStartup();
    in.setActivePage(4);
    for (auto [name, value] :
         {std::pair{"VerticalCourses", "1500,37761.94369614931,10;1500,37749.37732553495,8;1200,37730,6"},
          {"VerticalDensity", "860"}, {"VerticalRoofMass", "8600"}, {"VerticalRoofFloat", "1800"},
          {"VerticalRoofRest", "1000"}, {"Edit6", "0"}, {"Edit7", "4200"}, {"Edit8", "100"}, {"Edit9", "50"},
          {"TankNumber", "V-1"}})
        in.setText(name, value);
    return in;
}

TEST(VerticalDocument, ThreeTablesAndTheRoofZone) {
    auto in = verticalTank();
    capacity::RowList rows, increase;
    ASSERT_FALSE(capacity::GenerateCapacityTable(in, rows).stopped());
    ASSERT_FALSE(capacity::HydrostaticTable(in, increase).stopped());
    const auto d = capacity::ReadTankDescription(in, capacity::RequestType::Table).description;
    ASSERT_TRUE(d);
    const TableDocument doc = describeTable(*d, in, rows, "2026-03-01");

    // 备注 on the rows from 100 cm up to, not including, 180 cm.
    ASSERT_EQ(doc.extraHeadings, std::vector<std::string>{"备注"});
    for (std::size_t i = 0; i < doc.rows.size(); ++i)
        EXPECT_EQ(doc.rows[i].extra[0], i >= 10 && i < 18 ? "浮盘起浮区" : "") << doc.rows[i].level;
    ASSERT_EQ(doc.appendices.size(), 2u);
    EXPECT_EQ(doc.appendices[0].title, "小数表");
    EXPECT_EQ(doc.appendices[0].rows.size(), 3u);
    EXPECT_EQ(doc.appendices[0].rows[2][0], "3");
    EXPECT_EQ(doc.appendices[1].title, "静压力容量增大值表");
    ASSERT_EQ(doc.appendices[1].rows.size(), increase.size());
    const std::string lastIncrease(increase[increase.size() - 1]);
    EXPECT_EQ(doc.appendices[1].rows.back()[1], lastIncrease.substr(lastIncrease.find(',') + 1));

    test::TempDir dir;
    const std::string path = dir.path() + "/vertical.pdf";
    saveTableDocumentPdf(path, doc);
    const std::vector<std::string> pages = pagesOf(path);
    std::string all;
    for (const auto& page : pages)
        all += withoutBlanks(page) + "\f";
    const auto millimetre = all.find("小数表"), hydrostatic = all.find("静压力容量增大值表");
    ASSERT_NE(millimetre, std::string::npos);
    ASSERT_NE(hydrostatic, std::string::npos);
    EXPECT_LT(millimetre, hydrostatic);
    EXPECT_LT(all.find("浮盘起浮区"), millimetre);
    EXPECT_NE(all.find(withoutBlanks("113.10 226.19"), millimetre), std::string::npos); // course 1: 1 and 2 mm
    EXPECT_NE(all.find(lastIncrease.substr(lastIncrease.find(',') + 1), hydrostatic), std::string::npos);
    EXPECT_NE(all.rfind("批准"), std::string::npos);
    EXPECT_GT(all.rfind("批准"), hydrostatic); // the sign-off after the last table
}

TEST(VerticalDocument, RefusedWithoutTheDensity) {
    auto in = verticalTank();
    for (auto name : {"VerticalDensity", "VerticalRoofMass", "VerticalRoofFloat", "VerticalRoofRest"})
        in.setText(name, "");
    EXPECT_EQ(documentInputsRefusal(in), "呵呵，静压力容量增大值和浮顶排液量要先输入液体密度！");
    in.setText("VerticalDensity", "860");
    EXPECT_EQ(documentInputsRefusal(in), "");
}

} // namespace
} // namespace kelvora::output
