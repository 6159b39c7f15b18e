// The verdict on a fit: the search over the page's whole range finds a large inclination,
// a fit that explains nothing is refused, and a tilt the records cannot tell from 0 is
// fitted again with β held at 0.

#include "identify/tilt_fit.h"
#include "synthetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace kelvora::identify {
namespace {

TEST(FitVerdict, TheSearchFindsAnInclinationAnywhereInThePagesRange) {
    struct Case {
        bool exact;
        double alpha, beta;
    };
    // From the grid's own points and between them, at either end; 20° lay beyond the
    // reach of the descents from a few points near level.
    const Case cases[] = {
        {false, 20, 3}, {true, -20, 3}, {true, 11.3, 6}, {false, -33, 2}, {true, 2.12, 4.24}};
    for (const Case& c : cases) {
        const auto d = test::inclinedTank(c.exact);
        const auto records = test::syntheticRecords(d, c.alpha, c.beta, 900, 0.5);
        const Identification id = fitTilt(d, records, false);
        ASSERT_TRUE(id.fit) << id.message << " alpha " << c.alpha;
        EXPECT_EQ(id.fit->lowerEndRight, c.alpha < 0) << c.alpha;
        EXPECT_NEAR(id.fit->alpha, std::fabs(c.alpha), 0.01) << c.alpha;
        EXPECT_NEAR(id.fit->beta, c.beta, std::max(0.1, 4 * id.fit->betaError)) << c.alpha;
        EXPECT_EQ(id.fit->exact, c.exact);
    }
}

TEST(FitVerdict, APoorFitIsRefused) {
    const auto d = test::inclinedTank(true);
    std::mt19937 random(11);
    struct Case {
        const char* what;
        int records;
        double levelNoise; // mm of uniform noise added to the levels, 0: levels at random
    };
    const Case cases[] = {{"levels at random", 300, 0}, {"levels with 150 mm of scatter", 300, 150}};
    for (const Case& c : cases) {
        auto records = test::syntheticRecords(d, 1.5, 3, 500, 0, c.records);
        std::uniform_real_distribution<double> anywhere(100, 1900), scatter(-c.levelNoise, c.levelNoise);
        for (double& h : records.level)
            h = c.levelNoise > 0 ? std::clamp(h + scatter(random), 0.0, 2000.0) : anywhere(random);
        const Identification id = fitTilt(d, records, false);
        EXPECT_FALSE(id.fit) << c.what << ": alpha " << id.fit->alpha << " rms " << id.fit->rms;
        EXPECT_EQ(id.message, messages::kPoorFit) << c.what;
    }
}

TEST(FitVerdict, ATiltTheRecordsCannotTellFromZeroIsHeldAtZero) {
    struct Case {
        bool exact;
        double alpha, beta, sigma;
        bool fixed;
    };
    // β 0 or 0.5° under much noise: its error passes 0.5°; a clear 4° keeps its own value.
    const Case cases[] = {{true, 1.3, 0, 25, true}, {false, -1.7, 0.5, 30, true}, {true, 2.0, 4, 8, false}};
    for (const Case& c : cases) {
        const auto d = test::inclinedTank(c.exact);
        const auto records = test::syntheticRecords(d, c.alpha, c.beta, 2500, c.sigma);
        const Identification id = fitTilt(d, records, false);
        ASSERT_TRUE(id.fit) << id.message;
        EXPECT_EQ(id.fit->betaFixed, c.fixed) << c.alpha << " beta error " << id.fit->betaError;
        if (c.fixed) {
            EXPECT_EQ(id.fit->beta, 0);
            EXPECT_EQ(id.fit->betaError, 0);
        } else {
            EXPECT_LE(id.fit->betaError, kMaxAngleError);
        }
        EXPECT_NEAR(id.fit->alpha, std::fabs(c.alpha), 4 * id.fit->alphaError) << c.alpha;
        EXPECT_LE(id.fit->alphaError, kMaxAngleError);
    }
}

} // namespace
} // namespace kelvora::identify
