// The fast inside tests take their fast path only on the 256^3 points whose
// coordinates are all eighths in [-16, 16); every other argument goes to the
// plain test. Checking all of those points is therefore a complete proof that
// fast and plain agree everywhere. Seconds per shape: labelled slow.
#include "../shape_pairs.h"

#include <gtest/gtest.h>

namespace {

void expectAgreementOnAllEighths(const shapePair& s) {
    disagreement d;
    for (int k = -128; k < 128; k++)
        for (int j = -128; j < 128; j++)
            for (int i = -128; i < 128; i++)
                d.check(s, i / 8.0, j / 8.0, k / 8.0);
    EXPECT_EQ(d.count, 0) << d.first;
}

TEST(FastShapesExhaustive, Tunnel) {
    expectAgreementOnAllEighths(kShapePairs[0]);
}
TEST(FastShapesExhaustive, Meta) {
    expectAgreementOnAllEighths(kShapePairs[1]);
}
TEST(FastShapesExhaustive, Mountain) {
    expectAgreementOnAllEighths(kShapePairs[2]);
}
TEST(FastShapesExhaustive, Pillar) {
    expectAgreementOnAllEighths(kShapePairs[3]);
}
TEST(FastShapesExhaustive, Meta2) {
    expectAgreementOnAllEighths(kShapePairs[4]);
}
TEST(FastShapesExhaustive, Meta3) {
    expectAgreementOnAllEighths(kShapePairs[5]);
}

} // namespace
