// The gauge console's chart stays ASCII: its comment lines escape what the tank number
// holds beyond ASCII, and the file has no byte-order mark.
#include "capacity/gauge_chart.h"

#include <gtest/gtest.h>

namespace kelvora::capacity {
namespace {

TEST(GaugeChartAscii, CommentLinesStayAscii) {
    const std::pair<std::string, std::string> cases[] = {
        {"T-07", "T-07"},
        {"3号罐", "3\\u53F7\\u7F50"},
        {"a\\b", "a\\\\b"},
        {"tab\there", "tab\\u0009here"},
        {"\xF0\x9F\x98\x80", "\\U0001F600"},
        {"bad\xFF\xC3", "bad\\xFF\\xC3"},
        {"", ""},
    };
    for (const auto& [number, shown] : cases)
        EXPECT_EQ(asciiText(number), shown) << number;

    GaugeChart chart;
    chart.tankNumber = "3号罐";
    chart.points = {{0, "0"}, {1000, "7853.98"}};
    const std::string text = gaugeChartText(chart);
    EXPECT_TRUE(text.starts_with("# tank_number: 3\\u53F7\\u7F50\n")) << text;
    for (const char c : text)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

} // namespace
} // namespace kelvora::capacity
