// Registers as spreadsheet applications save them.

#include "persist/register_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kelvora::persist::parseRegister;
using kelvora::persist::RegisterError;
using Rows = std::vector<std::vector<std::string>>;

TEST(RegisterFile, Parses) {
    struct Case {
        std::string bytes;
        Rows rows;
    };
    const Case cases[] = {
        {"tank_number,D\nT-1,2000\n", {{"tank_number", "D"}, {"T-1", "2000"}}},
        {"\xEF\xBB\xBFtank_number;D\r\nT-1;2000\r\n\r\n;\r\nT-2;\r\n",
         {{"tank_number", "D"}, {"T-1", "2000"}, {"T-2", ""}}},
        {"owner,point\n\xD3\xCD\xBF\xE2,\"0,0;1000,500\"\n", {{"owner", "point"}, {"油库", "0,0;1000,500"}}},
        {"owner;point\n\"a \"\"b\"\"\nc\";0,0;1,2\n", {{"owner", "point"}, {"a \"b\"\nc", "0,0", "1,2"}}},
        {" a , b \nx,\" y \"", {{"a", "b"}, {"x", " y "}}},
    };
    for (const auto& c : cases) {
        const auto table = parseRegister(c.bytes);
        Rows rows{table.heading};
        for (const auto& row : table.rows)
            rows.push_back(row.cells);
        EXPECT_EQ(rows, c.rows) << c.bytes;
    }
    EXPECT_EQ(parseRegister("a\n\nb\n\"c\nd\"\ne\n").rows.back().line, 6);
}

TEST(RegisterFile, Refuses) {
    for (const std::string bytes : {"", "\n,\n", "a,b\n\"x,y\n", "a\nb\x01\n",
                                    "\xEF\xBB\xBF"
                                    "a\n\x91__\n"})
        EXPECT_THROW(parseRegister(bytes), RegisterError) << bytes;
}

} // namespace
