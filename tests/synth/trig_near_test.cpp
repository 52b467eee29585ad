// The anchored cosine and cotangent must give the library's result bit for
// bit along the argument paths the modulations take (small steps, long runs,
// sudden jumps), and their polynomials must stay inside the error bound that
// the float-rounding check relies on.
#include "synth/trig_near.h"

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
    uint64_t x = 0x9E3779B97F4A7C15ull;
    double uniform() { // [0, 1)
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        return (double)(x >> 11) / 9007199254740992.0;
    }
};

// A double phase path: runs of `run` frames with a step of up to maxStep,
// starting anywhere below span, as the resonators' sweep and gain phases go.
void expectCosPath(double span, double maxStep, int runs, int run, double a, double b) {
    Lcg g;
    fast_trig::TrigNear near;
    for (int k = 0; k < runs; k++) {
        double x = g.uniform() * span;
        double step = maxStep * (0.1 + 0.9 * g.uniform());
        for (int i = 0; i < run; i++, x += step) {
            float want = (float)(std::cos(x) * a + b);
            ASSERT_EQ(bits(cosScaledNear(near, x, a, b)), bits(want)) << "x = " << x;
        }
    }
}

} // namespace

TEST(TrigNear, ResonatorPhasesOverHoursMatchTheLibrary) {
    expectCosPath(40000, 0.00001, 300, 4000, 3500, 4000); // cutoff sweep
    expectCosPath(40000, 0.00001, 300, 4000, 0.5, 0.5);   // feedback gain
    expectCosPath(3, 0.00001, 100, 4000, 0.5, 0.5);       // the first minutes
}

TEST(TrigNear, ColourPhasesOverTheWholeFloatRangeMatchTheLibrary) {
    // phase0 is a float advanced by 0.0001 in double, then scaled in double.
    const double scale[] = {3.543, 0.652, 0.712, 2.32};
    const double a[] = {0.8, 2500, 2500, 0.2}, b[] = {0, 3000, 3000, 0.7};
    Lcg g;
    for (int m = 0; m < 4; m++) {
        fast_trig::TrigNear near;
        for (int k = 0; k < 60; k++) {
            float phase0 = (float)(g.uniform() * 2048);
            for (int i = 0; i < 4000; i++) {
                double x = (double)phase0 * scale[m];
                float want = (float)(std::cos(x) * a[m] + b[m]);
                ASSERT_EQ(bits(cosScaledNear(near, x, a[m], b[m])), bits(want)) << x;
                phase0 = (float)((double)phase0 + 0.0001);
            }
        }
    }
}

TEST(TrigNear, CutoffTermsAlongSweptCutoffsMatchTheLibrary) {
    // Cutoffs from 500 to 7500 Hz that drift, and some that jump.
    Lcg g;
    fast_trig::TrigNear near;
    for (int k = 0; k < 400; k++) {
        double f = 500 + g.uniform() * 7000;
        double drift = (g.uniform() - 0.5) * 0.4; // Hz per frame
        for (int i = 0; i < 5000; i++, f += drift) {
            float w = (float)f * 3.1415825f / 44100.0f;
            float want = (float)(1.0 / std::tan((double)w));
            ASSERT_EQ(bits(cotNear(near, w)), bits(want)) << "f = " << f;
        }
    }
}

TEST(TrigNear, PolynomialsStayInsideTheRoundingCheckBound) {
    // At and near the edge of the reach, where the truncation error peaks.
    Lcg g;
    fast_trig::TrigNear near;
    double worstCos = 0, worstCot = 0;
    for (int k = 0; k < 20000; k++) {
        double x0 = 0.001 + g.uniform() * 0.749;
        near.anchor(x0);
        for (double h : {-fast_trig::kNearReach, -0.01, 0.003, fast_trig::kNearReach}) {
            double x = x0 + h;
            worstCos = std::fmax(worstCos, std::fabs(near.cos(x) - std::cos(x)));
            if (x > 0.001 && x < 0.75) {
                double cot = near.cos(x) / near.sin(x);
                worstCot = std::fmax(worstCot, std::fabs(cot * std::tan(x) - 1));
            }
        }
    }
    EXPECT_LT(worstCos, 2.5e-14);
    EXPECT_LT(worstCos, fast_trig::kCosBound / 50);
    EXPECT_LT(worstCot, fast_trig::kCotBound / 4);
}

TEST(TrigNear, JumpsReanchorAndOddArgumentsGoToTheLibrary) {
    fast_trig::TrigNear near;
    const double xs[] = {0.0, 5.0, -5.0, 40000.25, 1.0e5, 2.0e5, 1.0e300, 3.0};
    for (double x : xs)
        EXPECT_EQ(bits(cosScaledNear(near, x, 0.8, 0)), bits((float)(std::cos(x) * 0.8))) << x;
    EXPECT_TRUE(std::isnan(cosScaledNear(near, std::numeric_limits<double>::quiet_NaN(), 1, 0)));
    EXPECT_TRUE(std::isnan(cosScaledNear(near, std::numeric_limits<double>::infinity(), 1, 0)));
    EXPECT_EQ(bits(cosScaledNear(near, 3.0, 0.8, 0)), bits((float)(std::cos(3.0) * 0.8)))
        << "a usable anchor again after non-finite arguments";
    for (double w : {0.0005, 0.8, 0.3, 1.2, -0.3, 0.3001})
        EXPECT_EQ(bits(cotNear(near, w)), bits((float)(1.0 / std::tan(w)))) << w;
}

TEST(TrigNear, NearBoundaryValuesAreLeftToTheLibraryAndAreRare) {
    unsigned long before = fastTrigFallbacks();
    expectCosPath(2048, 0.0004, 100, 5000, 2500, 3000);
    unsigned long taken = fastTrigFallbacks() - before;
    EXPECT_GT(taken, 0u) << "near-boundary values must reach the library";
    EXPECT_LT(taken, 500u);
}
