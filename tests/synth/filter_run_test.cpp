// Sample loops that filter with shared coefficient tables and store the
// filter's terms once after the run must leave the filter, and produce the
// samples, exactly as a filter() call per sample does.
#include "synth/filter.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

static bool sameBits(const Filter& a, const Filter& b) {
    return std::memcmp(&a, &b, sizeof(Filter)) == 0;
}

TEST(FilterRun, StepsThenSetTermsEqualAFilterCallPerSample) {
    Filter plain, run;
    std::vector<float> c, r;
    std::vector<FilterCoeffs> k;
    unsigned int noise = 777;
    for (int i = 0; i < 3000; i++) {
        float f = (float)(std::cos(i * 0.002) * 2500 + 3000);
        c.push_back(cutoffTerm(f));
        r.push_back((float)(std::cos(i * 0.0031) * 0.2 + 0.7));
        k.push_back(filterCoeffs(c.back(), r.back()));
    }
    for (int i = 0; i < 3000; i++) {
        noise = noise * 1103515245u + 12345u;
        short in = (short)((int)((noise >> 16) & 0x7FFF) - 16384);
        plain.setFreq((float)(std::cos(i * 0.002) * 2500 + 3000));
        plain.setRes(r[i]);
        ASSERT_EQ(plain.c, c[i]);
        ASSERT_EQ(plain.filter(in), run.step(k[i], in)) << "sample " << i;
    }
    EXPECT_FALSE(sameBits(plain, run)) << "step() leaves the terms alone";
    run.setTerms(c.back(), r.back(), k.back());
    EXPECT_TRUE(sameBits(plain, run));
}

TEST(FilterRun, CutoffTermNearMatchesCutoffTermAlongASweep) {
    fast_trig::TrigNear near;
    for (int i = 0; i < 200000; i++) {
        float f = (float)(std::cos(i * 0.00003) * 3500 + 4000);
        float want = cutoffTerm(f);
        float got = cutoffTermNear(near, f);
        ASSERT_EQ(std::memcmp(&want, &got, sizeof want), 0) << "f = " << f;
    }
}

TEST(FilterRun, SaturationAndNaNStillGiveBoundedSamples) {
    EXPECT_EQ(truncClip(32766.9f), 32766);
    EXPECT_EQ(truncClip(-32766.9f), -32766);
    EXPECT_EQ(truncClip(32767.0f), 32767);
    EXPECT_EQ(truncClip(-32767.0f), -32767);
    EXPECT_EQ(truncClip(1.0e30f), 32767);
    EXPECT_EQ(truncClip(-1.0e30f), -32767);
    EXPECT_EQ(truncClip(std::nanf("")), 0);
    EXPECT_EQ(truncClip(-0.5f), 0);
}
