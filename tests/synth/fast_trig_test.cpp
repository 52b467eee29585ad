// The float-rounded cosine and cotangent must equal the library's double
// cos and tan followed by the same arithmetic, bit for bit, over every range
// the voices and resonators use; values near a float rounding boundary must
// be left to the library.
#include "synth/fast_trig.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace {

uint32_t bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

struct Lcg {
    uint64_t x = 88172645463325252ull;
    double uniform() { // [0, 1)
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        return (double)(x >> 11) / 9007199254740992.0;
    }
};

// Checks n arguments x = scale * u for u uniform in [0, span).
void expectCosMatches(double span, double scale, double a, double b, int n) {
    Lcg g;
    for (int i = 0; i < n; i++) {
        double x = (double)(float)(g.uniform() * span) * scale;
        float want = (float)(std::cos(x) * a + b);
        float got = cosScaledToFloat(x, a, b);
        ASSERT_EQ(bits(got), bits(want)) << "x = " << x << " a = " << a << " b = " << b;
    }
}

} // namespace

TEST(FastTrig, ResonatorSweepAndGainOverHoursOfPhase) {
    // Double phases advancing by 1e-6 to 1e-5 per frame: a day is ~40000 rad.
    expectCosMatches(40000, 1.0, 3500, 4000, 1000000);
    expectCosMatches(40000, 1.0, 0.5, 0.5, 1000000);
    expectCosMatches(3, 1.0, 0.5, 0.5, 300000); // the first minutes
}

TEST(FastTrig, ColourPassModulationOverTheWholeFloatPhase) {
    // phase0 is a float from 0 to 2048, scaled in double.
    expectCosMatches(2048, 3.543, 0.8, 0, 600000);
    expectCosMatches(2048, 0.652, 2500, 3000, 600000);
    expectCosMatches(2048, 0.712, 2500, 3000, 600000);
    expectCosMatches(2048, 2.32, 0.2, 0.7, 600000);
}

TEST(FastTrig, CotangentOfEveryCutoffRange) {
    Lcg g;
    for (int i = 0; i < 2000000; i++) {
        float f = (float)(300 + g.uniform() * 7500);
        float w = f * 3.1415825f / 44100.0f;
        float want = (float)(1.0 / std::tan((double)w));
        ASSERT_EQ(bits(cotToFloat(w)), bits(want)) << "f = " << f;
    }
}

TEST(FastTrig, ArgumentsOutsideTheFastRangeGoToTheLibrary) {
    const double odd[] = {-1.0,      -40000.5, 2.0e5,   1.0e300,   0.0,
                          1.5707963, -0.0,     3.14159, 4.71238898};
    for (double x : odd)
        EXPECT_EQ(bits(cosScaledToFloat(x, 0.8, 0)), bits((float)(std::cos(x) * 0.8))) << x;
    EXPECT_TRUE(std::isnan(cosScaledToFloat(std::numeric_limits<double>::quiet_NaN(), 1, 0)));
    EXPECT_TRUE(std::isnan(cosScaledToFloat(std::numeric_limits<double>::infinity(), 1, 0)));
    for (double w : {0.0005, 0.8, 1.2, -0.3})
        EXPECT_EQ(bits(cotToFloat(w)), bits((float)(1.0 / std::tan(w)))) << w;
    EXPECT_EQ(cotToFloat(0.0), std::numeric_limits<float>::infinity());
}

TEST(FastTrig, LibraryDecidesOnlyRarely) {
    unsigned long before = fastTrigFallbacks();
    expectCosMatches(2048, 0.652, 2500, 3000, 500000);
    unsigned long taken = fastTrigFallbacks() - before;
    EXPECT_GT(taken, 0u) << "near-boundary values must reach the library";
    EXPECT_LT(taken, 500u);
}
