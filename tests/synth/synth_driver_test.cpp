// The whole music stream: its sample clock, its first events, the golden
// hashes of its first five seconds and of its events, and calls larger than
// the dry copy.
#include "synth/synth.h"

#include "golden.h"
#include "music_helpers.h"
#include "synth/events.h"
#include "synth/random.h"
#include <cstring>
#include <gtest/gtest.h>

namespace {

const unsigned int kGoldenFrames = 110 * 2000; // 4.99 s
const uint64_t kGoldenStream = 0x1674126497ab7524ull;
const uint64_t kGoldenEvents = 0x8b97b537bea1c52dull;
const uint64_t kGoldenPieces = 0xd4e4af7d4a0d7c70ull;

// Events hashed as (type, time bits) in posting order.
uint64_t hashEvents(const std::vector<Event>& ev) {
    uint64_t h = fnv1a(nullptr, 0);
    for (const Event& e : ev) {
        h = fnv1a(&e.type, sizeof e.type, h);
        h = fnv1a(&e.time, sizeof e.time, h);
    }
    return h;
}

void expectGoldenStream(const std::vector<short>& out, const char* name) {
    uint64_t h = fnv1a(out.data(), out.size() * sizeof(short));
    if (savingGoldens()) printf("golden stream: 0x%016llxull\n", (unsigned long long)h);
    if (h != kGoldenStream) {
        std::string path = saveActual(name, out.data(), out.size() * sizeof(short));
        ADD_FAILURE() << "stream differs from the golden one; actual samples in " << path;
    }
}

} // namespace

TEST(SynthDriver, ClockAdvancesByFramesRendered) {
    std::vector<short> buf(4000);
    for (int k = 1; k <= 5; k++) {
        updateSynth(buf.data(), 4000);
        EXPECT_EQ(g_bufferPos, 2000u * k);
    }
    updateSynth(buf.data(), 3);
    EXPECT_EQ(g_bufferPos, 10001u) << "count / 2 frames";
}

TEST(SynthDriver, FirstBlockStartsABurstAndADrumHitAtFrameZero) {
    std::vector<short> buf(4000);
    updateSynth(buf.data(), 4000);
    ASSERT_GE(g_events.size(), 2u);
    const Event* burst = getSynthEvent(0, 0.0);
    const Event* drum = getSynthEvent(1, 0.0);
    ASSERT_NE(burst, nullptr);
    ASSERT_NE(drum, nullptr);
    EXPECT_EQ(burst->time, 0.0);
    EXPECT_EQ(drum->time, 0.0);
}

TEST(SynthDriver, NullBufferChangesNothing) {
    unsigned int seed = random_seed;
    updateSynth(nullptr, 4000);
    EXPECT_EQ(random_seed, seed);
    EXPECT_EQ(g_bufferPos, 0u);
    EXPECT_TRUE(g_events.empty());
}

TEST(SynthDriver, EmptyAndNegativeCountsRenderNothing) {
    short guard[4] = {7, 7, 7, 7};
    updateSynth(guard, 0);
    updateSynth(guard, -6);
    EXPECT_EQ(g_bufferPos, 0u);
    EXPECT_TRUE(g_events.empty());
    for (short s : guard)
        EXPECT_EQ(s, 7);
}

TEST(SynthGolden, FirstFiveSecondsInDriverBlocks) {
    std::vector<Event> ev;
    std::vector<short> out = renderMusic(kGoldenFrames, {4000}, &ev);
    expectGoldenStream(out, "music_blocks");
    uint64_t h = hashEvents(ev);
    if (savingGoldens()) printf("golden events: 0x%016llxull\n", (unsigned long long)h);
    EXPECT_EQ(h, kGoldenEvents);
    // The first events in posting order: bursts of 4000, 8000 and 8000 frames
    // in mode 0, and the first drum hit.
    ASSERT_GE(ev.size(), 4u);
    EXPECT_EQ(ev[0].type, 0u);
    EXPECT_EQ(ev[0].time, 0.0);
    EXPECT_EQ(ev[1].type, 1u);
    EXPECT_EQ(ev[1].time, 0.0);
    EXPECT_EQ(ev[2].type, 0u);
    EXPECT_EQ(ev[2].time, eventTimeOfFrame(4000));
    EXPECT_EQ(ev[3].type, 0u);
    EXPECT_EQ(ev[3].time, eventTimeOfFrame(12000));
}

// Pieces of 8000 samples: the most that buffer2 holds.
static void expectEightThousandPieces(const std::vector<short>& out, const char* name) {
    uint64_t h = fnv1a(out.data(), out.size() * sizeof(short));
    if (savingGoldens()) printf("golden pieces: 0x%016llxull\n", (unsigned long long)h);
    if (h != kGoldenPieces) {
        std::string path = saveActual(name, out.data(), out.size() * sizeof(short));
        ADD_FAILURE() << "stream differs from the golden one; actual samples in " << path;
    }
}

TEST(SynthGolden, BlockSizeIsPartOfTheMusic) {
    // The burst voice draws for its whole block before the drum draws, so
    // 8000-sample calls make other music than 4000-sample ones.
    std::vector<short> out = renderMusic(kGoldenFrames, {8000});
    expectEightThousandPieces(out, "music_pieces");
    EXPECT_NE(fnv1a(out.data(), out.size() * sizeof(short)), kGoldenStream);
}

TEST(SynthGolden, CallsBeyondTheDryCopyAreRenderedAsPiecesOf8000) {
    std::vector<short> out = renderMusic(kGoldenFrames, {24000, 8000, 16000});
    expectEightThousandPieces(out, "music_large");
}

TEST(SynthGolden, OneCallForTheWholeStreamIsRenderedAsPiecesOf8000) {
    std::vector<short> out(2 * (size_t)kGoldenFrames);
    updateSynth(out.data(), (int)out.size());
    EXPECT_EQ(g_bufferPos, kGoldenFrames);
    expectEightThousandPieces(out, "music_whole");
}
