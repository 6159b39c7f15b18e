// An uncertainty larger than the dimension it is of is refused, by the uncertainty table
// and by the document's checks alike.

#include "capacity/uncertainty.h"

#include "capacity/requests.h"
#include "fixture.h"

#include <gtest/gtest.h>

namespace kelvora::capacity {
namespace {

TEST(UncertaintyLimits, LargerThanTheDimensionIsRefused) {
    struct Case {
        test::Assignments values;
        const char* refusal; // a part of the message, or "" when taken
    };
    // D 2000, L 5000, ellipsoidal heads h 40, H 540, table to 2000 mm.
    const Case cases[] = {
        {{{"UncertaintySection", "2"}, {"UncertaintyLength", "3"}, {"UncertaintyLevel", "1"}}, ""},
        {{{"UncertaintySection", "2000"}}, ""},
        {{{"UncertaintySection", "2001"}}, "截面尺寸的标准不确定度"},
        {{{"UncertaintyLength", "5001"}}, "长度L的标准不确定度"},
        {{{"UncertaintyLevel", "2500"}}, "液位读数的标准不确定度"},
        {{{"UncertaintyHead", "540"}}, ""},
        {{{"UncertaintyHead", "600"}}, "封头尺寸的标准不确定度"},
    };
    for (const auto& c : cases) {
        auto in = test::circularTank({{"RadioButton15", "1"},
                                      {"Edit21", "40"},
                                      {"Edit22", "540"},
                                      {"RadioButton8", "1"},
                                      {"Edit10", "40"},
                                      {"Edit11", "540"}});
        test::set(in, c.values);
        std::vector<RowUncertainty> rows;
        const RequestOutcome outcome = UncertaintyTable(in, rows);
        if (*c.refusal == '\0') {
            EXPECT_FALSE(outcome.stopped()) << outcome.message;
        } else {
            EXPECT_TRUE(outcome.stopped());
            EXPECT_NE(outcome.message.find(c.refusal), std::string::npos) << outcome.message;
        }
    }
}

} // namespace
} // namespace kelvora::capacity
