// The shared generator and the sample arithmetic: exact values.
#include "synth/random.h"
#include "synth/sample.h"

#include <cstring>
#include <gtest/gtest.h>

static uint32_t bits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}

TEST(Generator, FirstValuesFromTheInitialSeed) {
    EXPECT_EQ(random_seed, 212328912u);
    EXPECT_EQ(norf_rand(), 14240460u);
    EXPECT_EQ(norf_rand(), 10124704u);
    EXPECT_EQ(norf_rand(), 4155526u);
}

TEST(Generator, StepWrapsModulo2To32BeforeTheModulus) {
    // 0xFFFFFFFF * 65521 overflows; the product must wrap, not saturate or widen.
    random_seed = 0xFFFFFFFFu;
    uint32_t expected = (uint32_t)(0xFFFFFFFFu * 65521u + 18172619u) % 18409199u;
    EXPECT_EQ(norf_rand(), expected);
    for (int i = 0; i < 100000; i++)
        ASSERT_LT(norf_rand(), 18409199u);
}

TEST(Generator, FrandIsSinglePrecisionQuotient) {
    EXPECT_EQ(bits(frand()), bits(14240460.0f / 18409200.0f));
    EXPECT_NEAR(frand(), 0.54998, 1e-5);
    EXPECT_NEAR(norf_frand(), 0.22573, 1e-5);
    // Largest value: 18409198 / 18409200 in single precision.
    EXPECT_EQ(bits((float)18409198u / 18409200.0f), bits(0.99999988f));
    EXPECT_LT((float)18409198u / 18409200.0f, 1.0f);
}

TEST(Generator, NorfFrandSharesTheSequence) {
    unsigned int saved = random_seed;
    float a = frand();
    random_seed = saved;
    EXPECT_EQ(bits(norf_frand()), bits(a));
}

TEST(SampleArithmetic, ClipIsSymmetricAt32767) {
    EXPECT_EQ(clip(40000), 32767);
    EXPECT_EQ(clip(-40000), -32767);
    EXPECT_EQ(clip(-32768), -32767);
    EXPECT_EQ(clip(32767), 32767);
    EXPECT_EQ(clip(-32767), -32767);
    EXPECT_EQ(clip(123), 123);
    EXPECT_EQ(clip(0), 0);
}

TEST(SampleArithmetic, MixClipsAndTruncatesTowardZero) {
    short dst[6] = {30000, -5, 3, -3, 100, -30000};
    const short src[6] = {30000, 2, -4, 4, 1, -30000};
    mix(dst, src, 1.0f, 2);
    EXPECT_EQ(dst[0], 32767);
    EXPECT_EQ(dst[1], -3);
    mix(dst + 2, src + 2, 0.9f, 4);
    EXPECT_EQ(dst[2], 0);   // 3 - 3.6 = -0.6 -> 0, not -1
    EXPECT_EQ(dst[3], 0);   // -3 + 3.6 = 0.6 -> 0
    EXPECT_EQ(dst[4], 100); // 100.9 -> 100
    EXPECT_EQ(dst[5], -32767);
}

TEST(SampleArithmetic, MixSumIsSinglePrecision) {
    // -200 + 10 * 0.1f is -198.99999998 in double (truncates to -198) but
    // rounds to exactly -199 in single precision.
    short dst[1] = {-200};
    const short src[1] = {10};
    mix(dst, src, 0.1f, 1);
    EXPECT_EQ(dst[0], -199);
}

TEST(SampleArithmetic, MixWithCountZeroChangesNothing) {
    short dst[2] = {7, 8};
    const short src[2] = {100, 100};
    mix(dst, src, 1.0f, 0);
    EXPECT_EQ(dst[0], 7);
    EXPECT_EQ(dst[1], 8);
}
