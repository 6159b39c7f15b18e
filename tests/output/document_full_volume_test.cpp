// "满罐容量" in the document's header (and so in the workbook's tank sheet) is the whole
// tank by the table's method, with the top row beside it where that differs; the header's
// refusals for a date before 1900 and an uncertainty larger than its dimension.
#include "output/document_model.h"

#include "../capacity/inclined_tank.h"
#include "capacity/requests.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace kelvora::output {
namespace {

std::map<std::string, std::string> headerOf(capacity::MemoryInputs in) {
    capacity::RowList rows;
    const auto outcome = capacity::GenerateCapacityTable(in, rows);
    EXPECT_FALSE(outcome.stopped()) << outcome.message;
    const auto read = capacity::ReadTankDescription(in, capacity::RequestType::Table);
    std::map<std::string, std::string> fields;
    for (const auto& f : tankSheetFields(describeTable(*read.description, in, rows, "2026-03-01", false)))
        fields[f.label] = f.value;
    fields["rows"] = std::to_string(rows.size());
    return fields;
}

TEST(DocumentFullVolume, WholeTankWithTheTopRowBeside) {
    struct Case {
        const char* name;
        capacity::MemoryInputs in;
        const char* full;
        const char* top; // "" when the header gives none
    };
    const Case cases[] = {
        // π·1.5²·8 + 2·π·1·(3·1.5² + 1)/6 m³ = 64,664.4488 L; the gauge's top reading holds less.
        {"inclined, exact geometry", test::capHeadedInclinedTank(), "64664.45 L", "64022.81 L"},
        {"inclined, required formulas", test::capHeadedInclinedTank({{"ExactGeometry", "0"}}), "64664.45 L",
         "64214.50 L"},
        // π·1²·5 m³; at 1500 mm the segment (π·2/3 + √0.75/2)·5 m³.
        {"horizontal to its top", test::circularTank(), "15707.96 L", ""},
        {"horizontal, table ending below the top", test::circularTank({{"Edit7", "1500"}}), "15707.96 L",
         "12637.04 L"},
    };
    for (const auto& c : cases) {
        const auto fields = headerOf(c.in);
        EXPECT_EQ(fields.count("满罐容量") ? fields.at("满罐容量") : "", c.full) << c.name;
        EXPECT_EQ(fields.count("最高液位容积") ? fields.at("最高液位容积") : "", c.top) << c.name;
    }
}

TEST(DocumentFullVolume, HeaderRefusals) {
    struct Case {
        test::Assignments values;
        const char* refusal; // a part of the message, or "" when taken
    };
    const Case cases[] = {
        {{{"ValidUntil", "2027-12-31"}}, ""},
        {{{"ValidUntil", "1900-01-01"}}, ""},
        {{{"ValidUntil", "1899-12-31"}}, "早于1900年"},
        {{{"ValidUntil", "0001-01-01"}}, "早于1900年"},
        {{{"UncertaintySection", "2"}}, ""},
        {{{"UncertaintySection", "2500"}}, "截面尺寸的标准不确定度"},
        {{{"UncertaintyLevel", "-1"}}, "负数"},
    };
    for (const auto& c : cases) {
        auto in = test::circularTank();
        test::set(in, c.values);
        const std::string refusal = documentInputsRefusal(in);
        if (*c.refusal == '\0') {
            EXPECT_EQ(refusal, "") << c.refusal;
        } else {
            EXPECT_NE(refusal.find(c.refusal), std::string::npos) << refusal;
        }
    }
}

} // namespace
} // namespace kelvora::output
