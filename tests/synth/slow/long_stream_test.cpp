// Seven minutes of the music stream in driver blocks: past the point where
// the colour pass's modulation phase stalls (frame 17866579), through many
// re-anchorings of every modulation and many held drum cosines. The voices'
// float cosines are rounded correctly: with the C library's cosf this stream
// parted between C libraries (glibc against the browser's) after 13.59 s.
#include "../music_helpers.h"

TEST(SynthLongGolden, SevenMinutesInDriverBlocks) {
    const unsigned int frames = 9261 * 2000; // 18522000 frames, 420 s
    expectGoldenSamples("music_long", renderMusic(frames, {4000}), 0x017a6f95c24219f1ull);
}
