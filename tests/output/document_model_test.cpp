// The document in words: what the header says for each kind of tank, and how rows fall
// onto pages. The row texts and the limit are read back from the PDF in table_document_test.
#include "output/document_model.h"

#include "capacity/calibration_grid.h"
#include "capacity/memory_inputs.h"
#include "capacity/page_inputs.h"
#include "capacity/requests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kelvora::output {
namespace {

using Assignments = std::vector<std::pair<std::string, std::string>>;

capacity::MemoryInputs inputsWith(int page, const Assignments& values) {
    auto in = capacity::MemoryInputs::afterStartup();
    in.setActivePage(page);
    for (const auto& [name, value] : values) {
        const auto kind = capacity::findAnyInput(name)->kind;
        if (kind == capacity::InputKind::CheckBox || kind == capacity::InputKind::RadioButton)
            in.setChecked(name, value == "1");
        else
            in.setText(name, value);
    }
    return in;
}

const Assignments kLevels{{"Edit6", "0"},  {"Edit7", "2000"}, {"Edit8", "500"}, {"Edit9", "10"},
                          {"Edit13", "0"}, {"Edit31", "0"},   {"Edit32", "0"},  {"Edit33", "0"}};

Assignments plus(Assignments a, const Assignments& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Made {
    capacity::RowList rows;
    TableDocument doc;
    std::map<std::string, std::string> fields;
};

Made make(int page, const Assignments& values) {
    Made m;
    auto in = inputsWith(page, values);
    const auto outcome = capacity::GenerateCapacityTable(in, m.rows);
    EXPECT_FALSE(outcome.stopped()) << outcome.message;
    const auto read = capacity::ReadTankDescription(in, capacity::RequestType::Table);
    m.doc = describeTable(*read.description, in, m.rows, "2026-03-01");
    for (const auto& f : m.doc.fields)
        m.fields[f.label] = f.value;
    return m;
}

TEST(DocumentModel, HeaderInWordsForEveryKind) {
    struct Case {
        const char* what;
        int page;
        Assignments values;
        std::map<std::string, std::string> expected; // "" : the field is absent
    };
    const Case cases[] = {
        {"circle, ellipsoidal and subtracted cone heads, attachment",
         0,
         plus(kLevels, {{"RadioButton1", "1"},
                        {"Edit1", "2000"},
                        {"Edit2", "5000"},
                        {"RadioButton15", "1"},
                        {"Edit21", "25"},
                        {"Edit22", "525"},
                        {"RadioButton9", "1"},
                        {"Edit12", "10"},
                        {"Edit14", "300"},
                        {"ComboBox4", "减去右封头容积"},
                        {"Edit31", "12.5"},
                        {"Edit32", "100"},
                        {"Edit33", "400"},
                        {"Edit13", "35"},
                        {"TankNumber", "T-07A3"},
                        {"TankOwner", "中石化北京分公司"}}),
         {{"罐号", "T-07A3"},
          {"使用单位", "中石化北京分公司"},
          {"结构形式", "水平圆筒（正圆）"},
          {"主体尺寸", "D = 2000 mm，L = 5000 mm"},
          {"左封头", "椭圆(椭球)封头，h = 25 mm，H = 525 mm，容积加上"},
          {"右封头", "圆锥封头，h = 10 mm，H2 = 300 mm，容积减去"},
          {"罐底死量", "35 L"},
          {"附件", "体积 12.5 L，最下端距离罐底 100 mm，附件高度 400 mm"},
          {"计量方式", "容积（L）"},
          {"计算方法", "规定公式"},
          {"液位范围", "0 ~ 200 cm，间隔 50 cm"},
          {"生成日期", "2026-03-01"}}},
        {"ellipse with non-standard dished and frustum heads, exact geometry, weight",
         0,
         plus(kLevels, {{"RadioButton2", "1"},
                        {"Edit3", "3000"},
                        {"Edit4", "1800"},
                        {"Edit5", "6000"},
                        {"RadioButton5", "1"},
                        {"Edit38", "40"},
                        {"Edit43", "400"},
                        {"Edit44", "3000"},
                        {"RadioButton10", "1"},
                        {"Edit15", "30"},
                        {"Edit16", "500"},
                        {"Edit18", "1000"},
                        {"CheckBox1", "1"},
                        {"Edit37", "0.85"},
                        {"ComboBox1", "g/cm^3"},
                        {"ExactGeometry", "1"}}),
         {{"罐号", ""},
          {"结构形式", "水平圆筒（椭圆）"},
          {"主体尺寸", "B = 3000 mm，A = 1800 mm，L = 6000 mm"},
          {"左封头", "非标碟形封头，h = 40 mm，H = 400 mm，Ri = 3000 mm，容积加上"},
          {"右封头", "圆台封头，h = 30 mm，H = 500 mm，D2 = 1000 mm，容积加上"},
          {"附件", "无"},
          {"计量方式", "重量（kg），密度 0.85 g/cm³"},
          {"计算方法", "精确几何"},
          // The top level is limited to the section height, as the table was made.
          {"液位范围", "0 ~ 180 cm，间隔 50 cm"}}},
        {"inclined, α 0 taken as 0.001, no heads chosen",
         1,
         plus(kLevels, {{"Edit29", "0"},
                        {"Edit30", "1.5"},
                        {"Edit39", "2500"},
                        {"Edit40", "2000"},
                        {"Edit41", "2000"},
                        {"Edit42", "5000"}}),
         {{"结构形式", "倾斜圆筒"},
          {"主体尺寸", "B = 2000 mm，A = 2000 mm，L = 5000 mm"},
          {"倾斜", "α = 0.001°，β = 1.5°，F = 2500 mm，低端在左"},
          {"左封头", "无"},
          {"右封头", "无"}}},
        {"sphere: heads do not apply",
         2,
         plus(kLevels, {{"Edit34", "2000"}, {"RadioButton20", "1"}}),
         {{"结构形式", "球罐"}, {"主体尺寸", "D = 2000 mm"}, {"左封头", ""}, {"右封头", ""}}},
        {"calibration points",
         3,
         plus(kLevels, {{"ComboBox2", "2"}}),
         {{"结构形式", "罐容标定（标定点插值）"},
          {"主体尺寸", "2 个标定点，高度 0 ~ 2000 mm"},
          {"左封头", ""},
          {"外推", ""}}},
        {"calibration points extrapolated above, exact geometry checked",
         3,
         plus(kLevels, {{"ComboBox2", "2"}, {"Edit7", "2500"}, {"ExactGeometry", "1"}}),
         {{"计算方法", "标定点插值"},
          {"液位范围", "0 ~ 250 cm，间隔 50 cm"},
          {"外推", "液位 2000 ~ 2500 mm 超出标定点范围（0 ~ 2000 mm），按外推计算"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Made m;
        if (c.page == 3) {
            // The points go in through the grid, not by name.
            auto in = inputsWith(3, c.values);
            capacity::applyPointCount(in);
            in.grid().setCell(1, 1, "0");
            in.grid().setCell(2, 1, "0");
            in.grid().setCell(1, 2, "2000");
            in.grid().setCell(2, 2, "3000");
            ASSERT_FALSE(capacity::GenerateCapacityTable(in, m.rows).stopped());
            const auto read = capacity::ReadTankDescription(in, capacity::RequestType::Table);
            m.doc = describeTable(*read.description, in, m.rows, "2026-03-01");
            for (const auto& f : m.doc.fields)
                m.fields[f.label] = f.value;
        } else {
            m = make(c.page, c.values);
        }
        for (const auto& [label, value] : c.expected) {
            if (value.empty() && label != "罐号")
                EXPECT_EQ(m.fields.count(label), 0u) << label;
            else
                EXPECT_EQ(m.fields[label], value) << label;
        }
    }
}

TEST(DocumentModel, TankTextsOnOneLineAndWithinTheirLengths) {
    auto repeat = [](const std::string& s, int n) {
        std::string r;
        for (int i = 0; i < n; ++i)
            r += s;
        return r;
    };
    const Assignments tank = plus(kLevels, {{"RadioButton1", "1"},
                                            {"Edit1", "2000"},
                                            {"Edit2", "5000"},
                                            {"RadioButton21", "1"},
                                            {"RadioButton14", "1"}});
    struct Case {
        std::string number, owner;
        std::string refusal; // empty: the document is made
        std::string shownNumber, shownOwner;
    };
    const Case cases[] = {
        {"T-07\r\nA\t3", "某某\x7F油库\xC2\x85一区\xE2\x80\xA8二区", "", "T-07  A 3", "某某 油库 一区 二区"},
        {repeat("罐", 64), repeat("库", 128), "", repeat("罐", 64), repeat("库", 128)},
        {repeat("罐", 65), "", "呵呵，罐号最多64个字符！", "", ""},
        {"T", repeat("a", 129), "呵呵，使用单位最多128个字符！", "", ""},
    };
    for (const auto& c : cases) {
        auto in = inputsWith(0, plus(tank, {{"TankNumber", c.number}, {"TankOwner", c.owner}}));
        capacity::RowList rows;
        ASSERT_FALSE(capacity::GenerateCapacityTable(in, rows).stopped());
        const ShownTable shown = describeShownTable(in, rows);
        EXPECT_EQ(shown.message, c.refusal);
        if (!c.refusal.empty()) continue;
        const TableDocument doc = describeTable(*shown.description, in, rows, "2026-03-01");
        EXPECT_EQ(doc.tankNumber, c.shownNumber);
        EXPECT_EQ(doc.fields.at(0).value, c.shownNumber);
        EXPECT_EQ(doc.fields.at(1).value, c.shownOwner);
    }
}

TEST(PageGrid, PageBreaksAtTheEdges) {
    const PageGrid g{4, 40, 53}; // 160 rows on the first page, 212 on each later one
    struct Case {
        std::size_t rows;
        int pages;
        std::size_t lastPageFirstRow;
    };
    const Case cases[] = {{0, 1, 0},
                          {1, 1, 0},
                          {160, 1, 0},
                          {161, 2, 160},
                          {372, 2, 160},
                          {373, 3, 372},
                          {160 + 212 * 471, 472, 160 + 212 * 470}};
    for (const auto& c : cases) {
        EXPECT_EQ(g.pageCount(c.rows), c.pages) << c.rows;
        EXPECT_EQ(g.firstRowOf(c.pages - 1, c.rows), c.lastPageFirstRow) << c.rows;
        EXPECT_EQ(g.firstRowOf(c.pages, c.rows), c.rows) << c.rows; // past the end
    }
}

TEST(PageGrid, FromThePageSize) {
    struct Case {
        const char* what;
        PageMetrics m;
        int pairs, rows, firstRows;
    };
    PageMetrics a4;
    a4.headerBlock = 60;
    PageMetrics landscape = a4;
    std::swap(landscape.width, landscape.height);
    PageMetrics wide = a4;
    wide.minPairWidth = 88;
    PageMetrics tiny;
    tiny.width = 20;
    tiny.height = 30;
    tiny.headerBlock = 60;
    const Case cases[] = {
        // 267 mm less 37 mm of bands: 51 rows of 4.5 mm, 37 under a 60 mm header.
        {"A4 portrait", a4, 4, 51, 37},
        {"A4 landscape", landscape, 6, 31, 18},
        {"pairs of four columns", wide, 2, 51, 37},
        {"smaller than one pair and one row", tiny, 1, 1, 1},
    };
    for (const auto& c : cases) {
        const PageGrid g = pageGridFor(c.m);
        EXPECT_EQ(g.pairs, c.pairs) << c.what;
        EXPECT_EQ(g.rows, c.rows) << c.what;
        EXPECT_EQ(g.firstRows, c.firstRows) << c.what;
    }
}


// A certificate's validity is a real calendar date written YYYY-MM-DD; anything else is
// refused by name before a document is made, and an empty field prints nothing.
TEST(DocumentModel, ValidUntilIsADateOrRefused) {
    const std::string refused = "呵呵，有效期至“%”不是有效日期，请按 YYYY-MM-DD 输入，如 2027-12-31！";
    const struct {
        const char* date;
        bool valid;
    } cases[] = {{"", true},           {"2027-12-31", true},  {"2028-02-29", true}, {"2027-02-29", false},
                 {"2027-13-01", false}, {"2027-00-10", false}, {"2027-1-31", false}, {"27-12-31", false},
                 {"2027/12/31", false}, {"２０２７-12-31", false}, {"abcd-ef-gh", false}, {"2027-12-3x", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        auto in = inputsWith(0, plus(kLevels, {{"RadioButton1", "1"}, {"Edit1", "2000"}, {"Edit2", "5000"},
                                               {"ValidUntil", c.date}}));
        capacity::RowList rows;
        ASSERT_FALSE(capacity::GenerateCapacityTable(in, rows).stopped());
        std::string expected = refused;
        expected.replace(expected.find('%'), 1, c.date);
        const ShownTable shown = describeShownTable(in, rows);
        EXPECT_EQ(shown.message, c.valid ? "" : expected);
        EXPECT_EQ(shown.description.has_value(), c.valid);
        if (!c.valid) continue;
        const TableDocument doc = describeTable(*shown.description, in, rows, "2026-03-01");
        const bool printed = std::any_of(doc.fields.begin(), doc.fields.end(),
                                         [&](const DocumentField& f) { return f.label == "有效期至" && f.value == c.date; });
        EXPECT_EQ(printed, *c.date != 0);
    }
}

} // namespace
} // namespace kelvora::output
