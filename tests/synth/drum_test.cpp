// The drum voice alone: its first hit and the spacing of its hits, drawn
// from the generator (frand for pitch, then norf_rand for length).
#include "synth/drum.h"

#include "music_helpers.h"
#include "synth/random.h"

TEST(Drum, FirstHitAtZeroThenHitsSpacedByTheSecondDrawOfEach) {
    std::vector<unsigned int> starts{0};
    for (int hit = 0; hit < 6; hit++) {
        frand();
        starts.push_back(starts.back() + (norf_rand() % 3) * 64000 + 64000 + 1);
    }
    random_seed = 212328912u;
    ASSERT_EQ(starts[1], 128001u);
    std::vector<short> buf(4000);
    for (unsigned int at = 0; at < starts[6] + 10; at += 2000) {
        drum(buf.data(), 4000);
        g_bufferPos += 2000;
    }
    ASSERT_EQ(g_events.size(), 7u);
    size_t k = 0;
    for (const Event& e : g_events)
        EXPECT_EQ(e, (Event{1, eventTimeOfFrame(starts[k++])}))
            << "hit " << k; // the first: {1, 0.0}
}
