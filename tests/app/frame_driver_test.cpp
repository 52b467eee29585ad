// The frame driver's bookkeeping on a virtual clock: scene choice and wrap,
// strict due times, pulse decay precision, strobe draws, refills.
#include "app/frame_driver.h"
#include "synth/events.h"
#include "synth/random.h"
#include "synth/ring.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(SceneTable, SlotsWrapAt58AndSceneZeroRunsAhead) {
    const int table[][3] = {{-3, 11, SCENE_1},     {12, 17, SCENE_CREDITS}, {18, 27, SCENE_0},
                            {28, 37, SCENE_3},     {38, 47, SCENE_4},       {48, 57, SCENE_5},
                            {58, 1000, SCENE_NONE}}; // first and last count of each slot
    for (const auto& r : table)
        EXPECT_EQ(std::make_pair((int)sceneForCount(r[0]), (int)sceneForCount(r[1])),
                  std::make_pair(r[2], r[2]));
    audio_writePos = 8000; // blocks 0..3 are in the ring: no refill
    incs = 18;
    EXPECT_EQ(planFrame(2.5, 0).t, 10.5);
    incs = 28;
    EXPECT_EQ(planFrame(2.5, 0).t, 2.5);
    incs = 57;
    addSynthEvent(1, 0.5);
    FramePlan p = planFrame(2.6, 0);
    EXPECT_EQ(std::make_pair(p.scene, p.n), std::make_pair((int)SCENE_NONE, 58));
    EXPECT_EQ(incs, 0);
    p = planFrame(2.7, 0);
    EXPECT_EQ(std::make_pair(p.scene, p.n), std::make_pair((int)SCENE_1, 0));
}

TEST(DrumEvents, StrictlyPastEventsCountAllInOneFrame) {
    audio_writePos = 8000;
    for (double at : {0.1, 0.2, 1.0, 9.0})
        addSynthEvent(1, at);
    FramePlan p = planFrame(1.0, 0);
    EXPECT_EQ(p.n, 2); // the event at exactly 1.0 is not yet due
    EXPECT_EQ(p.flexer, 2.0f);
    p = planFrame(std::nextafter(1.0, 2.0), 0);
    EXPECT_EQ(p.n, 3);
    EXPECT_EQ(g_events.size(), 1u);
}

TEST(Pulses, DecayIsDoubleMultiplyStoredAsFloat) {
    audio_writePos = 8000;
    addSynthEvent(1, 0.0);
    addSynthEvent(0, 0.0);
    planFrame(0.5, 0);                // both pulses at 1
    float funk = 1.0f, flexer = 1.0f; // exact float compares below
    for (int frame = 0; frame < 300; frame++) {
        FramePlan p = planFrame(1.0 + frame, 0);
        funk = (float)(funk * 0.96);
        flexer = (float)(flexer * 0.99);
        ASSERT_EQ(p.funk, funk) << frame;
        ASSERT_EQ(p.flexer, flexer) << frame;
    }
}

TEST(Strobe, OneDrawPerFrameOnlyWhileFunkIsOneOrMore) {
    audio_writePos = 8000;
    addSynthEvent(0, 3.0);
    addSynthEvent(0, 3.01);
    planFrame(3.5, 0); // funk = 2
    for (int frames = 0;; frames++) {
        unsigned int before = random_seed, draw = norf_rand();
        random_seed = before;
        FramePlan p = planFrame(4.0 + frames, 0);
        if (p.funk < 1.0f) { // below 1: a tint, no draw; 2 * 0.96^k >= 1 for k = 1..16
            EXPECT_EQ(std::make_pair(random_seed, frames), std::make_pair(before, 16));
            break;
        }
        ASSERT_EQ(random_seed, draw);
        ASSERT_EQ(p.colour[1], (draw & 255) <= 20 ? 1.0f : 0.0f);
    }
}

TEST(Refill, FirstFrameSynthesizesFourBlocks) {
    EXPECT_EQ(planFrame(0.0, 0).blocks, 4);
    EXPECT_EQ(g_bufferPos, 8000u);
    EXPECT_EQ(planFrame(0.01, 1999).blocks, 0);
    EXPECT_EQ(planFrame(0.02, 2000).blocks, 1);
    EXPECT_EQ(planFrame(5.0, 26000).blocks, 12); // a stall: blocks 5..16
    EXPECT_EQ(g_bufferPos, 34000u);
}
