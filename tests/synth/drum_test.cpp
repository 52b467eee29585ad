// The drum voice on its own: its first hit, the fades, the spacing of its
// hits from the generator's draws, clipping, and a golden hash of two hits
// (which also pins the cosine held while the phase stalls).
#include "synth/drum.h"

#include "music_helpers.h"
#include "synth/random.h"

// The drum over `frames` frames of a buffer pre-filled with `base`, in calls
// of the given sample counts (cycled), advancing the clock as the driver does.
static std::vector<short> runDrum(unsigned int frames, short base = 0,
                                  std::vector<int> sizes = {4000}) {
    std::vector<short> buf(2 * (size_t)frames, base);
    for (size_t at = 0, k = 0; at < buf.size();) {
        int n = (int)std::min<size_t>((size_t)sizes[k++ % sizes.size()], buf.size() - at);
        drum(buf.data() + at, n);
        g_bufferPos += (unsigned int)(n / 2);
        at += (size_t)n;
    }
    return buf;
}

// Start frames of the first hits, predicted from the generator: each hit
// draws frand() for its pitch, then norf_rand() for its length.
static std::vector<unsigned int> predictedHitStarts(int hits) {
    unsigned int saved = random_seed;
    std::vector<unsigned int> starts{0};
    for (int hit = 0; hit < hits; hit++) {
        frand();
        starts.push_back(starts.back() + (norf_rand() % 3) * 64000 + 64000 + 1);
    }
    random_seed = saved;
    return starts;
}

// The voice keeps its state in function-local statics: one run per test.
TEST(Drum, FirstHitPostsAtTimeZeroAndFadesIn) {
    std::vector<short> buf = runDrum(40);
    ASSERT_EQ(g_events.size(), 1u);
    EXPECT_EQ(*g_events.begin(), (Event{1, 0.0}));
    // Frame 0 has fade-in factor 0/20; frame 1 is cos(f0) * 0.9999 * (1/20)
    // * 20000 with f0 = frand() * 0.1, the same on both channels.
    const int frames[][2] = {{0, 0}, {1, 996}, {19, 2037}, {20, 619}};
    for (auto& f : frames) {
        EXPECT_EQ(buf[2 * f[0]], f[1]) << "frame " << f[0];
        EXPECT_EQ(buf[2 * f[0] + 1], f[1]) << "frame " << f[0];
    }
}

TEST(Drum, AddsWithClipping) {
    std::vector<short> up = runDrum(200, 32000);
    EXPECT_EQ(up[0], 32000);
    EXPECT_EQ(up[2], 32767) << "32000 + 996";
    EXPECT_EQ(*std::max_element(up.begin(), up.end()), 32767);
}

TEST(Drum, HitLengthComesFromTheSecondDrawOfEachHit) {
    std::vector<unsigned int> starts = predictedHitStarts(6);
    ASSERT_EQ(starts[1], 128001u) << "from the initial seed";
    runDrum(starts[6] + 10);
    ASSERT_EQ(g_events.size(), 7u);
    size_t k = 0;
    for (const Event& e : g_events)
        EXPECT_EQ(e, (Event{1, eventTimeOfFrame(starts[k++])})) << "hit " << k;
}

TEST(Drum, ShortHitFadesOutToNothingAtItsLastFrame) {
    // Only a 64000-frame hit is still audible at its end (volume 0.9999^64000).
    std::vector<unsigned int> starts = predictedHitStarts(8);
    size_t k = 0;
    while (k + 1 < starts.size() && starts[k + 1] - starts[k] != 64001)
        k++;
    ASSERT_LT(k + 1, starts.size()) << "no short hit among the first eight";
    unsigned int last = starts[k] + 64000;
    std::vector<short> buf = runDrum(last + 3);
    short before = buf[2 * (last - 800)];
    ASSERT_GT(std::abs(before), 20) << "the hit is still audible before the fade";
    EXPECT_NEAR(buf[2 * (last - 400)], before / 2, 2) << "halfway through the 800-frame fade";
    EXPECT_EQ(buf[2 * last], 0) << "fade-out factor 0/800 at the hit's last frame";
    EXPECT_EQ(buf[2 * last + 2], 0) << "the next hit fades in from 0/20";
    EXPECT_NE(buf[2 * last + 4], 0);
}

static void expectTwoHitsGolden(std::vector<int> sizes) {
    expectGoldenSamples("drum", runDrum(130000, 0, sizes), 0x7ea89707b56b3bd7ull);
    ASSERT_EQ(g_events.size(), 2u);
    EXPECT_EQ(g_events.rbegin()->time, eventTimeOfFrame(128001));
}

TEST(Drum, TwoHitsInDriverBlocksMatchGolden) {
    expectTwoHitsGolden({4000});
}

TEST(Drum, TwoHitsInOddSizedCallsMatchGolden) {
    expectTwoHitsGolden({2, 6, 3998, 10000, 0, 4});
}
