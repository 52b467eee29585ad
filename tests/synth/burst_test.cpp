// The burst voice: its first bursts, the rhythm table, the echo feed and the
// colour phase's single-precision stall.
#include "synth/burst.h"

#include "music_helpers.h"
#include "synth/random.h"

static std::vector<short> runBurst(unsigned int frames) {
    std::vector<short> buf(2 * (size_t)frames, 0x5555);
    for (size_t at = 0; at < buf.size(); at += 4000) {
        unsigned int n = (unsigned int)std::min<size_t>(4000, buf.size() - at);
        burst(buf.data() + at, n);
        g_bufferPos += n / 2;
    }
    return buf;
}

TEST(Burst, FirstBurstPostsAtZeroLastsFourThousandFramesAndFollowsTheDrawOrder) {
    // From the initial seed: frand 0.77 keeps mode 0, and the length draw
    // 4155526 is even, so the first burst is 4000 frames long.
    std::vector<short> buf = runBurst(4001);
    ASSERT_EQ(g_events.size(), 2u);
    EXPECT_EQ(*g_events.begin(), (Event{0, 0.0}));
    EXPECT_EQ(*g_events.rbegin(), (Event{0, eventTimeOfFrame(4000)}));
    // Frames 0 and 1: draws 1-6 start the burst (p test, volume, length,
    // decay, w, freq), draws 7 and 8 are the noise of the two channels; the
    // colour pass halves it (echo lines empty) and filters at 3000 Hz, 0.9.
    EXPECT_EQ(std::vector<short>(buf.begin(), buf.begin() + 4),
              (std::vector<short>{1199, 1123, 4690, 4507}));
}

TEST(BurstRhythm, ModeTableLengthsDrawsAndSharedBeatCount) {
    struct {
        int mode, beatidx;
        std::vector<int> lens;
        int beatAfter;
        float p;
        unsigned int seedAfter;
    } cases[] = {
        {2, 0, {16000, 32000, 32000, 16000, 32000, 32000}, 6, 0.8f, 212328912u}, // no draws
        {2, 1, {32000, 32000, 16000}, 4, 0.8f, 212328912u}, // entered mid-cycle
        // Draws 14240460 (0 mod 3) and 10124704 (1 mod 3), only on the short beat.
        {3, 0, {2000, 32000, 32000, 3000}, 4, 0.8f, 10124704u},
        {0, 5, {4000, 4000}, 5, 0.1f, 10124704u}, // both draws even
        {1, 5, {2000, 3000}, 5, 0.05f, 10124704u},
    };
    for (auto& c : cases) {
        random_seed = 212328912u;
        int beatidx = c.beatidx;
        float p = 0;
        std::vector<int> lens;
        for (size_t k = 0; k < c.lens.size(); k++)
            lens.push_back(modeBurstLength(c.mode, beatidx, p));
        EXPECT_EQ(lens, c.lens) << "mode " << c.mode;
        EXPECT_EQ(beatidx, c.beatAfter) << "mode " << c.mode;
        EXPECT_EQ(p, c.p) << "mode " << c.mode;
        EXPECT_EQ(random_seed, c.seedAfter) << "mode " << c.mode;
    }
}

TEST(BurstColour, EchoFeedIsNineTenthsTruncatedAndClipped) {
    const int cases[][2] = {{1000, 900},    {-1001, -900},    {11, 9},
                            {40000, 32767}, {-52428, -32767}, {0, 0}};
    for (auto& c : cases)
        EXPECT_EQ(echoFeed(c[0]), c[1]) << c[0];
}

TEST(BurstColour, ModulationPhaseStallsAt2048AfterSeventeenMillionFrames) {
    float phase0 = 0;
    unsigned int frames = 0;
    for (float next; (next = nextColourPhase(phase0)) != phase0; frames++)
        phase0 = next;
    EXPECT_EQ(phase0, 2048.0f);
    EXPECT_EQ(frames, 17866579u);
}
