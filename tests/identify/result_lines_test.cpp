// The lines the batch tool prints for a fit: the method first, β held at 0 said so, the
// records set aside after the records used, with at most ten of their numbers; a sample
// said on its own line.

#include "identify/identification.h"

#include <gtest/gtest.h>

namespace kelvora::identify {
namespace {

TEST(ResultLines, MethodBetaAndOutliers) {
    struct Case {
        bool exact, betaFixed;
        std::vector<std::size_t> outliers;
        std::size_t sampled;
        std::string method, beta, outlierLine, note;
    };
    const Case cases[] = {
        {true, false, {}, 0, "method,exact", "beta,4.2403,0.0312", "outliers,0", ""},
        {false, true, {57, 301}, 0, "method,formulas", "beta,0,fixed", "outliers,2,57,301", ""},
        {true,
         false,
         {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37},
         20000,
         "method,exact",
         "beta,4.2403,0.0312",
         "outliers,12,2,3,5,7,11,13,17,19,23,29",
         "记录多于20000条：α、β按均匀抽取的20000条记录拟合，残差按全部1000000条记录计算。"},
    };
    for (const Case& c : cases) {
        TiltFit fit;
        fit.exact = c.exact;
        fit.alpha = 2.1195, fit.alphaError = 0.0101;
        fit.beta = c.betaFixed ? 0 : 4.2403, fit.betaError = c.betaFixed ? 0 : 0.0312;
        fit.betaFixed = c.betaFixed;
        fit.F = 6000, fit.startVolume = 1000, fit.rms = 0.88, fit.maxResidual = 3;
        fit.used = 1000000 - c.outliers.size(), fit.skipped = 2;
        fit.outliers = c.outliers;
        fit.sampled = c.sampled;
        const std::vector<std::string> lines = resultLines(fit);
        ASSERT_EQ(lines.size(), 10u);
        EXPECT_EQ(lines[0], c.method);
        EXPECT_EQ(lines[1], "low_end,left");
        EXPECT_EQ(lines[2], "alpha,2.1195,0.0101");
        EXPECT_EQ(lines[3], c.beta);
        EXPECT_EQ(lines[8], "records," + std::to_string(fit.used) + ",2");
        EXPECT_EQ(lines[9], c.outlierLine);
        EXPECT_EQ(sampleNote(fit), c.note);
    }
}

} // namespace
} // namespace kelvora::identify
