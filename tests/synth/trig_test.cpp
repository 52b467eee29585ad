// The float-rounded cosine and cotangent, plain and anchored near the last
// argument, must equal the library's double cos and tan followed by the same
// arithmetic, bit for bit, over every range and along every argument path the
// modulations take; values near a float rounding boundary go to the library.
#include "synth/fast_trig.h"
#include "synth/trig_near.h"

#include "music_helpers.h"
#include <cmath>
#include <limits>

namespace {

// The tests' own generator (the synthesizer's must see only its own draws).
struct Lcg {
    uint64_t x;
    double uniform() { // [0, 1)
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        return (double)(x >> 11) / 9007199254740992.0;
    }
};

// float(cos(x) * a + b) for x = phase * scale: the resonators' double phases
// over hours (~40000 rad a day), and the colour pass's float phase0 to 2048.
struct CosRange {
    double span, scale, a, b;
};
const CosRange kRanges[] = {
    {40000, 1, 3500, 4000}, {40000, 1, 0.5, 0.5},      {3, 1, 0.5, 0.5},
    {2048, 3.543, 0.8, 0},  {2048, 0.652, 2500, 3000}, {2048, 0.712, 2500, 3000},
    {2048, 2.32, 0.2, 0.7},
};

float libCos(double x, double a, double b) {
    return (float)(std::cos(x) * a + b);
}
float libCot(double w) {
    return (float)(1.0 / std::tan(w));
}
float cutoffW(double f) {
    return (float)f * 3.1415825f / 44100.0f;
}

// Runs of `run` steps from random starts: a double phase steps by up to
// 1e-5, a float phase by 0.0001 (rounded to float at every step).
void expectCosPaths(const CosRange& c, int runs, int run, uint64_t seed) {
    Lcg g{seed};
    fast_trig::TrigNear near;
    for (int k = 0; k < runs; k++) {
        double phase = c.scale == 1 ? g.uniform() * c.span : (float)(g.uniform() * c.span);
        double step = c.scale == 1 ? 1e-5 * (0.1 + 0.9 * g.uniform()) : 0.0001;
        for (int i = 0; i < run; i++) {
            double x = phase * c.scale;
            ASSERT_EQ(bits(cosScaledNear(near, x, c.a, c.b)), bits(libCos(x, c.a, c.b))) << x;
            phase = c.scale == 1 ? phase + step : (double)(float)(phase + step);
        }
    }
}

} // namespace

TEST(Trig, CosineMatchesTheLibraryOverEveryRangeAndPath) {
    for (const CosRange& c : kRanges) {
        Lcg g{88172645463325252ull};
        for (int i = 0; i < 600000; i++) {
            double x = (double)(float)(g.uniform() * c.span) * c.scale;
            ASSERT_EQ(bits(cosScaledToFloat(x, c.a, c.b)), bits(libCos(x, c.a, c.b)))
                << "x = " << x << " a = " << c.a << " b = " << c.b;
        }
        expectCosPaths(c, 150, 4000, 0x9E3779B97F4A7C15ull);
    }
}

TEST(Trig, CotangentMatchesTheLibraryForEveryCutoffAndSweep) {
    Lcg g{88172645463325252ull};
    for (int i = 0; i < 2000000; i++) {
        float w = cutoffW(300 + g.uniform() * 7500);
        ASSERT_EQ(bits(cotToFloat(w)), bits(libCot(w))) << "w = " << w;
    }
    fast_trig::TrigNear near; // cutoffs from 500 to 7500 Hz that drift and jump
    for (int k = 0; k < 400; k++) {
        double f = 500 + g.uniform() * 7000, drift = (g.uniform() - 0.5) * 0.4;
        for (int i = 0; i < 5000; i++, f += drift)
            ASSERT_EQ(bits(cotNear(near, cutoffW(f))), bits(libCot(cutoffW(f)))) << "f = " << f;
    }
}

TEST(Trig, PolynomialsStayInsideTheRoundingCheckBound) {
    // At and near the edge of the reach, where the truncation error peaks.
    Lcg g{1};
    fast_trig::TrigNear near;
    double worstCos = 0, worstCot = 0;
    for (int k = 0; k < 20000; k++) {
        double x0 = 0.001 + g.uniform() * 0.749;
        near.anchor(x0);
        for (double h : {-fast_trig::kNearReach, -0.01, 0.003, fast_trig::kNearReach}) {
            double x = x0 + h;
            worstCos = std::fmax(worstCos, std::fabs(near.cos(x) - std::cos(x)));
            if (x > 0.001 && x < 0.75)
                worstCot =
                    std::fmax(worstCot, std::fabs(near.cos(x) / near.sin(x) * std::tan(x) - 1));
        }
    }
    EXPECT_LT(worstCos, 2.5e-14);
    EXPECT_LT(worstCos, fast_trig::kCosBound / 50);
    EXPECT_LT(worstCot, fast_trig::kCotBound / 4);
}

TEST(Trig, JumpsAndOddArgumentsGoToTheLibrary) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    fast_trig::TrigNear near;
    for (double x : {0.0, -0.0, 5.0, -5.0, 1.5707963, 4.71238898, -40000.5, 40000.25, 1.0e5, 2.0e5,
                     1.0e300, nan, inf, 3.0}) { // 3.0: an anchor again after NaN
        float want = libCos(x, 0.8, 0);
        EXPECT_EQ(bits(cosScaledToFloat(x, 0.8, 0)), bits(want)) << x;
        EXPECT_EQ(bits(cosScaledNear(near, x, 0.8, 0)), bits(want)) << x;
    }
    for (double w : {0.0005, 0.8, 0.3, 1.2, -0.3, 0.3001}) {
        EXPECT_EQ(bits(cotToFloat(w)), bits(libCot(w))) << w;
        EXPECT_EQ(bits(cotNear(near, w)), bits(libCot(w))) << w;
    }
    EXPECT_EQ(cotToFloat(0.0), std::numeric_limits<float>::infinity());
}

TEST(Trig, NearBoundaryValuesAreLeftToTheLibraryAndAreRare) {
    unsigned long before = fastTrigFallbacks();
    Lcg g{7};
    for (int i = 0; i < 500000; i++) {
        double x = (double)(float)(g.uniform() * 2048) * 0.652;
        ASSERT_EQ(bits(cosScaledToFloat(x, 2500, 3000)), bits(libCos(x, 2500, 3000)));
    }
    unsigned long plain = fastTrigFallbacks() - before;
    expectCosPaths({2048, 1, 2500, 3000}, 100, 5000, 11);
    unsigned long anchored = fastTrigFallbacks() - before - plain;
    EXPECT_GT(plain, 0u) << "near-boundary values must reach the library";
    EXPECT_GT(anchored, 0u);
    EXPECT_LT(plain, 500u);
    EXPECT_LT(anchored, 500u);
}
