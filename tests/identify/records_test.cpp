#include "identify/records.h"

#include "kernel/errors.h"

#include <gtest/gtest.h>

namespace kelvora::identify {
namespace {

TEST(Records, PerRecordAndCumulativeColumnsGiveTheSameNetVolumes) {
    // Per record: the inflow column empty except at the delivery; a row without a level
    // reading still moves its litres; a row with text where a number belongs is skipped.
    const Sheet perRecord = parseCsv("时间,显示油高/mm,进油量/L,出油量/L\n"
                                     "1,1500,,10\n"
                                     "2,1490,,20\n"
                                     "3,,,5\n"
                                     "4,1480,,7\n"
                                     "5,1900,3000,2\n"
                                     "6,1890,坏,4\n"
                                     "7,1880,,1\n");
    const Sheet cumulative = parseCsv("时间;油位高度/mm;累加进油量/L;累加出油量/L\n"
                                      "1;1500;0;10\n"
                                      "2;1490;0;30\n"
                                      "3;;0;35\n"
                                      "4;1480;;42\n"
                                      "5;1900;3000;44\n"
                                      "6;1890;坏;48\n"
                                      "7;1880;3000;49\n");
    const std::vector<double> level{1500, 1490, 1480, 1900, 1880};
    // Per record, the skipped row 6's outflow counts; its inflow is unknown text.
    const Records a = extractRecords(perRecord, chooseColumns(perRecord.heading));
    EXPECT_EQ(a.level, level);
    EXPECT_EQ(a.net, (std::vector<double>{-10, -30, -42, 2956, 2951}));
    EXPECT_EQ(a.skipped, 2u);
    const Records b = extractRecords(cumulative, chooseColumns(cumulative.heading));
    EXPECT_EQ(b.level, level);
    EXPECT_EQ(b.net, (std::vector<double>{-10, -30, -42, 2956, 2951}));
    EXPECT_EQ(b.skipped, 2u);
}

TEST(Records, ColumnsAreRecognisedOrChosenByHand) {
    struct Case {
        std::vector<std::string> heading;
        ColumnNames names;
        std::optional<std::size_t> level, in, out, cumulativeIn, cumulativeOut;
        std::string message;
    };
    const Case cases[] = {
        {{"日期", "显示油高/mm", "水高/mm", "进油量/L", "出油量/L"}, {}, 1, 3, 4, {}, {}, ""},
        {{"液位", "累加进油量/L", "累加出油量/L"}, {}, 0, {}, {}, 1, 2, ""},
        {{"液位", "出油量/L", "累加出油量/L"}, {}, 0, {}, 1, {}, {}, ""},
        {{"液位", "出油量/L", "累加出油量/L"}, {"", "", "", "", "累加出油量/L"}, 0, {}, {}, {}, 2, ""},
        {{"H", "Q"}, {"H", "", "Q", "", ""}, 0, {}, 1, {}, {}, ""},
        {{"H", "出油量/L"}, {}, {}, {}, {}, {}, {}, messages::kNoLevelColumn},
        {{"油高", "温度"}, {}, {}, {}, {}, {}, {}, messages::kNoAmountColumn},
        {{"油高", "出油量"}, {"油位", "", "", "", ""}, {}, {}, {}, {}, {}, missingColumnMessage("油位")},
    };
    for (const Case& c : cases) {
        try {
            const ColumnChoice choice = chooseColumns(c.heading, c.names);
            EXPECT_EQ(c.message, "") << c.heading[0];
            EXPECT_EQ(choice.level, c.level) << c.heading[0];
            EXPECT_EQ(choice.in, c.in) << c.heading[0];
            EXPECT_EQ(choice.out, c.out) << c.heading[0];
            EXPECT_EQ(choice.cumulativeIn, c.cumulativeIn) << c.heading[0];
            EXPECT_EQ(choice.cumulativeOut, c.cumulativeOut) << c.heading[0];
        } catch (const IoError& e) {
            EXPECT_EQ(e.what(), c.message) << c.heading[0];
        }
    }
}

} // namespace
} // namespace kelvora::identify
