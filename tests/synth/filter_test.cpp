// The resonant low-pass: its step response, and a swept run whose hash
// catches a fused multiply-add or a widened float.
#include "synth/filter.h"

#include "music_helpers.h"
#include <cmath>

TEST(Filter, StepResponseOvershootsAndSettlesAt9999) {
    Filter f;
    std::vector<short> out;
    for (int i = 0; i < 400; i++)
        out.push_back(f.filter(10000));
    EXPECT_EQ(std::vector<short>(out.begin(), out.begin() + 6),
              (std::vector<short>{407, 1894, 4424, 7387, 10220, 12485}));
    auto peak = std::max_element(out.begin(), out.end());
    EXPECT_EQ(*peak, 14445);
    EXPECT_EQ(peak - out.begin(), 7);
    EXPECT_EQ(out.back(), 9999);
}

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
