// The workbook's first sheet "容积表" read back by xlrd (.xls) and openpyxl (.xlsx): the
// chosen columns widen every group to (level, value, 每毫米容量, U (L), U/V) with their
// headings; with none chosen the sheet is the level/value pairs it always was.
#include "output/workbook_export.h"

#include "capacity/memory_inputs.h"
#include "capacity/page_inputs.h"
#include "capacity/requests.h"

#include "output_test_util.h"

#include "assigned_tank.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kelvora::output {
namespace {

using kelvora::test::Assignments;

capacity::MemoryInputs tankWith(const Assignments& values) {
    // Five rows in groups of two: three groups, the last one short.
    const Assignments tank{{"RadioButton1", "1"},  {"Edit1", "2000"},      {"Edit2", "5000"},
                           {"RadioButton21", "1"}, {"RadioButton14", "1"}, {"Edit6", "0"},
                           {"Edit7", "2000"},      {"Edit8", "500"},       {"Edit9", "2"},
                           {"Edit13", "0"},        {"Edit31", "0"},        {"Edit32", "0"},
                           {"Edit33", "0"}};
    return kelvora::test::assignedTank({&tank, &values});
}

struct Sheet {
    std::string name;
    std::map<std::pair<int, int>, std::string> cells; // (row, column) → "s:text" or "n:number"
};

Sheet readBack(const std::string& path, bool xls) {
    const test::CommandResult result = test::runReader(xls ? "xls" : "xlsx", path);
    EXPECT_EQ(result.status, 0) << result.errors;
    Sheet sheet;
    std::istringstream lines(result.output);
    std::string line;
    std::getline(lines, line);
    sheet.name = line.substr(line.rfind('\t') + 1);
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        int row = 0, column = 0;
        std::string kind, value;
        fields >> row >> column >> kind;
        std::getline(fields, value);
        sheet.cells[{row, column}] = kind + ":" + value.substr(1);
    }
    return sheet;
}

TEST(WorkbookColumns, SheetNameAndWidenedGroups) {
    struct Case {
        const char* what;
        Assignments values;
        std::vector<std::string> headings; // of one group
    };
    const Case cases[] = {
        {"none chosen", {}, {"高度cm", "容积L"}},
        {"per millimetre", {{"PerMillimetre", "1"}}, {"高度cm", "容积L", "每毫米容量"}},
        {"uncertainty", {{"UncertaintyLevel", "1"}}, {"高度cm", "容积L", "U (L)", "U/V"}},
        {"both",
         {{"PerMillimetre", "1"}, {"UncertaintyLevel", "1"}},
         {"高度cm", "容积L", "每毫米容量", "U (L)", "U/V"}},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        auto in = tankWith(c.values);
        capacity::RowList rows;
        ASSERT_FALSE(capacity::GenerateCapacityTable(in, rows).stopped());
        const auto d = capacity::ReadTankDescription(in, capacity::RequestType::Table).description;
        const auto uncertainty = tableUncertaintyOf(*d, in);
        const TableColumns columns = tableColumns(*d, in, rows.size(), uncertainty);
        for (const bool xls : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (xls ? " .xls" : " .xlsx"));
            const std::string path = dir.path() + "/表" + (xls ? ".xls" : ".xlsx");
            saveTableWorkbook(path, *d, in, rows, false);
            const Sheet sheet = readBack(path, xls);
            EXPECT_EQ(sheet.name, "容积表");
            const int width = static_cast<int>(c.headings.size());
            std::map<std::pair<int, int>, std::string> expected{{{1, 3}, "s:油罐容积表"}};
            for (std::size_t i = 0; i < rows.size(); ++i) {
                const int group = static_cast<int>(i / 2), row = 3 + static_cast<int>(i % 2);
                const std::string_view text = rows[i];
                const auto comma = text.find(',');
                const std::string level(text.substr(0, comma)), value(text.substr(comma + 1));
                expected[{row, width * group + 1}] = "n:" + std::to_string(std::stod(level));
                expected[{row, width * group + 2}] = "n:" + std::to_string(std::stod(value));
                for (std::size_t k = 0; k < columns.cells.size(); ++k) {
                    const std::string& extra = columns.cells[k][i];
                    if (extra.empty()) continue;
                    expected[{row, width * group + 3 + static_cast<int>(k)}] =
                        extra.ends_with('%') ? "s:" + extra : "n:" + std::to_string(std::stod(extra));
                }
            }
            for (int group = 0; group < 3; ++group)
                for (int k = 0; k < width; ++k)
                    expected[{2, width * group + 1 + k}] = "s:" + c.headings[k];
            std::map<std::pair<int, int>, std::string> seen;
            for (const auto& [at, cell] : sheet.cells)
                seen[at] = cell.starts_with("n:") ? "n:" + std::to_string(std::stod(cell.substr(2))) : cell;
            EXPECT_EQ(seen, expected);
        }
    }
}

// With nothing chosen the bytes' contents are those of the plain save: the layout of old.
TEST(WorkbookColumns, NoneChosenIsThePlainLayout) {
    auto in = tankWith({});
    capacity::RowList rows;
    ASSERT_FALSE(capacity::GenerateCapacityTable(in, rows).stopped());
    const auto d = capacity::ReadTankDescription(in, capacity::RequestType::Table).description;
    test::TempDir dir;
    for (const char* ending : {".xls", ".xlsx"}) {
        const std::string plain = dir.path() + "/plain" + ending, table = dir.path() + "/table" + ending;
        SaveFileToExcel(plain, rows, "2", false);
        saveTableWorkbook(table, *d, in, rows, false);
        const bool xls = std::string_view(ending) == ".xls";
        EXPECT_EQ(test::runReader(xls ? "xls" : "xlsx", table).output,
                  test::runReader(xls ? "xls" : "xlsx", plain).output)
            << ending;
    }
}

} // namespace
} // namespace kelvora::output
