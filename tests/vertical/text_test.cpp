// The repeated inputs as text: entries joined by ";", fields by ",".

#include "vertical/vertical_text.h"

#include "kernel/errors.h"

#include <gtest/gtest.h>

namespace {

using namespace kelvora::vertical;

TEST(VerticalText, SplitsAndJoinsEntries) {
    struct Case {
        const char* text;
        std::vector<std::vector<std::string>> entries;
        const char* joined;
    };
    const Case cases[] = {
        {"", {}, ""},
        {" ; ;", {}, ""},
        {"1000,37700,10", {{"1000", "37700", "10"}}, "1000,37700,10"},
        {" 1000 , 37700,10,-3 ;2000,37690,9",
         {{"1000", "37700", "10", "-3"}, {"2000", "37690", "9"}},
         "1000,37700,10,-3;2000,37690,9"},
        {"0,0;;100,50", {{"0", "0"}, {"100", "50"}}, "0,0;100,50"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitEntries(c.text), c.entries) << c.text;
        EXPECT_EQ(joinEntries(c.entries), c.joined) << c.text;
    }
}

TEST(VerticalText, EntryShapeNamesTheEntry) {
    struct Case {
        const char* text;
        const EntryShape* shape;
        std::string problem;
    };
    const Case cases[] = {
        {"1000,37700,10;2000,37690,9,1", &kCourseShape, ""},
        {"1000,37700,10;2000,37690", &kCourseShape, "呵呵，第 2 圈板要写成“高度,周长,板厚[,修正值]”！"},
        {"1,2,3,4,5", &kCourseShape, "呵呵，第 1 圈板要写成“高度,周长,板厚[,修正值]”！"},
        {"0,0;100", &kBottomShape, "呵呵，第 2 个罐底点要写成“高度,容积”！"},
        {"0,10,5,1", &kDeadwoodShape, "呵呵，第 1 段罐内附件要写成“起点高度,终点高度,容积”！"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(entryShapeProblem(splitEntries(c.text), *c.shape), c.problem) << c.text;
}

TEST(VerticalText, ReadsNumbersAndRefusesText) {
    const auto courses = readCourses(splitEntries("1000,37700,10;2000,37690.5,9,-2.5"));
    ASSERT_EQ(courses.size(), 2u);
    EXPECT_EQ(courses[1].height, 2000);
    EXPECT_EQ(courses[1].circumference, 37690.5);
    EXPECT_EQ(courses[1].correction, -2.5);
    EXPECT_EQ(courses[0].correction, 0);
    EXPECT_EQ(readBottom(splitEntries("0,0;150,80"))[1].litres, 80);
    EXPECT_EQ(readDeadwood(splitEntries("200,3500,-165"))[0].litres, -165);
    EXPECT_THROW(readCourses(splitEntries("1000,abc,10")), kelvora::ConvertError);
    EXPECT_THROW(readDeadwood(splitEntries("1,2,")), kelvora::ConvertError);
}

} // namespace
