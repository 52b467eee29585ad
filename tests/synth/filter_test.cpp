// The resonant low-pass: its step response, its bounds, when parameter
// changes take effect, and the exact arithmetic of a swept run.
#include "synth/filter.h"

#include "golden.h"
#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

static uint32_t bitsOf(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

TEST(Filter, DefaultFilterStepResponseOvershootsAndSettlesAtUnityGainLessTruncation) {
    Filter f;
    const short head[] = {407, 1894, 4424, 7387, 10220, 12485};
    std::vector<short> out;
    for (int i = 0; i < 400; i++)
        out.push_back(f.filter(10000));
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(out[i], head[i]) << "sample " << i;
    auto peak = std::max_element(out.begin(), out.end());
    EXPECT_EQ(*peak, 14445);
    EXPECT_EQ(peak - out.begin(), 7) << "the peak is the eighth sample";
    EXPECT_EQ(out.back(), 9999);
}

TEST(Filter, SilenceInSilenceOut) {
    Filter f;
    for (int i = 0; i < 100; i++)
        ASSERT_EQ(f.filter(0), 0);
}

TEST(Filter, CutoffUsesThePiOfThisSynthNotFloatPi) {
    // 1 / tan(3000 * 3.1415825 / 44100) and the default resonance.
    Filter f;
    EXPECT_EQ(bitsOf(3.1415825f), 0x40490FB0u);
    EXPECT_FLOAT_EQ(f.r, 0.5f);
    float w = 3000.0f * 3.1415825f / 44100.0f;
    EXPECT_EQ(bitsOf(f.c), bitsOf((float)(1.0 / std::tan((double)w))));
    float wPi = 3000.0f * 3.14159265f / 44100.0f;
    EXPECT_NE(bitsOf(f.c), bitsOf((float)(1.0 / std::tan((double)wPi))));
}

TEST(Filter, ClipBoundsOutputEvenWhenResonanceRingsPastFullScale) {
    Filter f;
    f.setFreq(1000);
    f.setRes(0.02f);
    int hits = 0;
    for (int i = 0; i < 4000; i++) {
        short in = (i / 22) % 2 ? 32767 : -32767; // a square wave near the cutoff
        short y = f.filter(in);
        ASSERT_GE(y, -32767);
        ASSERT_LE(y, 32767);
        hits += y == 32767 || y == -32767;
    }
    EXPECT_GT(hits, 0) << "the test should drive the filter past full scale";
}

TEST(Filter, ParameterChangesTakeEffectAtTheNextSample) {
    Filter a, b;
    for (int i = 0; i < 10; i++) {
        ASSERT_EQ(a.filter(8000), b.filter(8000));
    }
    b.setFreq(500);
    EXPECT_NE(a.filter(8000), b.filter(8000));
    Filter c, d;
    d.setRes(0.9f);
    EXPECT_NE(c.filter(8000), d.filter(8000));
}

TEST(Filter, DegenerateCutoffSaturatesInsteadOfUndefinedConversion) {
    Filter f;
    f.setFreq(0); // 1 / tan(0): infinite cutoff term, NaN coefficients
    for (int i = 0; i < 10; i++) {
        short y = f.filter(1000);
        EXPECT_GE(y, -32767);
        EXPECT_LE(y, 32767);
    }
}

// A swept run through every precision step; a fused multiply-add, a double
// where a float belongs or a reordered sum changes this hash.
static std::vector<short> sweptRun() {
    Filter f;
    std::vector<short> out;
    unsigned int noise = 12345;
    for (int i = 0; i < 20000; i++) {
        f.setFreq((float)(std::cos(i * 0.001) * 2500 + 3000));
        f.setRes((float)(std::cos(i * 0.0023) * 0.2 + 0.7));
        noise = noise * 1103515245u + 12345u;
        short in = (short)((int)((noise >> 16) & 0xFFFF) - 32768);
        if (in == -32768) in = -32767;
        out.push_back(f.filter(in));
    }
    return out;
}

TEST(Filter, SweptNoiseMatchesGoldenHash) {
    std::vector<short> out = sweptRun();
    uint64_t h = fnv1a(out.data(), out.size() * sizeof(short));
    if (savingGoldens()) printf("golden filter sweep: 0x%016llxull\n", (unsigned long long)h);
    const uint64_t golden = 0xb406f76e8a3bce52ull;
    if (h != golden) saveActual("filter_sweep", out.data(), out.size() * sizeof(short));
    EXPECT_EQ(h, golden);
}
