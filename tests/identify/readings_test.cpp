// A reading outside the tank is refused with its record's number; the edges of the tank are readings.

#include "identify/records.h"
#include "identify/tilt_fit.h"
#include "synthetic.h"

#include <gtest/gtest.h>

namespace kelvora::identify {
namespace {

TEST(Readings, ALevelOutsideTheTankIsRefusedWithItsRecord) {
    const auto d = test::inclinedTank(false); // 2000 mm high
    struct Case {
        std::size_t record;
        double level;
        bool refused;
    };
    const Case cases[] = {{17, 2100, true},  {0, -0.5, true}, {299, 2000.01, true},
                          {40, 2000, false}, {41, 0, false},  {5, std::nan(""), true}};
    for (const Case& c : cases) {
        auto records = test::syntheticRecords(d, 1.2, 3, 100, 0);
        records.level[c.record] = c.level;
        // The records carry the file's lines: the heading and a title above it first.
        for (std::size_t i = 0; i < records.level.size(); ++i)
            records.line.push_back(i + 3);
        const Identification id = fitTilt(d, records, false);
        if (c.refused) {
            EXPECT_FALSE(id.fit) << c.level;
            EXPECT_EQ(id.message, outsideTankMessage(c.record + 3, c.level, 2000)) << c.level;
            EXPECT_NE(id.message.find("第 " + std::to_string(c.record + 3) + " 行"), std::string::npos);
        } else {
            EXPECT_TRUE(id.fit) << c.level << " " << id.message;
        }
    }
}

TEST(Readings, TheRecordsCarryTheirFileLines) {
    // Lines count from the heading's, 1; a row empty in the columns used is no record.
    const Sheet sheet = parseCsv("油站记录\n时间,显示油高/mm,出油量/L\n1,1500,10\n\n2,,\n3,1480,7\n");
    const Records r = extractRecords(sheet, chooseColumns(sheet.heading));
    EXPECT_EQ(r.line, (std::vector<std::size_t>{2, 5}));
    EXPECT_EQ(recordNumber(r, 1), 5u);
    Records bare;
    bare.level = {1, 2};
    EXPECT_EQ(recordNumber(bare, 1), 2u);
}

} // namespace
} // namespace kelvora::identify
