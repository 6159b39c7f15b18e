// The certificate a verifier expects, read back from the PDF with pdftotext: the
// certificate number and "第 x 页 共 y 页" on every page, 计算依据 and 参考温度 in the
// header, a 日期 line under each of 计算、复核、批准, and the levels with lined-up decimals.
#include "output/table_document.h"

#include "capacity/memory_inputs.h"
#include "capacity/requests.h"

#include "output_test_util.h"
#include "gui_application.h"
#include "pdf_text.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kelvora::output {
namespace {

using ::kelvora::test::pagesOf;
using ::kelvora::test::withoutBlanks;

struct Made {
    capacity::RowList rows;
    std::vector<std::string> pages; // without blanks
};

Made printed(const std::vector<std::pair<const char*, const char*>>& values, const std::string& path) {
    auto in = capacity::MemoryInputs::afterStartup();
    for (auto [name, value] : {std::pair{"Edit1", "3000"},
                               {"Edit2", "5000"},
                               {"Edit6", "0"},
                               {"Edit7", "3000"},
                               {"Edit8", "1"},
                               {"Edit9", "10"},
                               {"Edit13", "0"},
                               {"Edit31", "0"},
                               {"Edit32", "0"},
                               {"Edit33", "0"},
                               {"TankNumber", "3号罐"}})
        in.setText(name, value);
    for (auto [name, value] : values)
        in.setText(name, value);
    for (auto name : {"RadioButton1", "RadioButton21", "RadioButton14"})
        in.setChecked(name, true);
    Made m;
    EXPECT_FALSE(capacity::GenerateCapacityTable(in, m.rows).stopped());
    const auto d = capacity::ReadTankDescription(in, capacity::RequestType::Table).description;
    saveTableDocumentPdf(path, describeTable(*d, in, m.rows, "2026-03-01"));
    for (const auto& page : pagesOf(path))
        if (!withoutBlanks(page).empty()) m.pages.push_back(withoutBlanks(page));
    return m;
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

TEST(CertificateDocument, RunningHeaderOnEveryPage) {
    struct Case {
        const char* certificate;
        std::string shown; // in every running header
    };
    const Case cases[] = {{"RG-2026-0031", "罐号：3号罐证书编号：RG-2026-0031"}, {"", "罐号：3号罐第1页"}};
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.certificate);
        const Made m = printed({{"CertificateNumber", c.certificate}}, dir.path() + "/t.pdf");
        ASSERT_GE(m.pages.size(), 3u); // 3001 rows
        const std::string total = std::to_string(m.pages.size());
        for (std::size_t i = 0; i < m.pages.size(); ++i) {
            const std::string& page = m.pages[i];
            EXPECT_NE(page.find("第" + std::to_string(i + 1) + "页共" + total + "页"), std::string::npos)
                << i;
            if (*c.certificate)
                EXPECT_NE(page.find(c.shown), std::string::npos) << i;
            else
                EXPECT_EQ(page.find("证书编号"), std::string::npos) << i;
        }
        EXPECT_NE(m.pages[0].find(c.shown), std::string::npos);
    }
}

TEST(CertificateDocument, BasisTemperatureAndDatedSignOff) {
    struct Case {
        const char* basis;
        std::string header;
    };
    const Case cases[] = {{"JJG 266-2018", "计算依据：JJG266-2018"}, {"", "计算依据："}};
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.basis);
        const Made m = printed({{"CalculationBasis", c.basis}, {"Edit8", "100"}}, dir.path() + "/t.pdf");
        ASSERT_EQ(m.pages.size(), 1u);
        const std::string& page = m.pages[0];
        EXPECT_NE(page.find(c.header), std::string::npos) << page;
        EXPECT_NE(page.find("参考温度：20℃"), std::string::npos) << page;
        EXPECT_NE(page.find("液位范围：0~300cm，间隔10cm"), std::string::npos) << page;
        for (const char* signer : {"计算：", "复核：", "批准："})
            EXPECT_EQ(count(page, signer), 1u) << signer;
        // Below the signatures, beside 生成日期 in the header.
        ASSERT_NE(page.find("计算："), std::string::npos);
        EXPECT_EQ(count(page.substr(page.find("计算：")), "日期："), 3u) << page;
    }
}

// A 1 mm step gives one decimal in cm on every level: "292.9" and "293.0" alike.
TEST(CertificateDocument, LevelDecimalsLineUp) {
    test::TempDir dir;
    const Made m = printed({{"Edit6", "2925"}, {"Edit7", "2935"}}, dir.path() + "/t.pdf");
    std::vector<std::string> levels;
    for (const auto& [level, value] : ::kelvora::test::tableOf(pagesOf(dir.path() + "/t.pdf")))
        levels.push_back(level);
    EXPECT_EQ(levels, (std::vector<std::string>{"292.5", "292.6", "292.7", "292.8", "292.9", "293.0", "293.1",
                                                "293.2", "293.3", "293.4", "293.5"}));
    EXPECT_TRUE(std::string_view(m.rows[5]).starts_with("293,")); // the rows themselves keep their texts
}

} // namespace
} // namespace kelvora::output
