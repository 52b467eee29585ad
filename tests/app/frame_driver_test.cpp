// The frame driver's bookkeeping on a virtual clock: scene choice and wrap,
// strict due times, pulses and their precision, generator draws, refills.
#include "app/frame_driver.h"
#include "synth/events.h"
#include "synth/random.h"
#include "synth/ring.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

// Keeps the refill step idle: the ring already holds blocks 0..3.
static void primeRing() {
    audio_writePos = 8000;
}

static uint32_t bits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}

TEST(SceneTable, EveryCounterValueMapsToItsSlot) {
    for (int n = -3; n <= 11; n++)
        EXPECT_EQ(sceneForCount(n), SCENE_1) << n;
    for (int n = 12; n <= 17; n++)
        EXPECT_EQ(sceneForCount(n), SCENE_CREDITS) << n;
    for (int n = 18; n <= 27; n++)
        EXPECT_EQ(sceneForCount(n), SCENE_0) << n;
    for (int n = 28; n <= 37; n++)
        EXPECT_EQ(sceneForCount(n), SCENE_3) << n;
    for (int n = 38; n <= 47; n++)
        EXPECT_EQ(sceneForCount(n), SCENE_4) << n;
    for (int n = 48; n <= 57; n++)
        EXPECT_EQ(sceneForCount(n), SCENE_5) << n;
    EXPECT_EQ(sceneForCount(58), SCENE_NONE);
    EXPECT_EQ(sceneForCount(1000), SCENE_NONE);
}

TEST(SceneTable, CounterWrapsAt58WithOneEmptyFrame) {
    primeRing();
    incs = 57;
    addSynthEvent(1, 0.5);
    FramePlan p = planFrame(1.0, 0);
    EXPECT_EQ(p.scene, SCENE_NONE);
    EXPECT_EQ(p.n, 58);
    EXPECT_EQ(incs, 0);
    p = planFrame(1.1, 0);
    EXPECT_EQ(p.scene, SCENE_1);
    EXPECT_EQ(p.n, 0);
}

TEST(SceneTable, SceneZeroRunsEightSecondsAhead) {
    primeRing();
    incs = 18;
    EXPECT_EQ(planFrame(2.5, 0).t, 10.5);
    incs = 12;
    EXPECT_EQ(planFrame(2.5, 0).t, 2.5);
    incs = 28;
    EXPECT_EQ(planFrame(2.5, 0).t, 2.5);
}

TEST(DrumEvents, OnlyStrictlyPastEventsAreConsumed) {
    primeRing();
    addSynthEvent(1, 1.0);
    FramePlan p = planFrame(1.0, 0);
    EXPECT_EQ(p.n, 0);
    EXPECT_EQ(g_events.size(), 1u);
    p = planFrame(std::nextafter(1.0, 2.0), 0);
    EXPECT_EQ(p.n, 1);
    EXPECT_TRUE(g_events.empty());
}

TEST(DrumEvents, SeveralDueInOneFrameAllCount) {
    primeRing();
    addSynthEvent(1, 0.1);
    addSynthEvent(1, 0.2);
    addSynthEvent(1, 0.3);
    addSynthEvent(1, 9.0); // not due yet
    FramePlan p = planFrame(1.0, 0);
    EXPECT_EQ(p.n, 3);
    EXPECT_EQ(bits(p.flexer), bits(3.0f));
    EXPECT_EQ(g_events.size(), 1u);
    EXPECT_EQ(sceneForCount(11), planFrame(1.0, 0).scene);
}

TEST(Pulses, DecayIsDoubleMultiplyStoredAsFloat) {
    primeRing();
    addSynthEvent(1, 0.0);
    addSynthEvent(0, 0.0);
    planFrame(0.5, 0);
    float funk = 1.0f, flexer = 1.0f;
    bool differsFromFloatMath = false;
    float funkF = 1.0f;
    for (int frame = 0; frame < 300; frame++) {
        FramePlan p = planFrame(1.0 + frame, 0);
        funk = (float)(funk * 0.96);
        flexer = (float)(flexer * 0.99);
        funkF = funkF * 0.96f;
        ASSERT_EQ(bits(p.funk), bits(funk)) << frame;
        ASSERT_EQ(bits(p.flexer), bits(flexer)) << frame;
        if (bits(funk) != bits(funkF)) differsFromFloatMath = true;
    }
    EXPECT_TRUE(differsFromFloatMath); // the check above can tell the two apart
}

TEST(Pulses, BurstRedrawsOffsetFromTheSharedGenerator) {
    primeRing();
    addSynthEvent(0, 0.25);
    unsigned int seed = random_seed;
    FramePlan p = planFrame(0.5, 0);
    unsigned int after = random_seed;
    random_seed = seed;
    float expected = norf_frand();
    // One draw for the offset, then one for the strobe (funk is now 1).
    norf_rand();
    EXPECT_EQ(after, random_seed);
    EXPECT_EQ(bits(p.offsetaapje), bits(expected));
    EXPECT_EQ(bits(p.funk), bits(1.0f));
}

TEST(Strobe, OneDrawPerFrameOnlyWhileFunkIsOneOrMore) {
    primeRing();
    unsigned int seed = random_seed;
    FramePlan p = planFrame(3.0, 0);
    EXPECT_EQ(random_seed, seed); // funk below 1: tint, no draw
    EXPECT_EQ(bits(p.colour[0]), bits(1.0f));
    EXPECT_EQ(bits(p.colour[1]), bits((float)(std::sin(3.0 / 5) * 0.2 + 0.8)));
    EXPECT_EQ(bits(p.colour[2]), bits((float)(std::sin(3.0 / 4) * 0.3 + 0.7)));

    addSynthEvent(0, 3.0);
    addSynthEvent(0, 3.01);
    planFrame(3.5, 0); // funk = 2
    int frames = 0;
    for (;; frames++) {
        float funk, flexer, offset;
        framePulses(&funk, &flexer, &offset);
        unsigned int before = random_seed;
        random_seed = before;
        unsigned int expectDraw = norf_rand();
        random_seed = before;
        p = planFrame(4.0 + frames, 0);
        if (p.funk < 1.0f) {
            EXPECT_EQ(random_seed, before);
            break;
        }
        ASSERT_EQ(random_seed, expectDraw);
        float c = (expectDraw & 255) <= 20 ? 1.0f : 0.0f;
        ASSERT_EQ(p.colour[0], c);
        ASSERT_EQ(p.colour[1], c);
        ASSERT_EQ(p.colour[2], c);
    }
    EXPECT_EQ(frames, 16); // 2 * 0.96^k stays >= 1 for k = 1..16
}

TEST(Refill, FirstFrameSynthesizesFourBlocks) {
    FramePlan p = planFrame(0.0, 0);
    EXPECT_EQ(p.blocks, 4);
    EXPECT_EQ(audio_writePos, 8000u);
    EXPECT_EQ(g_bufferPos, 8000u);
    EXPECT_EQ(planFrame(0.01, 1999).blocks, 0);
    EXPECT_EQ(planFrame(0.02, 2000).blocks, 1);
    EXPECT_EQ(planFrame(5.0, 26000).blocks, 12); // a stall: blocks 5..16
    EXPECT_EQ(g_bufferPos, 34000u);
}
