// The fast inside tests take their fast path only on the 256^3 points whose
// coordinates are all eighths in [-16, 16); every other argument goes to the
// plain test. Checking all of those points is therefore a complete proof that
// fast and plain agree everywhere. Seconds per shape: labelled slow.
#include "../shape_pairs.h"

#include <gtest/gtest.h>

namespace {

class FastShapesExhaustive : public ::testing::TestWithParam<int> {};

TEST_P(FastShapesExhaustive, AgreeOnAllEighths) {
    const shapePair& s = kShapePairs[GetParam()];
    disagreement d;
    for (int k = -128; k < 128; k++)
        for (int j = -128; j < 128; j++)
            for (int i = -128; i < 128; i++)
                d.check(s, i / 8.0, j / 8.0, k / 8.0);
    EXPECT_EQ(d.count, 0) << d.first;
}

INSTANTIATE_TEST_SUITE_P(Shapes, FastShapesExhaustive, ::testing::Range(0, 6));

} // namespace
