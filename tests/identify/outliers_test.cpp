// Outliers are set aside after the first fit and the fit made again without them; more
// than 5 % of the records set aside refuses the records.

#include "identify/tilt_fit.h"
#include "synthetic.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelvora::identify {
namespace {

TEST(Outliers, TypedLevelsAreSetAsideAndTheFitMadeAgain) {
    struct Case {
        bool exact;
        std::vector<std::size_t> typed; // records whose level is 1000 mm (or 30 mm) off
        double offset;
    };
    const Case cases[] = {
        {false, {57}, 1000},
        {true, {12, 150, 151, 290}, -1000},
        {false, {100}, 30}, // 30 mm ≈ 300 L off: still far beyond the noise
        {true, {3, 30, 60, 90, 120, 150, 180, 210, 240, 270, 280}, 400}, // 11 of 300, 10 listed
    };
    for (const Case& c : cases) {
        const auto d = test::inclinedTank(c.exact);
        auto records = test::syntheticRecords(d, 2.16, 4, 3000, 0.8);
        const Identification clean = fitTilt(d, records, false);
        ASSERT_TRUE(clean.fit);
        for (std::size_t i : c.typed)
            records.level[i] = std::clamp(records.level[i] + c.offset, 0.0, 2000.0);
        const Identification id = fitTilt(d, records, false);
        ASSERT_TRUE(id.fit) << id.message;
        std::vector<std::size_t> numbers;
        for (std::size_t i : c.typed)
            numbers.push_back(i + 1);
        EXPECT_EQ(id.fit->outliers, numbers);
        EXPECT_EQ(id.fit->used, records.level.size() - c.typed.size());
        EXPECT_EQ(id.fit->residualsAfter.size(), records.level.size());
        EXPECT_NEAR(id.fit->alpha, clean.fit->alpha, 0.01);
        EXPECT_NEAR(id.fit->beta, clean.fit->beta, 0.1);
        EXPECT_LT(id.fit->rms, 1.2);
        EXPECT_TRUE(clean.fit->outliers.empty());
    }
}

TEST(Outliers, MoreThanFivePercentSetAsideIsRefused) {
    const auto d = test::inclinedTank(false);
    for (int typed : {16, 30}) { // of 300: 5.3 % and 10 %
        auto records = test::syntheticRecords(d, 1.5, 3, 3000, 0.5);
        for (int k = 0; k < typed; ++k) {
            double& h = records.level[static_cast<std::size_t>(k * 9 + 4)];
            h += h > 1000 ? -300 : 300;
        }
        const Identification id = fitTilt(d, records, false);
        EXPECT_FALSE(id.fit) << typed;
        EXPECT_EQ(id.message, tooManyOutliersMessage(static_cast<std::size_t>(typed), 300)) << typed;
    }
}

} // namespace
} // namespace kelvora::identify
