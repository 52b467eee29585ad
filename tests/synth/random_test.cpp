// The shared generator, the sample arithmetic and the event set: exact
// values, single-precision steps, ordering and consumption.
#include "synth/events.h"
#include "synth/random.h"
#include "synth/sample.h"

#include "music_helpers.h"

TEST(Generator, FirstValuesAndSinglePrecisionQuotients) {
    EXPECT_EQ(norf_rand(), 14240460u);
    EXPECT_EQ(norf_rand(), 10124704u);
    EXPECT_EQ(norf_rand(), 4155526u);
    random_seed = 212328912u;
    EXPECT_EQ(frand(), 14240460.0f / 18409200.0f);
    EXPECT_EQ(norf_frand(), 10124704.0f / 18409200.0f);
    random_seed = 0xFFFFFFFFu; // the step wraps modulo 2^32 before the modulus
    EXPECT_EQ(norf_rand(), 18107098u);
}

TEST(SampleArithmetic, ClipAndMixTruncateASinglePrecisionSumTowardZero) {
    const int clips[][2] = {{40000, 32767}, {-40000, -32767}, {-32768, -32767}, {123, 123}};
    for (auto& c : clips)
        EXPECT_EQ(clip(c[0]), c[1]) << c[0];
    // dst, src, volume, result; -200 + 10 * 0.1 is -198.99999998 in double, -199 in single
    const float mixes[][4] = {{30000, 30000, 1, 32767},
                              {-30000, -30000, 1, -32767},
                              {3, -4, 0.9f, 0},
                              {-3, 4, 0.9f, 0},
                              {-200, 10, 0.1f, -199}};
    for (auto& c : mixes) {
        short d = (short)c[0], src = (short)c[1];
        mix(&d, &src, c[2], 1);
        EXPECT_EQ(d, c[3]) << c[0] << " + " << c[1] << " * " << c[2];
    }
}

TEST(EventSet, OrderedByTypeThenTimeConsumedByReference) {
    for (Event e : std::vector<Event>{{1, 3.0}, {1, 1.0}, {0, 7.0}, {0, 5.0}, {0, 5.0}})
        addSynthEvent(e.type, e.time);
    EXPECT_EQ(g_events.size(), 4u) << "duplicates collapse";
    EXPECT_EQ(getSynthEvent(1, 0.999), nullptr);
    const Event* e = getSynthEvent(1, 10.0);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->time, 1.0);
    consumeSynthEvent(*e);     // a reference into the set itself
    e = getSynthEvent(1, 3.0); // due at or before: <=
    ASSERT_NE(e, nullptr);
    consumeSynthEvent(*e);
    EXPECT_EQ(getSynthEvent(1, 1e9), nullptr);
}

// Stamps are a single-precision frame count over 44100: the count is exact to
// 2^24 frames, then rounded to 2, ..., 512 frames from 2^32 and 65536 from
// 2^39, where a drum hit can share its stamp with the one before (the
// quotient rounds again, to 2^-15 s at 2^24 frames). A voice's events are all
// kept and each consumed once; addSynthEvent still drops duplicates.
TEST(EventStamps, RoundedFrameCountsAndSharedStampsEachConsumed) {
    const uint64_t k24 = 1ull << 24, k32 = 1ull << 32, k39 = 1ull << 39;
    // clang-format off
    const struct { uint64_t a, b; bool same; } pairs[] = {
        {k24 - 1, k24 - 3, false}, {k24 + 1, k24, true}, {k24 + 3, k24 + 4, true},
        {k32 + 255, k32, true},    {k32 + 257, k32 + 512, true}, {k32 + 2000, k32, false},
        {k39 + 20000, k39, true},  {k39 + 64000, k39, false}};
    // clang-format on
    for (const auto& p : pairs)
        EXPECT_EQ(eventTimeOfFrame(p.a) == eventTimeOfFrame(p.b), p.same) << p.a << " " << p.b;
    g_events.clear();
    for (uint64_t f : {k39, k39 + 20000, k39 + 30000})
        postSynthEvent(1, f);
    addSynthEvent(1, eventTimeOfFrame(k39));
    EXPECT_EQ(g_events.size(), 3u);
    double now = eventTimeOfFrame(k39) + 1.0;
    int taken = 0;
    while (const Event* e = getSynthEvent(1, now)) {
        consumeSynthEvent(*e);
        taken++;
    }
    EXPECT_EQ(taken, 3);
}
