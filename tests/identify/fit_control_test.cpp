// A large file: the angles fitted to an evenly spaced sample, every record's residual
// computed; the progress reported as the fit goes, and a cancel ending it without a result.

#include "identify/tilt_fit.h"
#include "synthetic.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

namespace kelvora::identify {
namespace {

TEST(FitControl, AFileBeyondTheSampleIsFittedToASampleWithEveryResidual) {
    struct Case {
        int records;
        std::size_t sampled;
    };
    const Case cases[] = {{static_cast<int>(kMaxFittedRecords), 0},
                          {static_cast<int>(kMaxFittedRecords) + 2, kMaxFittedRecords},
                          {45000, kMaxFittedRecords}};
    const auto d = test::inclinedTank(false);
    for (const Case& c : cases) {
        // Noise well inside the 1 L floor: the one record set aside is the one typed wrong.
        auto records = test::syntheticRecords(d, -1.9, 3.5, 2000, 0.2, c.records);
        records.level[static_cast<std::size_t>(c.records - 2)] +=
            500; // beyond the sample's points, seen all the same
        std::vector<double> shares;
        const FitControl control{[&](double share) { shares.push_back(share); }, nullptr};
        const Identification id = fitTilt(d, records, false, {}, control);
        ASSERT_TRUE(id.fit) << id.message;
        EXPECT_EQ(id.fit->sampled, c.sampled) << c.records;
        EXPECT_EQ(id.fit->residualsAfter.size(), records.level.size());
        EXPECT_EQ(id.fit->residualsBefore.size(), records.level.size());
        EXPECT_EQ(id.fit->outliers, std::vector<std::size_t>{static_cast<std::size_t>(c.records - 1)});
        EXPECT_NEAR(id.fit->alpha, 1.9, 0.01);
        EXPECT_NEAR(id.fit->rms, 0.2, 0.03);
        ASSERT_FALSE(shares.empty());
        EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
        EXPECT_GE(shares.front(), 0);
        EXPECT_LE(shares.back(), 1);
        EXPECT_GT(shares.back(), 0.95);
    }
}

TEST(FitControl, ACancelLeavesNoResult) {
    const auto d = test::inclinedTank(true);
    const auto records = test::syntheticRecords(d, 2, 4, 1000, 1, 5000);
    for (double at : {0.0, 0.3, 0.9}) {
        std::atomic<bool> cancel{false};
        const FitControl control{[&](double share) {
                                     if (share >= at) cancel = true;
                                 },
                                 &cancel};
        const Identification id = fitTilt(d, records, false, {}, control);
        EXPECT_TRUE(id.cancelled) << at;
        EXPECT_FALSE(id.fit) << at;
        EXPECT_TRUE(id.message.empty()) << at;
    }
}

} // namespace
} // namespace kelvora::identify
