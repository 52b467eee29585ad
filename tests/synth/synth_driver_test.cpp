// The whole music stream: golden hashes of its first five seconds and of its
// events, and calls larger than the 8000-sample dry copy.
#include "synth/synth_driver.h"

#include "music_helpers.h"

static const unsigned int kGoldenFrames = 110 * 2000; // 4.99 s

TEST(SynthGolden, FirstFiveSecondsAndEventsInDriverBlocks) {
    std::vector<Event> ev;
    expectGoldenSamples("music_blocks", renderMusic(kGoldenFrames, {4000}, &ev),
                        0x1674126497ab7524ull);
    uint64_t h = fnv1a(nullptr, 0); // (type, time bits) in posting order
    for (const Event& e : ev) {
        h = fnv1a(&e.type, sizeof e.type, h);
        h = fnv1a(&e.time, sizeof e.time, h);
    }
    if (savingGoldens()) printf("golden events: 0x%016llxull\n", (unsigned long long)h);
    EXPECT_EQ(h, 0x8b97b537bea1c52dull);
    EXPECT_EQ(g_bufferPos, kGoldenFrames);
}

// buffer2 holds 8000 samples: larger calls are rendered as pieces of 8000.
TEST(SynthGolden, CallsBeyondTheDryCopyAreRenderedAsPiecesOf8000) {
    expectGoldenSamples("music_large", renderMusic(kGoldenFrames, {24000, 8000, 16000}),
                        0xd4e4af7d4a0d7c70ull);
}
