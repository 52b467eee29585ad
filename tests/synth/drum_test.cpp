// The drum voice on its own: its first hit, the fades, the spacing of its
// hits from the generator's draws, and clipping.
#include "synth/drum.h"

#include "synth/events.h"
#include "synth/random.h"

#include "golden.h"
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

// The drum over `frames` frames of a buffer pre-filled with `base`, in calls
// of 4000 samples, advancing the sample clock as the driver does.
static std::vector<short> runDrum(unsigned int frames, short base = 0) {
    std::vector<short> buf(2 * (size_t)frames, base);
    for (size_t at = 0; at < buf.size(); at += 4000) {
        int n = (int)std::min<size_t>(4000, buf.size() - at);
        drum(buf.data() + at, n);
        g_bufferPos += (unsigned int)(n / 2);
    }
    return buf;
}

static std::vector<Event> drumEvents() {
    std::vector<Event> out;
    for (const Event& e : g_events)
        if (e.type == 1) out.push_back(e);
    return out;
}

TEST(Drum, FirstHitPostsAtTimeZeroAndFadesInFromSilence) {
    std::vector<short> buf = runDrum(40);
    ASSERT_EQ(g_events.size(), 1u);
    EXPECT_EQ(g_events.begin()->type, 1u);
    EXPECT_EQ(g_events.begin()->time, 0.0);
    EXPECT_EQ(buf[0], 0) << "fade-in factor 0/20";
    EXPECT_EQ(buf[1], 0);
    // Frame 1: cos(f0) * 0.9999 * (1/20) * 20000, f0 = frand() * 0.1.
    EXPECT_EQ(buf[2], 996);
    EXPECT_EQ(buf[3], 996) << "mono: the same value on both channels";
    EXPECT_EQ(buf[2 * 19], 2037);
    EXPECT_EQ(buf[2 * 20], 619) << "first frame past the fade-in";
}

// Start frames of the first hits, predicted from the generator: each hit
// draws frand() for its pitch, then norf_rand() for its length.
static std::vector<unsigned int> predictedHitStarts(int hits) {
    unsigned int saved = random_seed;
    std::vector<unsigned int> starts{0};
    for (int hit = 0; hit < hits; hit++) {
        frand();
        unsigned int len = (norf_rand() % 3) * 64000 + 64000;
        starts.push_back(starts.back() + len + 1);
    }
    random_seed = saved;
    return starts;
}

TEST(Drum, HitLengthComesFromTheSecondDrawOfEachHit) {
    std::vector<unsigned int> starts = predictedHitStarts(6);
    ASSERT_EQ(starts[1], 128001u) << "from the initial seed";
    runDrum(starts[6] + 10);
    std::vector<Event> ev = drumEvents();
    ASSERT_EQ(ev.size(), 7u);
    for (int k = 0; k < 7; k++)
        EXPECT_EQ(ev[k].time, eventTimeOfFrame(starts[k])) << "hit " << k;
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
    short half = buf[2 * (last - 400)];
    ASSERT_GT(std::abs(before), 20) << "the hit is still audible before the fade";
    EXPECT_NEAR(half, before / 2, 2) << "halfway through the 800-frame fade-out";
    EXPECT_EQ(buf[2 * last], 0) << "fade-out factor 0/800 at s_drumCount = s_length";
    EXPECT_EQ(buf[2 * last + 2], 0) << "the next hit fades in from 0/20";
    EXPECT_NE(buf[2 * last + 4], 0);
}

// The first 130000 frames in calls of the given sample counts.
static std::vector<short> runDrumSplit(std::vector<int> sizes) {
    std::vector<short> buf(2 * 130000, 0);
    size_t at = 0;
    for (size_t k = 0; at < buf.size(); k++) {
        int n = (int)std::min<size_t>((size_t)sizes[k % sizes.size()], buf.size() - at);
        drum(buf.data() + at, n);
        g_bufferPos += (unsigned int)(n / 2);
        at += (size_t)n;
    }
    return buf;
}

static void expectDrumGolden(const std::vector<short>& out) {
    uint64_t h = fnv1a(out.data(), out.size() * sizeof(short));
    if (savingGoldens()) printf("golden drum: 0x%016llxull\n", (unsigned long long)h);
    const uint64_t golden = 0x7ea89707b56b3bd7ull;
    if (h != golden) saveActual("drum", out.data(), out.size() * sizeof(short));
    EXPECT_EQ(h, golden);
    std::vector<Event> ev = drumEvents();
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[1].time, eventTimeOfFrame(128001));
}

TEST(Drum, BlocksOfTheDriverMatchGolden) {
    expectDrumGolden(runDrumSplit({4000}));
}

TEST(Drum, OddSizedCallsGiveTheSameHits) {
    expectDrumGolden(runDrumSplit({2, 6, 3998, 10000, 0, 4}));
}

TEST(Drum, AddsWithClipping) {
    std::vector<short> up = runDrum(200, 32000);
    bool clipped = false;
    for (short s : up) {
        ASSERT_LE(s, 32767);
        clipped |= s == 32767;
    }
    EXPECT_EQ(up[0], 32000);
    EXPECT_EQ(up[2], 32767) << "32000 + 996";
    EXPECT_TRUE(clipped);
}
