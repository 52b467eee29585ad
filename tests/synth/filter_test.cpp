// The resonant low-pass: its step response, its bounds, the exact arithmetic
// of a swept run, and the shared-coefficient loop that must equal it.
#include "synth/filter.h"

#include "music_helpers.h"
#include <cmath>

TEST(Filter, DefaultStepResponseOvershootsAndSettlesAtUnityGainLessTruncation) {
    Filter f;
    std::vector<short> out;
    for (int i = 0; i < 400; i++)
        out.push_back(f.filter(10000));
    EXPECT_EQ(std::vector<short>(out.begin(), out.begin() + 6),
              (std::vector<short>{407, 1894, 4424, 7387, 10220, 12485}));
    auto peak = std::max_element(out.begin(), out.end());
    EXPECT_EQ(*peak, 14445);
    EXPECT_EQ(peak - out.begin(), 7) << "the peak is the eighth sample";
    EXPECT_EQ(out.back(), 9999);
}

TEST(Filter, CutoffUsesThePiOfThisSynthNotFloatPi) {
    Filter f; // 1 / tan(3000 * 3.1415825 / 44100), resonance 0.5
    EXPECT_EQ(bits(3.1415825f), 0x40490FB0u);
    EXPECT_EQ(f.r, 0.5f);
    EXPECT_EQ(bits(f.c), bits((float)(1.0 / std::tan((double)(3000.0f * 3.1415825f / 44100.0f)))));
    EXPECT_NE(bits(f.c), bits((float)(1.0 / std::tan((double)(3000.0f * 3.14159265f / 44100.0f)))));
}

TEST(Filter, OutputStaysInsideFullScaleWhenRingingOrDegenerate) {
    Filter f;
    f.setFreq(1000);
    f.setRes(0.02f);
    int hits = 0;
    for (int i = 0; i < 4000; i++) {
        short y = f.filter((i / 22) % 2 ? 32767 : -32767); // a square wave near the cutoff
        ASSERT_GE(y, -32767);
        hits += y == 32767 || y == -32767;
    }
    EXPECT_GT(hits, 0) << "the test should drive the filter past full scale";
    Filter g;
    g.setFreq(0); // 1 / tan(0): infinite cutoff term, NaN coefficients
    for (int i = 0; i < 10; i++)
        ASSERT_GE(g.filter(1000), -32767);
    const float in[] = {32766.9f, -32766.9f, 32767.0f, -32767.0f, 1.0e30f, -1.0e30f, NAN, -0.5f};
    const short want[] = {32766, -32766, 32767, -32767, 32767, -32767, 0, 0};
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(truncClip(in[i]), want[i]) << in[i];
}

// A swept run through every precision step; a fused multiply-add, a double
// where a float belongs or a reordered sum changes this hash.
TEST(Filter, SweptNoiseMatchesGoldenHash) {
    Filter f;
    std::vector<short> out;
    unsigned int noise = 12345;
    for (int i = 0; i < 20000; i++) {
        f.setFreq((float)(std::cos(i * 0.001) * 2500 + 3000));
        f.setRes((float)(std::cos(i * 0.0023) * 0.2 + 0.7));
        noise = noise * 1103515245u + 12345u;
        short in = (short)((int)((noise >> 16) & 0xFFFF) - 32768);
        out.push_back(f.filter(in == -32768 ? -32767 : in));
    }
    expectGoldenSamples("filter_sweep", out, 0xb406f76e8a3bce52ull);
}

// Voices filter with shared coefficient tables and store the filter's terms
// once after the run: samples and final state must equal filter() per sample.
TEST(FilterRun, StepsThenSetTermsEqualAFilterCallPerSample) {
    Filter plain, run;
    fast_trig::TrigNear near;
    unsigned int noise = 777;
    float c = 0, r = 0;
    FilterCoeffs k{};
    for (int i = 0; i < 3000; i++) {
        float freq = (float)(std::cos(i * 0.002) * 2500 + 3000);
        c = cutoffTerm(freq);
        ASSERT_EQ(bits(cutoffTermNear(near, freq)), bits(c));
        r = (float)(std::cos(i * 0.0031) * 0.2 + 0.7);
        k = filterCoeffs(c, r);
        noise = noise * 1103515245u + 12345u;
        short in = (short)((int)((noise >> 16) & 0x7FFF) - 16384);
        plain.setFreq(freq);
        plain.setRes(r);
        ASSERT_EQ(bits(plain.c), bits(c));
        ASSERT_EQ(plain.filter(in), run.step(k, in)) << "sample " << i;
    }
    EXPECT_NE(std::memcmp(&plain, &run, sizeof(Filter)), 0) << "step() leaves the terms alone";
    run.setTerms(c, r, k);
    EXPECT_EQ(std::memcmp(&plain, &run, sizeof(Filter)), 0);
}
