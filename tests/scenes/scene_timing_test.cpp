// The scenes' clocks and selectors, exactly: wrap points, the reduction loop,
// truncation toward zero, two's-complement parity and single precision.
#include "scenes/scene_timing.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(SceneTiming, SceneZeroClockWrapsAt65536MillisecondsTruncated) {
    // Low 16 bits of the two's-complement count, truncated toward zero.
    const double t[] = {65.5359, 65.536, 65.537, 8.0, 8.0009, 131.072 + 1.5, -0.001, -0.0005, NAN};
    const double want[] = {65.535, 0.0, 0.001, 8.0, 8.0, 1.5, 65.535, 0.0, 0.0};
    for (int i = 0; i < 9; i++)
        EXPECT_EQ(wrappedSceneTime(t[i]), want[i]) << t[i];
    // 30 days: t * 1000 no longer fits an int; the clock still wraps.
    double month = 30 * 86400.0 + 12.25;
    EXPECT_EQ(wrappedSceneTime(month), (double)((long long)(month * 1000) & 0xFFFF) / 1000);
}

TEST(SceneTiming, StripClockIsTheSubtractionLoop) {
    auto loop = [](double t) {
        while (t > 8)
            t -= 8;
        return t;
    };
    for (double t : {8.0, 16.0, 16.5, 3.25, -20.0, std::nextafter(8.0, 9.0), 1e6 + 0.1, 1048576.0,
                     123456.789, 86400 * 7 + 1e-9})
        EXPECT_EQ(reduceTime8(t), loop(t)) << t;
    for (double t = 0.013; t < 5000; t = t * 1.37 + 0.011)
        EXPECT_EQ(reduceTime8(t), loop(t)) << t;
    // Where the loop could never finish, the reduction still ends.
    double r = reduceTime8(1e300);
    EXPECT_TRUE(r > 0.0 && r <= 8.0) << r;
}

TEST(SceneTiming, SelectorsTruncateTowardZero) {
    for (double t = 0; t < 20; t += 0.01) {
        double v = std::sin(t * 3.72) * std::sin(t * 2.3) * 19;
        int k = stripSelector(t);
        EXPECT_TRUE(std::fabs(v - k) < 1.0 && std::abs(k) <= std::fabs(v)) << t << ": " << k;
    }
    // The large quad's step: the integer part's low two bits (-1 & 3 is 3).
    const double t[] = {0.99, 1.0, 3.5, 4.0, 1210.224 + 0.5, -0.5, -1.5, 3.0e9 + 2.5};
    const int want[] = {0, 1, 3, 0, 2, 0, 3, 2};
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(quarterStep(t[i]), want[i]) << t[i];
    // Credit pages turn every two hits; the remainder takes the dividend's sign.
    const int n[] = {12, 13, 14, 15, 16, 17, 18, -3}, pages[] = {0, 0, 1, 1, 2, 2, 0, -1};
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(creditsPage(n[i]), pages[i]) << n[i];
}

TEST(SceneTiming, JitterAngleIsSinglePrecision) {
    // The sine of the float product, then * 180 in float: within an ulp or
    // two of that (sinf may differ from the rounded double sine by one), and
    // far from the all-double chain, which differs by the float rounding of
    // s * 37 itself.
    int differs = 0;
    for (double s = 0.0; s < 50; s += 0.0731) {
        float want = (float)std::sin((double)(float)(s * 37)) * 180.0f;
        float ulp = std::nextafter(std::fabs(want), INFINITY) - std::fabs(want);
        EXPECT_NEAR(jitterAngle(s), want, 2 * ulp) << s;
        differs += std::fabs((float)(std::sin(s * 37) * 180) - want) > 8 * ulp;
    }
    EXPECT_GT(differs, 300);
    EXPECT_EQ(jitterAngle(0.0), 0.0f);
}

} // namespace
