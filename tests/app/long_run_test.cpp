// The show far into a run, on a virtual clock with the real reader, refill
// and frame driver: across 2^32 frames (the ring positions and the
// synthesizer's clock), across SDL's 32-bit millisecond wrap, and where the
// single-precision stamps of distinct hits coincide.
#include "virtual_show.h"

#include "synth/events.h"
#include <cmath>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

const uint64_t k2to32 = 1ull << 32;

// Stand-in synthesizer: the samples of each frame name its stream frame (low
// 30 bits); a drum hit every 20000 frames and a burst every 3000, posted and
// clocked as the voices and updateSynth do.
std::vector<double> s_drumStamps;
void taggingSynth(short* block, int count) {
    for (int i = 0; i < count / 2; i++) {
        uint64_t f = g_bufferPos + (unsigned int)i;
        block[2 * i] = (short)(f & 0x7fff);
        block[2 * i + 1] = (short)((f >> 15) & 0x7fff);
        if (f % 20000 == 0) {
            postSynthEvent(1, f);
            s_drumStamps.push_back(eventTimeOfFrame(f));
        }
        if (f % 3000 == 0) postSynthEvent(0, f);
    }
    g_bufferPos += (unsigned int)(count / 2);
}

// Drum hits the counter took in a pass (it restarts from 0 after 58).
int hitsTaken(int before, int after) {
    return after - (before >= 58 ? 0 : before);
}

// A 60 Hz pass moves demo time by 16 or 17 ms, whole to a hundredth of one.
void expectWholeFrameStep(double from, double to, const char* where) {
    double ms = (to - from) * 1000;
    EXPECT_TRUE((std::fabs(ms - 16) < 0.01 || std::fabs(ms - 17) < 0.01))
        << where << ": " << ms << " ms at t = " << to;
}

} // namespace

// Every frame is heard once, in order, from its own slot; each pass renders 0
// to 4 blocks; the counter takes exactly the hits whose stamps demo time has
// passed, also where hits share a stamp (from the tick wrap on the stamps'
// step exceeds the 20000 frames between these hits; at 2^39 frames it is
// 65536 frames, more than the drum's shortest hit).
TEST(LongRun, EveryFrameOnceAndOneCountPerHitAcrossEveryWrap) {
    // clang-format off
    const struct { const char* name; uint64_t frame, ms; } cases[] = {
        {"start", 0, 0},
        {"2^32 frames", (k2to32 / 2000 - 3) * 2000, (k2to32 / 2000 - 3) * 2000 * 10 / 441},
        {"2^32 ms", frameAtMs(k2to32 - 3000), k2to32 - 3000},
        {"2^39 frames", (1ull << 39) / 2000 * 2000, (1ull << 39) / 2000 * 2000 * 10 / 441}};
    // clang-format on
    for (const auto& c : cases) {
        g_events.clear();
        s_drumStamps.clear();
        incs = 0;
        VirtualShow show(c.frame, c.ms);
        uint64_t heardFrame = c.frame;
        int taken = 0, prevN = 0;
        double prevT = ticksToSeconds(c.ms);
        for (int pass = 0; pass < 20 * 60 && !testing::Test::HasFailure(); pass++) {
            FramePlan plan = show.pass(taggingSynth);
            ASSERT_TRUE(pass == 0 ? plan.blocks == 4 : plan.blocks <= 4) << c.name << pass;
            for (size_t b = 0; b < show.heard.size(); b += 4, heardFrame++) {
                unsigned int tag = show.heard[b] | show.heard[b + 1] << 8 |
                                   show.heard[b + 2] << 15 | show.heard[b + 3] << 23;
                ASSERT_EQ(tag, heardFrame & 0x3fffffff) << c.name << " frame " << heardFrame;
            }
            show.heard.clear();
            taken += hitsTaken(prevN, plan.n);
            prevN = plan.n;
            int due = 0;
            for (double s : s_drumStamps)
                due += s < show.t;
            ASSERT_EQ(taken, due) << c.name << " at t = " << show.t;
            expectWholeFrameStep(prevT, show.t, c.name);
            prevT = show.t;
        }
        EXPECT_GT(heardFrame, c.frame + 19 * 44100) << c.name;
        EXPECT_GT(taken, 40) << c.name;
        int shared = 0;
        for (size_t k = 1; k < s_drumStamps.size(); k++)
            shared += s_drumStamps[k] == s_drumStamps[k - 1];
        if (c.frame >= 1ull << 39) {
            EXPECT_GT(shared, 0) << "no hits shared a stamp";
        }
    }
}

// The real music across the wraps: the clock still moves by whole frames,
// no event is taken before its time or left after it, and the drum hits
// carry the counter from scene 1 into the credits.
TEST(LongRun, RealMusicKeepsEventsDueAndScenesMovingAcrossTheWraps) {
    const uint64_t frame32 = (k2to32 / 2000 - 3) * 2000;
    const struct {
        const char* name;
        uint64_t frame, ms;
    } cases[] = {{"2^32 frames", frame32, frame32 * 10 / 441},
                 {"2^32 ms", frameAtMs(k2to32 - 3000), k2to32 - 3000}};
    for (const auto& c : cases) {
        g_events.clear();
        incs = 10;
        VirtualShow show(c.frame, c.ms);
        std::set<int> scenes;
        double prevT = ticksToSeconds(c.ms);
        for (int pass = 0; pass < 30 * 60 && !testing::Test::HasFailure(); pass++) {
            std::multiset<std::pair<unsigned int, double>> before;
            for (const Event& e : g_events)
                before.insert({e.type, e.time});
            FramePlan plan = show.pass();
            ASSERT_LE(plan.blocks, 4) << c.name;
            for (const Event& e : g_events) {
                ASSERT_GE(e.time, show.t) << c.name << ": an event due before this pass is left";
                auto it = before.find({e.type, e.time});
                if (it != before.end()) before.erase(it);
            }
            for (auto& e : before)
                ASSERT_LT(e.second, show.t) << c.name << ": taken early";
            scenes.insert(plan.scene);
            show.heard.clear();
            expectWholeFrameStep(prevT, show.t, c.name);
            prevT = show.t;
        }
        EXPECT_GT(show.ms(), c.ms + 29000);
        EXPECT_TRUE(scenes.count(SCENE_1) && scenes.count(SCENE_CREDITS)) << c.name;
    }
}
