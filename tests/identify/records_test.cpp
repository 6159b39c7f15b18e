#include "identify/records.h"

#include "kernel/errors.h"

#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

namespace kelvora::identify {
namespace {

TEST(Records, PerRecordAndCumulativeColumnsGiveTheSameNetVolumes) {
    // Per record: the inflow column empty except at the delivery; a row empty in every
    // column used is left out and counted, whatever else it holds.
    const Sheet perRecord = parseCsv("时间,显示油高/mm,进油量/L,出油量/L\n"
                                     "1,1500,,10\n"
                                     "2,1490,,20\n"
                                     "3,,,\n"
                                     "4,1480,,12\n"
                                     "5,1900,3000,2\n"
                                     ",,,\n"
                                     "7,1880,,5\n");
    const Sheet cumulative = parseCsv("时间;油位高度/mm;累加进油量/L;累加出油量/L\n"
                                      "1;1500;0;10\n"
                                      "2;1490;0;30\n"
                                      "3;;;\n"
                                      "4;1480;;42\n"
                                      "5;1900;3000;44\n"
                                      "\n"
                                      "7;1880;3000;49\n");
    const std::vector<double> level{1500, 1490, 1480, 1900, 1880};
    for (const Sheet* sheet : {&perRecord, &cumulative}) {
        const Records r = extractRecords(*sheet, chooseColumns(sheet->heading));
        EXPECT_EQ(r.level, level);
        EXPECT_EQ(r.net, (std::vector<double>{-10, -30, -42, 2956, 2951}));
        EXPECT_EQ(r.skipped, 2u);
        EXPECT_EQ(r.line, (std::vector<std::size_t>{2, 3, 5, 6, 8}));
    }
}

TEST(Records, ACellThatIsNotANumberIsRefusedNamingItsRowAndColumn) {
    struct Case {
        const char* what;
        std::string row; // the fourth line, under 显示油高/mm,进油量/L,出油量/L
        std::string message;
    };
    const std::string at = "记录文件第 4 行";
    const Case cases[] = {
        {"a unit after the number", "1480,,96.266L", at + "“出油量/L”列的“96.266L”不是数！"},
        {"thousands separators", "1480,,\"51,124.00\"", at + "“出油量/L”列的“51,124.00”不是数！"},
        {"an underscore", "1480,1_000,", at + "“进油量/L”列的“1_000”不是数！"},
        {"hexadecimal", "1480,0x10,", at + "“进油量/L”列的“0x10”不是数！"},
        {"an infinity", "1480,,inf", at + "“出油量/L”列的“inf”不是数！"},
        {"NaN", "NaN,,1", at + "“显示油高/mm”列的“NaN”不是数！"},
        {"an overflow", "1480,,1e999", at + "“出油量/L”列的“1e999”不是数！"},
        {"beyond any tank", "1480,,1e308", at + "“出油量/L”列的数 1E308 超出范围！"},
        {"a formula as text", "=B3-10,,1", at + "“显示油高/mm”列的“=B3-10”不是数！"},
        {"an amount without a level", ",,7",
         at + "有油量而没有液位（“出油量/L”列有数，“显示油高/mm”列是空的）！"},
        {"a level that is text", "缺,,", at + "“显示油高/mm”列的“缺”不是数！"},
    };
    for (const Case& c : cases) {
        const Sheet sheet =
            parseCsv("显示油高/mm,进油量/L,出油量/L\n1500,,10\n1490,,20\n" + c.row + "\n1470,,5\n");
        try {
            extractRecords(sheet, chooseColumns(sheet.heading));
            ADD_FAILURE() << c.what;
        } catch (const RecordsRefusal& e) {
            EXPECT_EQ(e.what(), c.message) << c.what;
        }
    }
    // A column not used may hold anything.
    const Sheet unused = parseCsv("备注,显示油高/mm,出油量/L\n坏,1500,1\n1e999,1490,2\n");
    EXPECT_EQ(extractRecords(unused, chooseColumns(unused.heading)).level.size(), 2u);
}

TEST(Records, WorkbookCellsWithoutANumber) {
    // A formula without its computed value, and (as the Excel 97-2003 reader hands them
    // over) numbers that are NaN, infinite or beyond any tank.
    const Sheet formula =
        readSheet(std::filesystem::path(KELVORA_TEST_DATA) / "identify" / "no_cached_value.xlsx");
    try {
        extractRecords(formula, chooseColumns(formula.heading));
        ADD_FAILURE();
    } catch (const RecordsRefusal& e) {
        EXPECT_STREQ(e.what(), "记录文件第 3 行“出油量/L”列是没有计算结果的公式！");
    }
    struct Case {
        double x;
        std::string shown;
    };
    const Case cases[] = {{std::nan(""), "NaN"}, {HUGE_VAL, "inf"}, {-HUGE_VAL, "-inf"}, {1e308, "1E308"}};
    for (const Case& c : cases) {
        SheetBuilder builder;
        builder.add(0, cellFromText("显示油高/mm"));
        builder.add(1, cellFromText("出油量/L"));
        builder.endRow(1);
        builder.add(0, Cell{Cell::Kind::Number, 1500, {}});
        builder.add(1, Cell{Cell::Kind::Number, c.x, {}});
        builder.endRow(2);
        const Sheet sheet = builder.finish();
        try {
            extractRecords(sheet, chooseColumns(sheet.heading));
            ADD_FAILURE() << c.shown;
        } catch (const RecordsRefusal& e) {
            EXPECT_EQ(e.what(), "记录文件第 2 行“出油量/L”列的数 " + c.shown + " 超出范围！");
        }
    }
}

TEST(Records, EveryAmountColumnFoundIsUsed) {
    // A per-record inflow with a cumulative outflow: both count.
    const Sheet mixed = parseCsv("显示油高/mm,进油量/L,累计出油量/L\n"
                                 "1500,,10\n"
                                 "1490,,30\n"
                                 "1900,3000,44\n"
                                 "1880,,49\n");
    const ColumnChoice columns = chooseColumns(mixed.heading);
    const Records r = extractRecords(mixed, columns);
    EXPECT_EQ(r.net, (std::vector<double>{-10, -30, 2956, 2951}));
    EXPECT_EQ(columnsUsedText(mixed.heading, columns),
              "液位“显示油高/mm”，进油量“进油量/L”，累加出油量“累计出油量/L”");
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
        {{"液位", "累加进油量/L", "出油量/L"}, {}, 0, {}, 2, 1, {}, ""},
        {{"液位", "进油量/L", "累加进油量/L", "累加出油量/L"}, {}, 0, 1, {}, {}, 3, ""},
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
