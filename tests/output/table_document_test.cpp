// The PDF document read back with poppler's tools, as a user's copy, search or a filing
// system would read it: every (level, value) pair in reading order, the header's values,
// A4 pages of the expected count, every font embedded; and saves that fail or are refused.
#include "output/table_document.h"

#include "capacity/calibration_grid.h"
#include "capacity/memory_inputs.h"
#include "capacity/page_inputs.h"
#include "capacity/requests.h"
#include "kernel/errors.h"

#include "output_test_util.h"
#include "gui_application.h"
#include "pdf_text.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <algorithm>
#include <cmath>
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

// A value as the document shows it: exactly two decimals, the row's number.
void expectTwoDecimalsOf(const std::string& shown, std::string_view rowValue) {
    static const std::regex twoDecimals(R"(-?[0-9]+\.[0-9]{2})");
    EXPECT_TRUE(std::regex_match(shown, twoDecimals)) << shown;
    const double row = std::stod(std::string(rowValue));
    EXPECT_NEAR(std::stod(shown), row, 0.005 + std::abs(row) * 1e-15) << shown << " for " << rowValue;
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
    // The header of a table with rows: its last row, below the whole tank's 满罐容量, adds
    // 最高液位容积, which an empty table has not.
    const PageGrid g = a4PageGrid(f.document(syntheticRows(1)));
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
        // The levels with their decimals lined up: "0.0" beside "0.5".
        const std::vector<std::string> levels = alignedLevelTexts(rows);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::string_view row = rows[i];
            ASSERT_EQ(pairs[i].first, levels[i]) << "row " << i;
            expectTwoDecimalsOf(pairs[i].second, row.substr(row.find(',') + 1));
        }

        for (int p = 0; p < c.pages; ++p) {
            const std::string page = withoutBlanks(pages[p]);
            EXPECT_NE(page.find("罐号：T-07A3"), std::string::npos) << p;
            EXPECT_NE(page.find("第" + std::to_string(p + 1) + "页共" + std::to_string(c.pages) + "页"),
                      std::string::npos)
                << p;
            EXPECT_NE(page.find("高度cm容积L"), std::string::npos) << p;
            EXPECT_EQ(page.find("计算：复核：批准：（盖章）") != std::string::npos, p == c.pages - 1) << p;
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
              "液位范围：0~200cm，间隔0.5cm", "生成日期：2026-03-01"})
            EXPECT_NE(first.find(expected), std::string::npos) << expected << "\n" << first;
        EXPECT_NE(first.find(weight ? "高度cm重量Kg" : "高度cm容积L"), std::string::npos);
        EXPECT_EQ(first.find(weight ? "容积L" : "重量Kg"), std::string::npos);
        if (weight) {
            EXPECT_NE(first.find("计量方式：重量（kg），密度850kg/m³"), std::string::npos) << first;
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

struct Word {
    double xMin, yMin, xMax, yMax;
    std::string text;
};

// The words of each page with their boxes in points, as pdftotext -bbox gives them.
std::vector<std::vector<Word>> wordsOf(const std::string& pdf) {
    static const std::regex word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    std::vector<std::vector<Word>> pages;
    std::istringstream lines(run("pdftotext -bbox '" + pdf + "' - 2>&1"));
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (line.find("<page ") != std::string::npos) pages.emplace_back();
        else if (std::regex_search(line, m, word) && !pages.empty())
            pages.back().push_back({std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
    }
    return pages;
}

TEST_F(TableDocumentTest, LongAndHostileTextsStayInTheirBoxes) {
    auto repeat = [](const std::string& s, std::size_t n) {
        std::string r;
        for (std::size_t i = 0; i < n; ++i) r += s;
        return r;
    };
    auto digits = [](std::size_t n) {
        std::string r = "T-";
        for (std::size_t i = 0; r.size() < n; ++i) r += static_cast<char>('0' + i % 10);
        return r;
    };
    struct Case {
        const char* what;
        std::string number, owner;
        std::string shown; // the header's "罐号：…使用单位：…" without blanks; empty: cut with "…"
    };
    const Case cases[] = {
        {"line breaks and tabs", "T-07\n\tA3", "某某\r\n油库", "罐号：T-07A3使用单位：某某油库"},
        {"both at their limits", repeat("罐", 64), repeat("库", 128),
         "罐号：" + repeat("罐", 64) + "使用单位：" + repeat("库", 128)},
        {"a 125-character number", digits(125), "某某油库", "罐号：" + digits(125) + "使用单位：某某油库"},
        {"a 2,047-character number", digits(2047), repeat("库", 300), ""},
        {"a 40,000-character number", repeat("罐", 40000), "某某油库", ""},
    };
    constexpr double kRight = 595.0 - 15 / 25.4 * 72 + 0.5, kBottom = 842.0 - 15 / 25.4 * 72 + 0.5;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        f.inputs.setText("TankNumber", c.number);
        f.inputs.setText("TankOwner", c.owner);
        const capacity::RowList rows = syntheticRows(500);
        const std::string pdf = path("long.pdf");
        saveTableDocumentPdf(pdf, f.document(rows));

        const auto pages = wordsOf(pdf);
        ASSERT_EQ(pages.size(), pagesOf(pdf).size());
        for (std::size_t p = 0; p < pages.size(); ++p) {
            SCOPED_TRACE("page " + std::to_string(p + 1));
            // The running head: the page number stands whole, right of everything on its line.
            const auto number = std::find_if(pages[p].begin(), pages[p].end(), [](const Word& w) { return w.text == "第"; });
            ASSERT_NE(number, pages[p].end());
            for (const Word& w : pages[p]) {
                EXPECT_LE(w.xMax, kRight) << w.text;
                EXPECT_LE(w.yMax, kBottom) << w.text;
                if (std::abs(w.yMin - number->yMin) < 1 && w.xMin < number->xMin) {
                    EXPECT_LT(w.xMax, number->xMin) << w.text;
                }
            }
            EXPECT_NE(withoutBlanks(pagesOf(pdf)[p]).find("第" + std::to_string(p + 1) + "页共" +
                                                           std::to_string(pages.size()) + "页"),
                      std::string::npos);
        }
        const std::string first = withoutBlanks(pagesOf(pdf).at(0));
        if (!c.shown.empty()) {
            EXPECT_NE(first.find(c.shown), std::string::npos) << first;
        } else {
            // Three lines of the number at most, the last cut; the owner's box below it.
            const auto label = first.rfind("罐号：" + c.number.substr(0, 30), first.find("…使用单位："));
            ASSERT_NE(label, std::string::npos) << first;
            const auto cut = first.find("…使用单位：", label);
            ASSERT_NE(cut, std::string::npos) << first;
            EXPECT_LT(cut - label, std::size_t(600));
        }
    }
}

TEST_F(TableDocumentTest, ACharacterNoFontShowsIsRefusedNeverDropped) {
    struct Case {
        const char* number;
        const char* owner;
        const char* refusal; // empty: the document is made
    };
    const Case cases[] = {
        {"T-07①€", "某某油库　一区", ""},
        {"T-07\U0001D11E", "某某油库", "罐号中的字符“\U0001D11E”（U+1D11E）无法在文档中显示！"},
        {"T-07", "某某\U00013000油库", "使用单位中的字符“\U00013000”（U+13000）无法在文档中显示！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        Fixture f;
        f.inputs.setText("TankNumber", c.number);
        f.inputs.setText("TankOwner", c.owner);
        const capacity::RowList rows = syntheticRows(10);
        const TableDocument doc = f.document(rows);
        EXPECT_EQ(unprintableCharacterRefusal(doc), c.refusal);
        const std::string pdf = path("refused.pdf");
        if (*c.refusal) {
            try {
                saveTableDocumentPdf(pdf, doc);
                ADD_FAILURE() << "no refusal";
            } catch (const Error& e) {
                EXPECT_STREQ(e.what(), c.refusal);
            }
            EXPECT_FALSE(fs::exists(pdf));
        } else {
            saveTableDocumentPdf(pdf, doc);
            EXPECT_NE(withoutBlanks(pagesOf(pdf).at(0)).find(std::string("罐号：") + c.number), std::string::npos);
            fs::remove(pdf);
        }
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

// A tank of any structure, described for the document as the window would.
struct Tank {
    capacity::MemoryInputs inputs = capacity::MemoryInputs::afterStartup();
    capacity::RowList rows;
    TableDocument doc;
    Tank(int page, const std::vector<std::pair<std::string, std::string>>& values) {
        inputs.setActivePage(page);
        for (const auto& [name, value] : values) {
            const auto kind = capacity::findAnyInput(name)->kind;
            if (kind == capacity::InputKind::CheckBox || kind == capacity::InputKind::RadioButton)
                inputs.setChecked(name, value == "1");
            else
                inputs.setText(name, value);
        }
        if (page == 3) {
            capacity::applyPointCount(inputs);
            const char* points[][2] = {{"0", "0"}, {"800", "1500"}, {"1600", "3600"}};
            for (int i = 0; i < 3; ++i)
                for (int c = 0; c < 2; ++c)
                    inputs.grid().setCell(c + 1, i + 1, points[i][c]);
        }
        const auto outcome = capacity::GenerateCapacityTable(inputs, rows);
        EXPECT_FALSE(outcome.stopped()) << outcome.message;
        const ShownTable shown = describeShownTable(inputs, rows);
        EXPECT_TRUE(shown.description) << shown.message;
        if (shown.description) doc = describeTable(*shown.description, inputs, rows, "2026-03-01");
    }
};

const std::vector<std::pair<std::string, std::string>> kTankCommon{
    {"Edit6", "0"},  {"Edit8", "100"}, {"Edit9", "10"}, {"Edit13", "0"},   {"Edit31", "0"},
    {"Edit32", "0"}, {"Edit33", "0"},  {"TankNumber", "T-9"}, {"TankOwner", "某油库"}};

std::vector<std::pair<std::string, std::string>> with(std::vector<std::pair<std::string, std::string>> a,
                                                      const std::vector<std::pair<std::string, std::string>>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Positions of each text in order in `page`; fails on the first one missing or out of order.
void expectInOrder(const std::string& page, const std::vector<std::string>& texts) {
    std::size_t at = 0;
    for (const auto& text : texts) {
        const std::size_t found = page.find(text, at);
        ASSERT_NE(found, std::string::npos) << "“" << text << "” missing or out of order in\n" << page;
        at = found + text.size();
    }
}

TEST_F(TableDocumentTest, HeaderReadsInOrderForEveryStructure) {
    const std::vector<std::pair<std::string, std::string>> certificate{
        {"CertificateNumber", "JL-2026-0815"}, {"IssuingBody", "某市计量测试所"}, {"ValidUntil", "2027-12-31"}};
    struct Case {
        const char* what;
        int page;
        std::vector<std::pair<std::string, std::string>> values;
        std::vector<std::string> inOrder; // texts of the first page without blanks
    };
    const Case cases[] = {
        {"horizontal, certificate",
         0,
         with(with(kTankCommon, certificate),
              {{"RadioButton1", "1"}, {"Edit1", "2000"}, {"Edit2", "5000"}, {"Edit7", "2000"}}),
         {"罐号：T-9", "使用单位：某油库", "结构形式：水平圆筒（正圆）", "计算方法：规定公式", "计算依据：",
          "参考温度：20℃", "主体尺寸：D=2000mm，L=5000mm", "左封头：", "右封头：", "罐底死量：0L", "附件：无",
          "液位范围：0~200cm，间隔10cm", "计量方式：容积（L）", "满罐容量：15707.96L",
          "证书编号：JL-2026-0815", "编制单位：某市计量测试所", "有效期至：2027-12-31",
          "生成日期：2026-03-01"}},
        {"inclined, low end right, weight in g/cm³",
         1,
         with(kTankCommon, {{"Edit29", "1"},
                            {"Edit30", "0"},
                            {"Edit39", "2500"},
                            {"Edit40", "2000"},
                            {"Edit41", "2000"},
                            {"Edit42", "5000"},
                            {"Edit7", "2000"},
                            {"RadioButton4", "1"},
                            {"CheckBox1", "1"},
                            {"Edit37", "0.85"},
                            {"ComboBox1", "g/cm^3"}}),
         {"罐号：", "使用单位：", "结构形式：倾斜圆筒", "计算方法：",
          "主体尺寸：B=2000mm，A=2000mm，L=5000mm", "倾斜：α=1°，β=0°，F=2500mm，低端在右", "左封头：",
          "右封头：", "罐底死量：", "附件：", "液位范围：", "计量方式：重量（kg），密度0.85g/cm³",
          "满罐容量：", "kg", "生成日期："}},
        {"sphere",
         2,
         with(kTankCommon, {{"Edit34", "2000"}, {"Edit7", "2000"}}),
         {"罐号：", "使用单位：", "结构形式：球罐", "计算方法：", "主体尺寸：D=2000mm", "罐底死量：",
          "附件：", "液位范围：", "计量方式：", "满罐容量：4188.79L", "生成日期："}},
        {"calibration, extrapolated",
         3,
         with(kTankCommon, {{"ComboBox2", "3"}, {"Edit7", "2000"}}),
         {"罐号：",
          "使用单位：",
          "结构形式：罐容标定（标定点插值）",
          "计算方法：标定点插值",
          "主体尺寸：3个标定点",
          "罐底死量：",
          "附件：",
          "液位范围：",
          "计量方式：",
          "满罐容量：",
          "序号高度mm容积L",
          "1",
          "0",
          "0",
          "2",
          "800",
          "1500",
          "3",
          "1600",
          "3600",
          "外推：液位1600~2000mm",
          "生成日期："}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Tank t(c.page, c.values);
        const std::string pdf = path("order.pdf");
        saveTableDocumentPdf(pdf, t.doc);
        const auto pages = pagesOf(pdf);
        ASSERT_FALSE(pages.empty());
        expectInOrder(withoutBlanks(pages[0]), c.inOrder);
        // Every value with two decimals; the top row's value is the full capacity, or, where the
        // table does not reach the whole tank (an inclined tank), 最高液位容积 beside it.
        const auto pairs = tableOf(pages);
        ASSERT_EQ(pairs.size(), t.rows.size());
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            const std::string_view row = t.rows[i];
            expectTwoDecimalsOf(pairs[i].second, row.substr(row.find(',') + 1));
        }
        const std::string header = withoutBlanks(pages[0]);
        EXPECT_TRUE(header.find("满罐容量：" + pairs.back().second) != std::string::npos ||
                    header.find("最高液位容积：" + pairs.back().second) != std::string::npos)
            << header;
    }
}


// The rows of a document whose pairs have `k` columns, in reading order: on each page the
// lines made only of numbers hold group j in tokens kj … kj + k - 1; the last row's empty
// per-millimetre cell shortens the final group.
std::vector<std::vector<std::string>> groupsOf(const std::vector<std::string>& pages, std::size_t k) {
    static const std::regex numberToken(R"(-?[0-9]+(\.[0-9]+)?%?)");
    std::vector<std::vector<std::string>> rows;
    for (const auto& page : pages) {
        std::vector<std::vector<std::vector<std::string>>> columns;
        for (const auto& tokens : ::kelvora::test::numericLines(page, numberToken)) {
            if (tokens.size() < k - 1) continue;
            columns.resize(std::max(columns.size(), (tokens.size() + k - 1) / k));
            for (std::size_t j = 0; j * k < tokens.size(); ++j)
                columns[j].emplace_back(tokens.begin() + static_cast<std::ptrdiff_t>(j * k),
                                        tokens.begin() + static_cast<std::ptrdiff_t>(std::min(tokens.size(), j * k + k)));
        }
        for (const auto& column : columns)
            rows.insert(rows.end(), column.begin(), column.end());
    }
    return rows;
}

TEST_F(TableDocumentTest, UncertaintyAndPerMillimetreColumnsOnlyWhenAsked) {
    const auto tank = with(kTankCommon, {{"RadioButton1", "1"}, {"Edit1", "2000"}, {"Edit2", "5000"}, {"Edit7", "2000"},
                                         {"Edit8", "10"}, {"Edit6", "100"}}); // no row of value 0, whose U/V is blank
    const std::vector<std::pair<std::string, std::string>> uncertain{
        {"UncertaintySection", "1"}, {"UncertaintyLength", "2"}, {"UncertaintyLevel", "1"}};
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> values;
        bool uncertainty, perMm;
    };
    const Case cases[] = {
        {"neither", tank, false, false},
        {"per millimetre", with(tank, {{"PerMillimetre", "1"}}), false, true},
        {"uncertainty", with(tank, uncertain), true, false},
        {"both, in weight", with(with(tank, uncertain), {{"PerMillimetre", "1"}, {"CheckBox1", "1"}, {"Edit37", "850"},
                                                         {"ComboBox1", "Kg/m^3"}}),
         true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Tank t(0, c.values);
        const std::string pdf = path("columns.pdf");
        saveTableDocumentPdf(pdf, t.doc);
        const auto pages = pagesOf(pdf);
        ASSERT_GE(pages.size(), 2u);
        const std::string first = withoutBlanks(pages[0]);
        EXPECT_EQ(first.find("扩展不确定度U_rel≤") != std::string::npos, c.uncertainty) << first;
        EXPECT_EQ(first.find("（k=2），液位") != std::string::npos, c.uncertainty);
        // The page's order: 每毫米容量, then U with its unit and U/V.
        const bool weight = c.values.back().second == "Kg/m^3";
        EXPECT_EQ(first.find(weight ? "U(kg)U/V" : "U(L)U/V") != std::string::npos, c.uncertainty);
        EXPECT_EQ(first.find(c.uncertainty ? "每毫米容量U(" : "每毫米容量") != std::string::npos, c.perMm);

        const std::size_t k = 2 + (c.uncertainty ? 2 : 0) + (c.perMm ? 1 : 0);
        const auto rows = groupsOf(pages, k);
        ASSERT_EQ(rows.size(), t.rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(i);
            const auto& r = rows[i];
            // The last row has no value per millimetre: its U and U/V come one place earlier.
            const bool last = i + 1 == rows.size();
            ASSERT_EQ(r.size(), last && c.perMm ? k - 1 : k);
            const std::string_view row = t.rows[i];
            EXPECT_EQ(r[0], row.substr(0, row.find(',')));
            expectTwoDecimalsOf(r[1], row.substr(row.find(',') + 1));
            const std::size_t u = 2 + (c.perMm && !last ? 1 : 0);
            if (c.uncertainty) {
                const double value = std::stod(r[1]), U = std::stod(r[u]);
                EXPECT_GT(U, 0);
                if (value > 0) {
                    EXPECT_NEAR(std::stod(r[u + 1]), U / value * 100,
                                0.0005 + 0.005 / value * 100 + 1e-3 * U / value * 100);
                }
            }
            // The volume per millimetre up to the next row, from the unrounded volumes: within
            // its own rounding and the rows' two roundings over the 10 mm between them.
            if (c.perMm && !last) {
                const double expected = (std::stod(rows[i + 1][1]) - std::stod(r[1])) /
                                        ((std::stod(rows[i + 1][0]) - std::stod(r[0])) * 10);
                EXPECT_NEAR(std::stod(r[2]), expected, 0.005 + 0.001 + 1e-12);
                EXPECT_EQ(r[2].size() - r[2].find('.'), 3u) << r[2];
            }
        }
    }
}

} // namespace
} // namespace kelvora::output
