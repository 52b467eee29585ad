// The millisecond count across SDL's 32-bit wrap, and demo time: the
// historical single-precision bits up to the join at 2^14 s, every
// millisecond a step, and whole 60 Hz frames days and years into a run.
#include "app/demo_clock.h"

#include <cmath>
#include <gtest/gtest.h>

// Readings in order, each with the count it must give; a row may first place
// the count (keep: go on from the row before; the first row starts fresh).
TEST(TickCount, CountsOnAcrossTheWrapAndHoldsAReadingThatStepsBack) {
    const uint64_t k32 = 1ull << 32, keep = ~0ull;
    // clang-format off
    const struct { uint64_t place; uint32_t reading; uint64_t count; } rows[] = {
        {keep, 1234, 1234}, {keep, 1000, 1234}, {keep, 1300, 1300},
        {k32 - 10, 0xfffffffbu, k32 - 5}, {keep, 3, k32 + 3}, {keep, 2, k32 + 3},
        {keep, 40, k32 + 40},
        {2 * k32 + 7, 0x80000006u, 2 * k32 + 0x80000006u}, // the longest step forward
        {5ull << 40, 16, (5ull << 40) + 16}};
    // clang-format on
    for (const auto& r : rows) {
        if (r.place != keep) placeTickCount(r.place);
        EXPECT_EQ(tickCount(r.reading), r.count) << r.reading;
    }
}

// Below 16384000 ms the clock is the float formula to the bit and strictly
// increasing; at the join both formulas give 16384.0 exactly.
TEST(DemoTime, FloatFormulaToTheJoinThenEveryMillisecondInDouble) {
    double prev = -1;
    for (uint64_t ms = 0; ms < 16384000 + 100000; ms++) {
        double s = ticksToSeconds(ms);
        if (ms < 16384000)
            ASSERT_EQ(s, (double)((float)ms / 1000.0f)) << ms;
        else
            ASSERT_EQ(s, (double)ms / 1000.0) << ms;
        ASSERT_GT(s, prev) << "a millisecond that does not move the clock: " << ms;
        prev = s;
    }
    EXPECT_EQ(ticksToSeconds(16383999), 16383.9990234375);
    EXPECT_EQ(ticksToSeconds(16384000), 16384.0);
    EXPECT_EQ((double)((float)16384000 / 1000.0f), 16384.0);
}

// 60 Hz frames at 100 hours, across the tick wrap and after a year: demo time
// (count less a start of 7 ms) moves by 16 or 17 ms, whole to 1e-5 ms.
TEST(DemoTime, WholeFrameStepsDaysAndYearsIn) {
    const double startTick = ticksToSeconds(7);
    for (uint64_t from : {100ull * 3600000, (1ull << 32) - 50, 366ull * 86400000}) {
        for (uint64_t k = 0; k < 120; k++) {
            uint64_t a = from + k * 1000 / 60, b = from + (k + 1) * 1000 / 60;
            double step = (ticksToSeconds(b) - startTick) - (ticksToSeconds(a) - startTick);
            double want = (double)(b - a);
            ASSERT_TRUE(want == 16 || want == 17);
            ASSERT_NEAR(step * 1000, want, 1e-5) << from << " + " << k;
        }
    }
}
