// The circular sample buffer: exact delays, position handling when the
// length changes, and staying inside its allocation.
#include "synth/delay_line.h"

#include <gtest/gtest.h>
#include <vector>

TEST(DelayLine, ReadBeforeWriteAndDelayGiveTheValueOfLengthCallsAgo) {
    DelayLine d(3);
    std::vector<short> got;
    for (short v : {1, 2, 3, 4}) {
        got.push_back(d.read());
        d.write(v);
    }
    EXPECT_EQ(got, (std::vector<short>{0, 0, 0, 1}));
    DelayLine e(2);
    for (short v : {7, 8, 9, 10})
        got.push_back(e.delay(v));
    EXPECT_EQ(got, (std::vector<short>{0, 0, 0, 1, 0, 0, 7, 8}));
    DelayLine n(3);
    n.write(5);
    n.next();
    n.next(); // advances without writing, and wraps
    EXPECT_EQ(n.pos, 0u);
    EXPECT_EQ(n.read(), 5);
}

TEST(DelayLine, SetSizeResetsPosOnlyWhenItFallsOutside) {
    DelayLine d(8);
    d.next();
    d.next();
    d.setSize(5);
    EXPECT_EQ(d.pos, 2u);
    d.setSize(2);
    EXPECT_EQ(d.pos, 0u);
    d.write(1);
    d.write(2);
    EXPECT_EQ(d.read(), 1) << "the shorter line delays by its new length";
}

TEST(DelayLine, SetSizeBeyondAllocationAndZeroLengthsStayInsideTheBuffer) {
    DelayLine d(4);
    d.setSize(100);
    EXPECT_EQ(d.size, 4u);
    for (int i = 0; i < 1000; i++) {
        d.write((short)i);
        ASSERT_LT(d.pos, d.capacity());
    }
    EXPECT_EQ(d.read(), 996) << "still a delay of the allocated length";
    DelayLine z(0);
    EXPECT_EQ(z.capacity(), 1u);
    EXPECT_EQ(z.delay(3), 0);
    EXPECT_EQ(z.delay(4), 3);
    DelayLine e(5);
    e.setSize(0);
    EXPECT_EQ(e.size, 1u);
    e.write(9);
    EXPECT_EQ(e.pos, 0u);
    EXPECT_EQ(e.read(), 9);
}
