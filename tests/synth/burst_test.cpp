// The burst voice: its first bursts, the rhythm table, the echo feed and the
// colour phase's single-precision stall.
#include "synth/burst.h"

#include "synth/events.h"
#include "synth/random.h"
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

static std::vector<short> runBurst(unsigned int frames) {
    std::vector<short> buf(2 * (size_t)frames, 0x5555);
    for (size_t at = 0; at < buf.size(); at += 4000) {
        unsigned int n = (unsigned int)std::min<size_t>(4000, buf.size() - at);
        burst(buf.data() + at, n);
        g_bufferPos += n / 2;
    }
    return buf;
}

TEST(Burst, FirstBurstPostsAtZeroAndLastsFourThousandFrames) {
    // From the initial seed: frand 0.77 keeps mode 0, and the length draw
    // 4155526 is even, so the first burst is 4000 frames long.
    runBurst(4001);
    ASSERT_EQ(g_events.size(), 2u);
    auto it = g_events.begin();
    EXPECT_EQ(it->type, 0u);
    EXPECT_EQ(it->time, 0.0);
    ++it;
    EXPECT_EQ(it->type, 0u);
    EXPECT_EQ(it->time, eventTimeOfFrame(4000));
}

TEST(Burst, FirstFramesFollowTheDrawOrder) {
    // Frame 0 of the first pass, from the initial seed: draws 1-6 start the
    // burst (p test, volume, length, decay, w, freq), draws 7 and 8 are the
    // noise of the two channels. The colour pass then halves it (echo lines
    // empty) and runs it through the 3000 Hz, resonance 0.9 filters.
    std::vector<short> buf = runBurst(2);
    EXPECT_EQ(buf[0], 1199);
    EXPECT_EQ(buf[1], 1123);
    EXPECT_EQ(buf[2], 4690);
    EXPECT_EQ(buf[3], 4507);
}

TEST(BurstRhythm, ModeTwoCyclesShortLongLong) {
    int beatidx = 0;
    float p = 0;
    unsigned int seed = random_seed;
    std::vector<int> lens;
    for (int k = 0; k < 6; k++)
        lens.push_back(modeBurstLength(2, beatidx, p));
    EXPECT_EQ(lens, (std::vector<int>{16000, 32000, 32000, 16000, 32000, 32000}));
    EXPECT_EQ(beatidx, 6);
    EXPECT_FLOAT_EQ(p, 0.8f);
    EXPECT_EQ(random_seed, seed) << "mode 2 draws nothing";
}

TEST(BurstRhythm, ModeTwoEnteredMidCycleContinuesTheSharedCount) {
    int beatidx = 1;
    float p = 0;
    std::vector<int> lens;
    for (int k = 0; k < 3; k++)
        lens.push_back(modeBurstLength(2, beatidx, p));
    EXPECT_EQ(lens, (std::vector<int>{32000, 32000, 16000}));
}

TEST(BurstRhythm, ModeThreeDrawsOnlyOnTheShortBeat) {
    int beatidx = 0;
    float p = 0;
    // First draw from the initial seed: 14240460, which is 0 mod 3.
    EXPECT_EQ(modeBurstLength(3, beatidx, p), 2000);
    EXPECT_EQ(random_seed, 14240460u);
    EXPECT_EQ(modeBurstLength(3, beatidx, p), 32000);
    EXPECT_EQ(modeBurstLength(3, beatidx, p), 32000);
    EXPECT_EQ(random_seed, 14240460u);
    EXPECT_EQ(beatidx, 3);
    // Second draw 10124704 is 1 mod 3.
    EXPECT_EQ(modeBurstLength(3, beatidx, p), 3000);
    EXPECT_FLOAT_EQ(p, 0.8f);
}

TEST(BurstRhythm, ModesZeroAndOneDrawTheirLengthsAndLeaveBeatidx) {
    int beatidx = 5;
    float p = 0;
    EXPECT_EQ(modeBurstLength(0, beatidx, p), 4000); // 14240460 is even
    EXPECT_FLOAT_EQ(p, 0.1f);
    EXPECT_EQ(modeBurstLength(0, beatidx, p), 4000); // 10124704 is even
    EXPECT_EQ(modeBurstLength(1, beatidx, p), 3000); // 4155526 is 1 mod 3
    EXPECT_FLOAT_EQ(p, 0.05f);
    EXPECT_EQ(beatidx, 5);
}

TEST(BurstColour, EchoFeedIsNineTenthsTruncatedAndClipped) {
    EXPECT_EQ(echoFeed(1000), 900);
    EXPECT_EQ(echoFeed(-1001), -900) << "truncation toward zero";
    EXPECT_EQ(echoFeed(11), 9);
    EXPECT_EQ(echoFeed(40000), 32767);
    EXPECT_EQ(echoFeed(-52428), -32767);
    EXPECT_EQ(echoFeed(0), 0);
}

TEST(BurstColour, ModulationPhaseStallsAt2048AfterSeventeenMillionFrames) {
    float phase0 = 0;
    unsigned int frames = 0;
    for (;;) {
        float next = nextColourPhase(phase0);
        if (next == phase0) break;
        phase0 = next;
        frames++;
    }
    EXPECT_EQ(phase0, 2048.0f);
    EXPECT_EQ(frames, 17866579u);
}
