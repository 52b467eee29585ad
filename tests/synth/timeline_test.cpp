// The frame driver over minutes of real music on a virtual clock and a
// virtual play position: drum hits walk incs through the whole scene table
// and wrap at 58; every event is consumed in the first frame after its time,
// none is lost and none is taken early.
#include "app/frame_driver.h"

#include "synth/events.h"
#include "synth/ring.h"
#include <cstdint>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

struct Tracked {
    double posted;   // demo time of the frame that first showed the event
    double consumed; // demo time of the frame it disappeared in, or -1
    double before;   // demo time of the frame before that one
};

struct Timeline {
    std::map<std::pair<unsigned int, double>, Tracked> events;
    std::vector<int> scenes; // scene of every frame
    std::vector<int> counts; // n of every frame
    int drumIncrements = 0;  // incs steps seen, counting the wrap
    double lastT = 0;
};

// A frame-time pattern with jitter (its own generator: the synthesizer's
// must only see the draws the frame driver makes).
uint32_t nextStep(uint32_t& x) {
    x = x * 1103515245u + 12345u;
    return 300 + (x >> 16) % 1600; // 300..1899 frames, 7..43 ms
}

Timeline runFrames(double seconds) {
    Timeline tl;
    uint32_t jitter = 4242;
    uint32_t readPos = 0;
    double prevT = -1;
    int prevN = 0;
    while (readPos < seconds * 44100) {
        // The device plays in step with the clock: the ring's lead keeps every
        // new event in the future when its block is synthesized.
        double t = readPos / 44100.0;
        std::map<std::pair<unsigned int, double>, bool> before;
        for (const Event& e : g_events)
            before[{e.type, e.time}] = true;
        FramePlan plan = planFrame(t, readPos);
        std::map<std::pair<unsigned int, double>, bool> after;
        for (const Event& e : g_events)
            after[{e.type, e.time}] = true;
        for (auto& kv : before)
            if (!after.count(kv.first))
                tl.events[kv.first] = {tl.events[kv.first].posted, t, prevT};
        for (auto& kv : after)
            if (!before.count(kv.first)) {
                EXPECT_GE(kv.first.second, t) << "a new event is already due";
                tl.events[kv.first] = {t, -1, -1};
            }
        tl.scenes.push_back(plan.scene);
        tl.counts.push_back(plan.n);
        tl.drumIncrements += plan.n - (prevN >= 58 ? 0 : prevN);
        prevN = plan.n;
        prevT = t;
        readPos += nextStep(jitter);
    }
    tl.lastT = prevT;
    return tl;
}

} // namespace

TEST(Timeline, ThreeMinutesOfMusicWalkTheSceneTableAndWrap) {
    Timeline tl = runFrames(240);
    ASSERT_FALSE(tl.scenes.empty());

    // The scenes in table order, the wrap, and the first scene again.
    std::vector<int> order;
    for (int s : tl.scenes)
        if (order.empty() || order.back() != s) order.push_back(s);
    std::vector<int> expected{SCENE_1, SCENE_CREDITS, SCENE_0,    SCENE_3,
                              SCENE_4, SCENE_5,       SCENE_NONE, SCENE_1};
    ASSERT_GE(order.size(), expected.size());
    EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 8), expected);
    for (size_t f = 0; f < tl.scenes.size(); f++) {
        ASSERT_EQ(tl.scenes[f], sceneForCount(tl.counts[f])) << "frame " << f;
        if (tl.scenes[f] == SCENE_NONE) {
            EXPECT_EQ(tl.counts[f], 58) << "one hit at a time reaches 58 exactly";
            ASSERT_LT(f + 1, tl.scenes.size());
            EXPECT_LE(tl.counts[f + 1], 1) << "the count starts again from 0";
        }
    }
}

TEST(Timeline, EveryEventIsConsumedInTheFirstFrameAfterItsTime) {
    Timeline tl = runFrames(240);
    int drums = 0, bursts = 0;
    for (auto& kv : tl.events) {
        double time = kv.first.second;
        const Tracked& e = kv.second;
        if (time < tl.lastT) {
            ASSERT_GE(e.consumed, 0) << "event {" << kv.first.first << ", " << time << "} lost";
            EXPECT_GT(e.consumed, time) << "consumed early";
            EXPECT_LE(e.before, time) << "consumed late: an earlier frame was past it";
        } else {
            EXPECT_LT(e.consumed, 0) << "consumed before its time";
        }
        if (e.consumed >= 0) (kv.first.first ? drums : bursts)++;
    }
    EXPECT_EQ(tl.drumIncrements, drums) << "incs counts every consumed drum hit";
    // 240 s of hits 1.45 to 4.35 s apart, and bursts of 45 to 726 ms.
    EXPECT_GE(drums, 240 / 4.36);
    EXPECT_LE(drums, 240 / 1.45 + 1);
    EXPECT_GE(bursts, 240 / 0.73);
}
