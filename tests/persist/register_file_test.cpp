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
        {"owner;point\n\"a \"\"b\"\"\nc\";\"0,0;1,2\"\n", {{"owner", "point"}, {"a \"b\"\nc", "0,0;1,2"}}},
        {"tank_number\tD\tL\nT-1\t2000\t\n", {{"tank_number", "D", "L"}, {"T-1", "2000", ""}}},
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

TEST(RegisterFile, RefusesNamingTheLine) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string message;
    };
    std::string many = "tank_number,D\n";
    for (std::size_t i = 0; i <= kelvora::persist::kMaxRegisterRows; ++i)
        many += "T" + std::to_string(i) + ",1\n";
    std::string wide = "a";
    for (int i = 0; i < 300; ++i)
        wide += ",a";
    const Case cases[] = {
        {"a short row", "tank_number,D,L\nT-1,2000,6000\nT-2,2000\n", "第3行有2格，标题行有3格"},
        {"a long row", "tank_number;D\nT-1;2000;6000\n", "第2行有3格，标题行有2格"},
        {"a long row after a quoted line break", "a,b\n\"x\ny\",1\n1,2,3\n", "第4行有3格，标题行有2格"},
        {"text neither UTF-8 nor GBK", "a,b\n1,2\n\x80\xFF,1\n", "第3行不是UTF-8或GBK文本"},
        {"more tanks than the limit", many, "登记表超过10000个罐（第10002行），一个登记表最多10000个罐，请分成几个登记表"},
        {"more columns than the limit", wide, "第1行超过256格"},
        {"60 MB of commas", std::string(60u << 20, ','), "第1行超过256格"},
    };
    for (const Case& c : cases) {
        try {
            parseRegister(c.bytes);
            ADD_FAILURE() << c.what;
        } catch (const RegisterError& e) {
            EXPECT_EQ(e.what(), c.message) << c.what;
        }
    }
}

} // namespace
