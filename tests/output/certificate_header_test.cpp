// What a verifier expects of the document's words: the calculation basis and reference
// temperature always in the header, the certificate number for every page, the level
// range in the level column's unit, the levels' decimals lined up, the chosen columns in
// the page's order, and a note before a certificate already out of date.
#include "output/document_model.h"

#include "capacity/memory_inputs.h"
#include "capacity/page_inputs.h"
#include "capacity/requests.h"

#include "assigned_tank.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kelvora::output {
namespace {

using kelvora::test::Assignments;

capacity::MemoryInputs tankWith(const Assignments& values) {
    const Assignments tank{{"RadioButton1", "1"},  {"Edit1", "2000"},      {"Edit2", "5000"},
                           {"RadioButton21", "1"}, {"RadioButton14", "1"}, {"Edit6", "0"},
                           {"Edit7", "2000"},      {"Edit8", "500"},       {"Edit9", "10"},
                           {"Edit13", "0"},        {"Edit31", "0"},        {"Edit32", "0"},
                           {"Edit33", "0"}};
    return kelvora::test::assignedTank({&tank, &values});
}

TableDocument documentOf(const Assignments& values, capacity::RowList& rows) {
    auto in = tankWith(values);
    EXPECT_FALSE(capacity::GenerateCapacityTable(in, rows).stopped());
    const auto read = capacity::ReadTankDescription(in, capacity::RequestType::Table);
    return describeTable(*read.description, in, rows, "2026-03-01");
}

TEST(CertificateHeader, BasisTemperatureCertificateAndLevelRange) {
    struct Case {
        Assignments values;
        std::string basis, certificate, range;
    };
    const Case cases[] = {
        {{}, "", "", "0 ~ 200 cm，间隔 50 cm"},
        {{{"CalculationBasis", "JJG 266-2018 卧式金属罐容量"}, {"CertificateNumber", "RG-2026-0031"}},
         "JJG 266-2018 卧式金属罐容量",
         "RG-2026-0031",
         "0 ~ 200 cm，间隔 50 cm"},
        {{{"Edit6", "2.5"}, {"Edit7", "1999"}, {"Edit8", "0.5"}, {"CalculationBasis", "a\tb"}},
         "a b",
         "",
         "0.25 ~ 199.9 cm，间隔 0.05 cm"},
    };
    for (const Case& c : cases) {
        capacity::RowList rows;
        const TableDocument doc = documentOf(c.values, rows);
        std::map<std::string, std::string> fields;
        for (const auto& f : doc.fields)
            fields.emplace(f.label, f.value);
        ASSERT_EQ(fields.count("计算依据"), 1u) << c.basis;
        EXPECT_EQ(fields["计算依据"], c.basis);
        EXPECT_EQ(fields["参考温度"], "20 ℃");
        EXPECT_EQ(fields["液位范围"], c.range);
        EXPECT_EQ(doc.certificateNumber, c.certificate);
    }
}

TEST(CertificateHeader, ValidUntilBeforeTodayIsNoted) {
    struct Case {
        const char* date;
        const char* today;
        std::string note;
    };
    const Case cases[] = {
        {"", "2026-03-01", ""},
        {"2026-03-01", "2026-03-01", ""}, // valid through the day itself
        {"2027-12-31", "2026-03-01", ""},
        {"2026-02-28", "2026-03-01", "有效期至 2026-02-28 已早于今天（2026-03-01），容积表证书已过期。"},
        {"1999-12-31", "2026-03-01", "有效期至 1999-12-31 已早于今天（2026-03-01），容积表证书已过期。"},
        {"2026-02-30", "2026-03-01", ""}, // no date: refused elsewhere, never noted
        {"abc", "2026-03-01", ""},
    };
    for (const Case& c : cases) {
        auto in = tankWith({{"ValidUntil", c.date}});
        EXPECT_EQ(validUntilPassedNote(in, c.today), c.note) << c.date;
    }
}

TEST(CertificateHeader, LevelDecimalsLineUp) {
    struct Case {
        std::vector<std::string> rows, levels;
    };
    const Case cases[] = {
        {{"292.8,1", "292.9,2", "293,3", "293.1,4"}, {"292.8", "292.9", "293.0", "293.1"}},
        {{"0,0", "0.25,1", "0.5,2", "0.75,3", "1,4"}, {"0.00", "0.25", "0.50", "0.75", "1.00"}},
        {{"0,0", "50,1", "100,2"}, {"0", "50", "100"}},
        {{"-0.5,0", "0,1"}, {"-0.5", "0.0"}},
        {{"1E15,0", "2.5,1", "x,2"}, {"1E15", "2.5", "x"}}, // no plain number: as it is
        {{}, {}},
    };
    for (const Case& c : cases) {
        capacity::RowList rows;
        for (const auto& row : c.rows)
            rows.append(row);
        EXPECT_EQ(alignedLevelTexts(rows), c.levels);
    }
    // The document's own rows: a step of 1 mm, one decimal in cm on every level.
    capacity::RowList rows;
    const TableDocument stepped = documentOf({{"Edit6", "1989"}, {"Edit7", "2000"}, {"Edit8", "1"}}, rows);
    ASSERT_EQ(stepped.rows.size(), 12u);
    EXPECT_EQ(stepped.rows[0].level, "198.9");
    EXPECT_EQ(stepped.rows[1].level, "199.0");
    EXPECT_EQ(stepped.rows[11].level, "200.0");
}

TEST(CertificateHeader, ChosenColumnsInThePagesOrder) {
    struct Case {
        Assignments values;
        std::vector<std::string> headings;
    };
    const Case cases[] = {
        {{}, {}},
        {{{"PerMillimetre", "1"}}, {"每毫米容量"}},
        {{{"UncertaintyLevel", "1"}}, {"U (L)", "U/V"}},
        {{{"PerMillimetre", "1"}, {"UncertaintyLevel", "1"}}, {"每毫米容量", "U (L)", "U/V"}},
        {{{"PerMillimetre", "1"},
          {"UncertaintyLevel", "1"},
          {"CheckBox1", "1"},
          {"Edit37", "850"},
          {"ComboBox1", "Kg/m^3"}},
         {"每毫米容量", "U (kg)", "U/V"}},
    };
    for (const Case& c : cases) {
        capacity::RowList rows;
        const TableDocument doc = documentOf(c.values, rows);
        EXPECT_EQ(doc.extraHeadings, c.headings);
        for (const auto& row : doc.rows)
            EXPECT_EQ(row.extra.size(), c.headings.size());
    }
}

} // namespace
} // namespace kelvora::output
