// The drum keeps the cosine of its phase while the phase stalls (the pitch
// has died away and adding it no longer changes the float). Its output over
// whole hits must equal the voice that takes the cosine at every frame.
#include "synth/drum.h"

#include "synth/events.h"
#include "synth/random.h"
#include "synth/sample.h"
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

// The drum arithmetic, taking std::cos of the phase at every frame.
static std::vector<short> referenceDrum(unsigned int frames, unsigned int* stalled) {
    float volume = 0, freq = 0, phase = 0;
    unsigned int count = 0, length = 64000;
    std::vector<short> out(2 * (size_t)frames, 0);
    *stalled = 0;
    for (unsigned int i = 0; i < frames; i++) {
        if (count == 0) {
            volume = 1.0f;
            freq = (float)((double)frand() * 0.1);
            phase = 0;
            length = (norf_rand() % 3) * 64000 + 64000;
        }
        float v = std::cos(phase) * volume;
        if (count < 20) v = v * (float)((double)count / 20);
        unsigned int left = length - count;
        if (left < 800) v = v * (float)((double)left / 800);
        short s = (short)(int)(v * 20000.0f);
        out[2 * i] = clip(out[2 * i] + s);
        out[2 * i + 1] = clip(out[2 * i + 1] + s);
        float next = phase + freq;
        *stalled += next == phase;
        phase = next;
        freq = (float)((double)freq * 0.9995);
        volume = (float)((double)volume * 0.9999);
        if (++count > length) count = 0;
    }
    return out;
}

TEST(DrumStall, HeldCosineEqualsTheCosineOfEveryFrame) {
    const unsigned int frames = 600000; // several hits, about 13.6 s
    unsigned int seed = random_seed;
    std::vector<short> buf(2 * (size_t)frames, 0);
    for (size_t at = 0; at < buf.size(); at += 4000) {
        drum(buf.data() + at, 4000);
        g_bufferPos += 2000;
    }
    g_events.clear();
    random_seed = seed;
    unsigned int stalled = 0;
    std::vector<short> want = referenceDrum(frames, &stalled);
    EXPECT_GT(stalled, frames / 2) << "the held cosine should serve most frames";
    for (size_t i = 0; i < buf.size(); i++)
        ASSERT_EQ(buf[i], want[i]) << "sample " << i;
}
