// The burst voice: its first bursts and the rhythm table of its four modes.
#include "synth/burst.h"

#include "music_helpers.h"
#include "synth/random.h"
#include <algorithm>
#include <tuple>

TEST(Burst, FirstBurstPostsAtZeroAndLastsFourThousandFrames) {
    std::vector<short> buf(2 * 4001);
    for (unsigned int at = 0; at < buf.size(); at += 4000, g_bufferPos += 2000)
        burst(buf.data() + at, std::min(4000u, (unsigned int)buf.size() - at));
    ASSERT_EQ(g_events.size(), 2u);
    EXPECT_EQ(*g_events.begin(), (Event{0, 0.0}));
    EXPECT_EQ(*g_events.rbegin(), (Event{0, eventTimeOfFrame(4000)}));
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
        {2, 1, {32000, 32000, 16000}, 4, 0.8f, 212328912u},
        {3, 0, {2000, 32000, 32000, 3000}, 4, 0.8f, 10124704u}, // draws on the short beat only
        {0, 5, {4000, 4000}, 5, 0.1f, 10124704u},
        {1, 5, {2000, 3000}, 5, 0.05f, 10124704u},
    };
    for (auto& c : cases) {
        random_seed = 212328912u;
        int beatidx = c.beatidx;
        float p = 0;
        std::vector<int> lens;
        for (size_t k = 0; k < c.lens.size(); k++)
            lens.push_back(modeBurstLength(c.mode, beatidx, p));
        EXPECT_EQ(std::make_tuple(lens, beatidx, p, random_seed),
                  std::make_tuple(c.lens, c.beatAfter, c.p, c.seedAfter))
            << "mode " << c.mode;
    }
}
