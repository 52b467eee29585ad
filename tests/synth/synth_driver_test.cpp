// The whole music stream: its sample clock, bad counts, the golden hashes of
// its first five seconds and of its events, and calls larger than the dry copy.
#include "synth/synth.h"

#include "music_helpers.h"
#include "synth/random.h"

namespace {

const unsigned int kGoldenFrames = 110 * 2000; // 4.99 s
const uint64_t kGoldenStream = 0x1674126497ab7524ull;
const uint64_t kGoldenEvents = 0x8b97b537bea1c52dull;
const uint64_t kGoldenPieces = 0xd4e4af7d4a0d7c70ull; // calls of 8000 samples

// Events hashed as (type, time bits) in posting order.
uint64_t hashEvents(const std::vector<Event>& ev) {
    uint64_t h = fnv1a(nullptr, 0);
    for (const Event& e : ev) {
        h = fnv1a(&e.type, sizeof e.type, h);
        h = fnv1a(&e.time, sizeof e.time, h);
    }
    return h;
}

} // namespace

TEST(SynthDriver, ClockAdvancesByFramesRenderedAndBadCallsChangeNothing) {
    short guard[4] = {7, 7, 7, 7};
    updateSynth(nullptr, 4000);
    updateSynth(guard, 0);
    updateSynth(guard, -6);
    EXPECT_EQ(random_seed, 212328912u);
    EXPECT_EQ(g_bufferPos, 0u);
    EXPECT_TRUE(g_events.empty());
    EXPECT_EQ(std::vector<short>(guard, guard + 4), std::vector<short>(4, 7));
    std::vector<short> buf(4000);
    for (unsigned int k = 1; k <= 5; k++) {
        updateSynth(buf.data(), 4000);
        EXPECT_EQ(g_bufferPos, 2000u * k);
    }
    updateSynth(buf.data(), 3);
    EXPECT_EQ(g_bufferPos, 10001u) << "count / 2 frames";
}

TEST(SynthGolden, FirstFiveSecondsInDriverBlocks) {
    std::vector<Event> ev;
    expectGoldenSamples("music_blocks", renderMusic(kGoldenFrames, {4000}, &ev), kGoldenStream);
    uint64_t h = hashEvents(ev);
    if (savingGoldens()) printf("golden events: 0x%016llxull\n", (unsigned long long)h);
    EXPECT_EQ(h, kGoldenEvents);
    // In posting order: a burst and a drum hit at frame 0, then bursts of
    // 4000 and 8000 frames in mode 0.
    ASSERT_GE(ev.size(), 4u);
    EXPECT_EQ(std::vector<Event>(ev.begin(), ev.begin() + 4),
              (std::vector<Event>{
                  {0, 0.0}, {1, 0.0}, {0, eventTimeOfFrame(4000)}, {0, eventTimeOfFrame(12000)}}));
}

// The burst voice draws for its whole call before the drum draws, so
// 8000-sample calls make other music than 4000-sample ones.
TEST(SynthGolden, BlockSizeIsPartOfTheMusic) {
    std::vector<short> out = renderMusic(kGoldenFrames, {8000});
    expectGoldenSamples("music_pieces", out, kGoldenPieces);
    EXPECT_NE(fnv1a(out.data(), out.size() * sizeof(short)), kGoldenStream);
}

// buffer2 holds 8000 samples: larger calls are rendered as pieces of 8000.
TEST(SynthGolden, CallsBeyondTheDryCopyAreRenderedAsPiecesOf8000) {
    expectGoldenSamples("music_large", renderMusic(kGoldenFrames, {24000, 8000, 16000}),
                        kGoldenPieces);
}

TEST(SynthGolden, OneCallForTheWholeStreamIsRenderedAsPiecesOf8000) {
    std::vector<short> out(2 * (size_t)kGoldenFrames);
    updateSynth(out.data(), (int)out.size());
    EXPECT_EQ(g_bufferPos, kGoldenFrames);
    expectGoldenSamples("music_whole", out, kGoldenPieces);
}
