// The circular sample buffer: exact delays, position on resize, and staying
// inside its allocation when asked for more.
#include "synth/delay_line.h"

#include <gtest/gtest.h>
#include <vector>

TEST(DelayLine, DelaysByItsLengthAndPosStaysInsideTheBufferOnResize) {
    DelayLine d(3), e(2);
    std::vector<short> got;
    for (short v : {1, 2, 3, 4}) {
        got.push_back(d.read());
        d.write(v);
        got.push_back(e.delay(v));
    }
    EXPECT_EQ(got, (std::vector<short>{0, 0, 0, 0, 0, 1, 1, 2}));
    d.next(); // pos 2 of 3
    d.setSize(2);
    EXPECT_EQ(d.pos, 0u) << "outside the shorter line";
    e.setSize(100); // beyond the allocation: stays at 2, pos stays inside
    for (int i = 0; i < 1000; i++)
        e.write((short)i);
    EXPECT_EQ(e.size, 2u);
    EXPECT_LT(e.pos, e.capacity());
    EXPECT_EQ(e.read(), 998);
}
