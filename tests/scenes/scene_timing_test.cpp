// The scenes' clocks and selectors, exactly: wrap points, the reduction loop,
// truncation toward zero, two's-complement parity and single precision.
#include "scenes/scene_timing.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(SceneTiming, SceneZeroClockWrapsAt65536Milliseconds) {
    EXPECT_EQ(wrappedSceneTime(65.5359), 65.535);
    EXPECT_EQ(wrappedSceneTime(65.536), 0.0);
    EXPECT_EQ(wrappedSceneTime(65.537), 0.001);
    EXPECT_EQ(wrappedSceneTime(8.0), 8.0);
    EXPECT_EQ(wrappedSceneTime(8.0009), 8.0); // truncated, not rounded
    EXPECT_EQ(wrappedSceneTime(131.072 + 1.5), 1.5);
    // Low 16 bits of the two's-complement count: -1 ms is 65535 ms.
    EXPECT_EQ(wrappedSceneTime(-0.001), 65.535);
    EXPECT_EQ(wrappedSceneTime(-0.0005), 0.0); // truncation toward zero
}

TEST(SceneTiming, SceneZeroClockKeepsWrappingPastTheIntRange) {
    // 30 days: t * 1000 no longer fits an int; the clock still wraps.
    double t = 30 * 86400.0 + 12.25;
    long long ms = (long long)(t * 1000);
    EXPECT_EQ(wrappedSceneTime(t), (double)(ms & 0xFFFF) / 1000);
    EXPECT_EQ(wrappedSceneTime(NAN), 0.0);
}

double reduceByLoop(double t) {
    while (t > 8)
        t -= 8;
    return t;
}

TEST(SceneTiming, StripClockIsTheSubtractionLoop) {
    EXPECT_EQ(reduceTime8(8.0), 8.0);
    EXPECT_EQ(reduceTime8(16.0), 8.0);
    EXPECT_EQ(reduceTime8(16.5), 0.5);
    EXPECT_EQ(reduceTime8(3.25), 3.25);
    EXPECT_EQ(reduceTime8(-20.0), -20.0);
    EXPECT_EQ(reduceTime8(std::nextafter(8.0, 9.0)), std::nextafter(8.0, 9.0) - 8);
    for (double t = 0.013; t < 5000; t = t * 1.37 + 0.011)
        EXPECT_EQ(reduceTime8(t), reduceByLoop(t)) << t;
    for (double t : {1e6 + 0.1, 1048576.0, 123456.789, 86400 * 7 + 1e-9})
        EXPECT_EQ(reduceTime8(t), reduceByLoop(t)) << t;
    // Where the loop could never finish, the reduction still ends.
    double r = reduceTime8(1e300);
    EXPECT_GT(r, 0.0);
    EXPECT_LE(r, 8.0);
}

TEST(SceneTiming, StripSelectorTruncatesTowardZero) {
    for (double t = 0; t < 20; t += 0.01) {
        double v = std::sin(t * 3.72) * std::sin(t * 2.3) * 19;
        int k = stripSelector(t);
        EXPECT_LE(std::abs(k), 19);
        EXPECT_LT(std::fabs(v - k), 1.0);
        EXPECT_LE(std::fabs((double)k), std::fabs(v)) << t; // never rounded outward
    }
}

TEST(SceneTiming, QuarterStepTruncatesTowardZero) {
    EXPECT_EQ(quarterStep(0.99), 0);
    EXPECT_EQ(quarterStep(1.0), 1);
    EXPECT_EQ(quarterStep(3.5), 3);
    EXPECT_EQ(quarterStep(4.0), 0);
    EXPECT_EQ(quarterStep(1210.224 + 0.5), 2); // 1210 & 3
    EXPECT_EQ(quarterStep(-0.5), 0);           // toward zero, not down
    EXPECT_EQ(quarterStep(-1.5), 3);           // -1 & 3
    EXPECT_EQ(quarterStep(3.0e9 + 2.5), (int)(3000000002LL & 3));
}

TEST(SceneTiming, CreditsTurnAPageEveryTwoHits) {
    const int want[] = {0, 0, 1, 1, 2, 2};
    for (int n = 12; n <= 17; n++)
        EXPECT_EQ(creditsPage(n), want[n - 12]) << n;
    EXPECT_EQ(creditsPage(18), 0);
    EXPECT_EQ(creditsPage(-3), -1); // remainder takes the dividend's sign
}

TEST(SceneTiming, JitterAngleIsSinglePrecision) {
    // The sine of the float product, then * 180 in float: within an ulp or
    // two of that (sinf may differ from the rounded double sine by one), and
    // far from the all-double chain, which differs by the float rounding of
    // s * 37 itself.
    int differs = 0;
    for (double s = 0.0; s < 50; s += 0.0731) {
        float x = (float)(s * 37);
        float want = (float)std::sin((double)x) * 180.0f;
        float ulp = std::nextafter(std::fabs(want), INFINITY) - std::fabs(want);
        EXPECT_NEAR(jitterAngle(s), want, 2 * ulp) << s;
        if (std::fabs((float)(std::sin(s * 37) * 180) - want) > 8 * ulp) differs++;
    }
    EXPECT_GT(differs, 300);
    EXPECT_EQ(jitterAngle(0.0), 0.0f);
}

} // namespace
