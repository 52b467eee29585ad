// The frame driver over four minutes of real music on a virtual clock and
// play position: drum hits walk incs through the scene table and wrap at 58;
// every event is consumed in the first frame after its time, none early.
#include "app/frame_driver.h"

#include "synth/events.h"
#include <gtest/gtest.h>
#include <set>
#include <vector>

TEST(Timeline, FourMinutesOfMusicWalkTheSceneTableAndConsumeEveryEventOnTime) {
    auto snapshot = [] {
        std::set<std::pair<unsigned int, double>> s;
        for (const Event& e : g_events)
            s.insert({e.type, e.time});
        return s;
    };
    std::vector<int> order;
    uint32_t jitter = 4242, readPos = 0;
    int prevN = 0, increments = 0, drums = 0;
    while (readPos < 240 * 44100) {
        double t = readPos / 44100.0; // the device plays in step with the clock
        auto before = snapshot();
        FramePlan plan = planFrame(t, readPos);
        auto after = snapshot();
        for (auto& e : before)
            if (!after.count(e)) {
                EXPECT_LT(e.second, t) << "consumed early";
                drums += e.first == 1;
            }
        for (auto& e : after)
            ASSERT_GE(e.second, t) << "an event due before this frame is still there";
        ASSERT_EQ(plan.scene, sceneForCount(plan.n));
        EXPECT_TRUE(prevN != 58 || plan.n <= 1) << "the count starts again from 0 after 58";
        if (order.empty() || order.back() != plan.scene) order.push_back(plan.scene);
        increments += plan.n - (prevN >= 58 ? 0 : prevN);
        prevN = plan.n;
        jitter = jitter * 1103515245u + 12345u;
        readPos += 300 + (jitter >> 16) % 1600; // frames of 7..43 ms
    }
    std::vector<int> expected{SCENE_1, SCENE_CREDITS, SCENE_0,    SCENE_3,
                              SCENE_4, SCENE_5,       SCENE_NONE, SCENE_1};
    ASSERT_GE(order.size(), expected.size());
    EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 8), expected);
    EXPECT_EQ(increments, drums) << "incs counts every consumed drum hit";
    EXPECT_GE(drums, 240 / 4.36); // hits at most 4.35 s apart
}
