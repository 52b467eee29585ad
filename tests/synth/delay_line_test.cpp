// The circular sample buffer: exact delays, position handling when the
// length changes, and staying inside its allocation.
#include "synth/delay_line.h"

#include <gtest/gtest.h>
#include <vector>

TEST(DelayLine, ReadBeforeWriteDelaysByItsLength) {
    DelayLine d(3);
    std::vector<short> got;
    for (short v : {1, 2, 3, 4}) {
        got.push_back(d.read());
        d.write(v);
    }
    EXPECT_EQ(got, (std::vector<short>{0, 0, 0, 1}));
}

TEST(DelayLine, DelayReturnsTheValueStoredLengthCallsAgo) {
    DelayLine d(2);
    EXPECT_EQ(d.delay(7), 0);
    EXPECT_EQ(d.delay(8), 0);
    EXPECT_EQ(d.delay(9), 7);
    EXPECT_EQ(d.delay(10), 8);
}

TEST(DelayLine, NextAdvancesWithoutWritingAndWraps) {
    DelayLine d(3);
    d.write(5); // pos 1
    d.next();   // pos 2
    d.next();   // wraps to 0
    EXPECT_EQ(d.pos, 0u);
    EXPECT_EQ(d.read(), 5);
}

TEST(DelayLine, SetSizeResetsPosOnlyWhenItFallsOutside) {
    DelayLine d(8);
    d.next();
    d.next();
    ASSERT_EQ(d.pos, 2u);
    d.setSize(5);
    EXPECT_EQ(d.pos, 2u);
    d.setSize(2);
    EXPECT_EQ(d.pos, 0u);
    // The shorter line delays by its new length.
    d.write(1);
    d.write(2);
    EXPECT_EQ(d.read(), 1);
}

TEST(DelayLine, SetSizeBeyondAllocationKeepsPosInsideTheBuffer) {
    DelayLine d(4);
    d.setSize(100);
    EXPECT_EQ(d.size, 4u);
    for (int i = 0; i < 1000; i++) {
        d.write((short)i);
        ASSERT_LT(d.pos, d.capacity());
    }
    EXPECT_EQ(d.read(), 996) << "still a delay of the allocated length";
}

TEST(DelayLine, ZeroLengthsHoldOneSample) {
    DelayLine d(0);
    EXPECT_EQ(d.capacity(), 1u);
    EXPECT_EQ(d.delay(3), 0);
    EXPECT_EQ(d.delay(4), 3);
    DelayLine e(5);
    e.setSize(0);
    EXPECT_EQ(e.size, 1u);
    e.write(9);
    EXPECT_EQ(e.pos, 0u);
    EXPECT_EQ(e.read(), 9);
}
