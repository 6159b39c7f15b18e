// The PDF document read back with poppler's tools, as a user's copy, search or a filing
// system would read it: every (level, value) pair in reading order, the header's values,
// A4 pages of the expected count, every font embedded; and saves that fail or are refused.
#include "output/table_document.h"

#include "capacity/memory_inputs.h"
#include "capacity/requests.h"
#include "kernel/errors.h"

#include "output_test_util.h"
#include "pdf_text.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <memory>

#include <csignal>
#include <regex>
#include <sstream>
#include <sys/resource.h>

namespace kelvora::output {
namespace {

namespace fs = std::filesystem;
using ::kelvora::test::pagesOf;
using ::kelvora::test::run;
using ::kelvora::test::tableOf;
using ::kelvora::test::withoutBlanks;

// One application for the whole program, destroyed before it exits so that Qt hands its
// font caches back (LeakSanitizer counts them otherwise).
class Application : public testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[20] = "table_document_test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] testing::Environment* const kApplication = testing::AddGlobalTestEnvironment(new Application);

void ensureApplication() { ASSERT_NE(QGuiApplication::instance(), nullptr); }

// Distinct texts of every shape a row can have: whole and decimal levels, negative
// failure values, long weights, exponents.
capacity::RowList syntheticRows(std::size_t n) {
    capacity::RowList rows;
    for (std::size_t i = 0; i < n; ++i) {
        std::string value = i % 97 == 5   ? "-1"
                            : i % 89 == 3 ? "1E15"
                                          : std::to_string(i * 137 % 100000) + "." + std::to_string(i % 100);
        if (i % 53 == 7) value = "123456789012.34";
        rows.append(capacity::levelText(static_cast<double>(i) * 5), value);
    }
    return rows;
}

struct Fixture {
    capacity::MemoryInputs inputs = capacity::MemoryInputs::afterStartup();
    capacity::TTankDescription description;

    explicit Fixture(bool weight = false) {
        for (auto [name, value] : {std::pair{"Edit1", "2000"},
                                   {"Edit2", "5000"},
                                   {"Edit6", "0"},
                                   {"Edit7", "2000"},
                                   {"Edit8", "5"},
                                   {"Edit9", "10"},
                                   {"Edit13", "0"},
                                   {"Edit31", "0"},
                                   {"Edit32", "0"},
                                   {"Edit33", "0"},
                                   {"TankNumber", "T-07A3"},
                                   {"TankOwner", "中石化北京分公司"},
                                   {"Edit37", "850"},
                                   {"ComboBox1", "Kg/m^3"}})
            inputs.setText(name, value);
        for (auto name : {"RadioButton1", "RadioButton21", "RadioButton14"})
            inputs.setChecked(name, true);
        inputs.setChecked("CheckBox1", weight);
        description = *capacity::ReadTankDescription(inputs, capacity::RequestType::Table).description;
    }
    TableDocument document(const capacity::RowList& rows) {
        return describeTable(description, inputs, rows, "2026-03-01");
    }
};

class TableDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { ensureApplication(); }
    std::string path(const std::string& name) const { return dir_.path() + "/" + name; }
    test::TempDir dir_;
};

TEST_F(TableDocumentTest, PagesBreakAtTheEdgesAndEveryPairReadsBack) {
    Fixture f;
    const PageGrid g = a4PageGrid(f.document(capacity::RowList{}));
    ASSERT_GE(g.pairs, 4);
    ASSERT_GE(g.rows, 50);
    struct Case {
        const char* what;
        std::size_t rows;
        int pages;
    };
    const Case cases[] = {
        {"empty table", 0, 1},
        {"one row", 1, 1},
        {"a first page not full, shared out over the pairs", g.firstCapacity() - 3, 1},
        {"a first page exactly full", g.firstCapacity(), 1},
        {"one row more", g.firstCapacity() + 1, 2},
        {"two pages exactly full", g.firstCapacity() + g.capacity(), 2},
        {"two pages and one row", g.firstCapacity() + g.capacity() + 1, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const capacity::RowList rows = syntheticRows(c.rows);
        const TableDocument doc = f.document(rows);
        const std::string pdf = path("t.pdf");
        saveTableDocumentPdf(pdf, doc);

        const std::string info = run("pdfinfo '" + pdf + "'");
        EXPECT_NE(info.find("Pages:           " + std::to_string(c.pages) + "\n"), std::string::npos) << info;
        EXPECT_NE(info.find("(A4)"), std::string::npos) << info;

        const auto pages = pagesOf(pdf);
        ASSERT_EQ(static_cast<int>(pages.size()), c.pages);
        const auto pairs = tableOf(pages);
        ASSERT_EQ(pairs.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            ASSERT_EQ(pairs[i].first + "," + pairs[i].second, rows[i]) << "row " << i;

        for (int p = 0; p < c.pages; ++p) {
            const std::string page = withoutBlanks(pages[p]);
            EXPECT_NE(page.find("罐号：T-07A3"), std::string::npos) << p;
            EXPECT_NE(page.find("第" + std::to_string(p + 1) + "页共" + std::to_string(c.pages) + "页"),
                      std::string::npos)
                << p;
            EXPECT_NE(page.find("高度cm容积L"), std::string::npos) << p;
            EXPECT_EQ(page.find("计算：________复核：________日期：________") != std::string::npos,
                      p == c.pages - 1)
                << p;
        }
    }
}

TEST_F(TableDocumentTest, HeaderExtractsAndFontsAreEmbedded) {
    for (const bool weight : {false, true}) {
        Fixture f(weight);
        capacity::RowList rows;
        ASSERT_FALSE(capacity::GenerateCapacityTable(f.inputs, rows).stopped());
        const std::string pdf = path("header.pdf");
        saveTableDocumentPdf(pdf, f.document(rows));

        const std::string first = withoutBlanks(pagesOf(pdf).at(0));
        for (const char* expected :
             {"油罐容积表", "罐号：T-07A3", "使用单位：中石化北京分公司", "结构形式：水平圆筒（正圆）",
              "主体尺寸：D=2000mm，L=5000mm", "左封头：平板封头，容积加上", "计算方法：规定公式",
              "液位范围：0~2000mm，间隔5mm", "生成日期：2026-03-01"})
            EXPECT_NE(first.find(expected), std::string::npos) << expected << "\n" << first;
        EXPECT_NE(first.find(weight ? "高度cm重量Kg" : "高度cm容积L"), std::string::npos);
        EXPECT_EQ(first.find(weight ? "容积L" : "重量Kg"), std::string::npos);
        if (weight) {
            EXPECT_NE(first.find("计量方式：重量（Kg），密度850Kg/m^3"), std::string::npos) << first;
        }
        EXPECT_EQ(tableOf(pagesOf(pdf)).size(), rows.size());

        // Every face embedded, none left to the reader's substitutes.
        std::istringstream fonts(run("pdffonts '" + pdf + "'"));
        std::string line;
        std::getline(fonts, line);
        std::getline(fonts, line);
        int faces = 0;
        for (; std::getline(fonts, line); ++faces) {
            std::istringstream words(line);
            std::vector<std::string> w;
            for (std::string s; words >> s;)
                w.push_back(s);
            ASSERT_GE(w.size(), 5u) << line;
            EXPECT_EQ(w[w.size() - 5], "yes") << line; // the "emb" column
        }
        EXPECT_GE(faces, 2);
    }
}

TEST_F(TableDocumentTest, RefusedAboveTheLimitBeforeAnythingIsWritten) {
    Fixture f;
    const capacity::RowList rows = syntheticRows(kMaxDocumentRows + 1);
    const std::string pdf = path("big.pdf");
    try {
        saveTableDocumentPdf(pdf, f.document(rows));
        ADD_FAILURE() << "no refusal";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), messages::kDocumentTooLong);
    }
    EXPECT_TRUE(fs::is_empty(dir_.path()));
}

TEST_F(TableDocumentTest, FailedSaveKeepsTheOldFile) {
    Fixture f;
    const std::string pdf = path("kept.pdf");
    const std::string old = "an older document\n";
    test::writeFile(pdf, old);
    const capacity::RowList rows = syntheticRows(3000);
    {
        const test::FileSizeLimit limit(4096); // the document is far larger
        EXPECT_THROW(saveTableDocumentPdf(pdf, f.document(rows)), IoError);
    }
    EXPECT_EQ(test::readFile(pdf), old);
    EXPECT_THROW(saveTableDocumentPdf(path("nowhere/t.pdf"), f.document(rows)), IoError);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 1);
}

} // namespace
} // namespace kelvora::output
