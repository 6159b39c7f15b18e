#include "identify/tilt_fit.h"
#include "synthetic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace kelvora::identify {
namespace {

// Within a few standard errors; records without noise leave only the fit's own tolerance.
void expectNear(double fitted, double truth, double error, const char* what) {
    EXPECT_NEAR(fitted, truth, std::max(4 * error, 2e-4 * std::max(1.0, std::fabs(truth)))) << what;
}

TEST(FitTilt, RecoversTheAnglesAndStartingVolumeByEitherMethodAtEitherLowEnd) {
    struct Case {
        bool exact;
        double alpha, beta, sigma; // signed α: > 0 left end low
        bool betaZero;
    };
    const Case cases[] = {
        {true, 1.8, 3.5, 0, false},  {true, -2.2, 5, 0, false},   {false, 1.8, 3.5, 0, false},
        {false, -0.7, 6, 0, false},  {true, 1.2, 4, 2, false},    {false, -1.5, 4, 2, false},
        {true, -1.0, 0, 1, true},    {false, 2.0, 0, 1, true},
        // A level probe fitted with β free: the fit stops at β = 0, not short of it.
        {false, 1.3, 0, 0, false},   {true, -1.3, 0, 1, false},
    };
    for (const Case& c : cases) {
        const auto d = test::inclinedTank(c.exact);
        const double V0 = 4321.5;
        const auto records = test::syntheticRecords(d, c.alpha, c.beta, V0, c.sigma);
        const Identification id = fitTilt(d, records, c.betaZero);
        ASSERT_TRUE(id.fit) << id.message << " exact " << c.exact << " alpha " << c.alpha;
        const TiltFit& f = *id.fit;
        EXPECT_EQ(f.lowerEndRight, c.alpha < 0);
        expectNear(f.alpha, std::fabs(c.alpha), f.alphaError, "alpha");
        expectNear(f.beta, c.beta, f.betaError, "beta");
        expectNear(f.startVolume, V0, f.startError, "V0");
        EXPECT_EQ(f.used, records.level.size());
        EXPECT_NEAR(f.rms, c.sigma, c.sigma > 0 ? 0.3 * c.sigma : 1e-3);
        EXPECT_TRUE(!c.betaZero || f.beta == 0);
        // The fitted description holds the records' volumes.
        const TiltModel fitted(f.fitted);
        EXPECT_NEAR(fitted.volume(fitted.signedAlpha(), f.beta, 1000), TiltModel(d).volume(c.alpha, c.beta, 1000),
                    c.sigma > 0 ? 5 * c.sigma : 0.05);
    }
}

TEST(FitTilt, EveryStartingPointAloneReachesTheSameAnswer) {
    for (bool exact : {false, true}) {
        const auto d = test::inclinedTank(exact);
        const auto records = test::syntheticRecords(d, -1.6, 4.5, 1000, 1.5, 200);
        const Identification all = fitTilt(d, records, false);
        ASSERT_TRUE(all.fit);
        for (const StartingPoint& start :
             {StartingPoint{0.5, 4}, StartingPoint{-0.5, 4}, StartingPoint{2.5, 12}, StartingPoint{-2.5, 12},
              StartingPoint{4, 1}, StartingPoint{-0.1, 20}}) {
            const Identification one = fitTilt(d, records, false, {start});
            ASSERT_TRUE(one.fit) << start.alpha << "," << start.beta;
            EXPECT_NEAR(one.fit->alpha, all.fit->alpha, 1e-4) << start.alpha << "," << start.beta;
            EXPECT_NEAR(one.fit->beta, all.fit->beta, 1e-3) << start.alpha << "," << start.beta;
            EXPECT_EQ(one.fit->lowerEndRight, all.fit->lowerEndRight);
        }
    }
}

TEST(FitTilt, RefusesWhatCannotBeIdentified) {
    const auto d = test::inclinedTank(false);
    struct Case {
        int records;
        double from, to;
        const char* message;
    };
    const Case cases[] = {
        {9, 200, 1800, messages::kTooFewRecords},
        {0, 0, 0, messages::kTooFewRecords},
        {50, 1000, 1190, messages::kNarrowLevels}, // 9.5 % of 2000 mm
    };
    for (const Case& c : cases) {
        Records r;
        for (int i = 0; i < c.records; ++i) {
            const double h = c.from + (c.to - c.from) * i / std::max(1, c.records - 1);
            r.level.push_back(h);
            r.net.push_back(TiltModel(d).volume(1, 3, h));
        }
        const Identification id = fitTilt(d, r, false);
        EXPECT_FALSE(id.fit);
        EXPECT_EQ(id.message, c.message) << c.records;
    }
}

} // namespace
} // namespace kelvora::identify
