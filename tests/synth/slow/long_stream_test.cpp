// Seven minutes of the music stream in driver blocks: past the point where
// the colour pass's modulation phase stalls (frame 17866579), through many
// re-anchorings of every modulation and many held drum cosines.
#include "golden.h"
#include "synth/events.h"
#include "synth/synth.h"

#include <gtest/gtest.h>
#include <vector>

TEST(SynthLongGolden, SevenMinutesInDriverBlocks) {
    const unsigned int blocks = 9261; // 18522000 frames, 420 s
    const uint64_t golden = 0x99c41bb7dc5257bfull;
    std::vector<short> out(4000 * (size_t)blocks);
    for (unsigned int b = 0; b < blocks; b++) {
        updateSynth(out.data() + 4000 * (size_t)b, 4000);
        g_events.clear();
    }
    uint64_t h = fnv1a(out.data(), out.size() * sizeof(short));
    if (savingGoldens()) printf("golden long stream: 0x%016llxull\n", (unsigned long long)h);
    if (h != golden) {
        std::string path = saveActual("music_long", out.data(), out.size() * sizeof(short));
        ADD_FAILURE() << "stream differs from the golden one; actual samples in " << path;
    }
}
