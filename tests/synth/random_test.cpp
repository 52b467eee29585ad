// The shared generator and the sample arithmetic: exact values.
#include "synth/random.h"
#include "synth/sample.h"

#include "music_helpers.h"

TEST(Generator, FirstValuesAndSinglePrecisionQuotients) {
    EXPECT_EQ(random_seed, 212328912u);
    EXPECT_EQ(norf_rand(), 14240460u);
    EXPECT_EQ(norf_rand(), 10124704u);
    EXPECT_EQ(norf_rand(), 4155526u);
    random_seed = 212328912u;
    EXPECT_EQ(bits(frand()), bits(14240460.0f / 18409200.0f));
    EXPECT_EQ(bits(norf_frand()), bits(10124704.0f / 18409200.0f)) << "the same sequence";
    // 0xFFFFFFFF * 65521 overflows: the step wraps modulo 2^32 before the modulus.
    random_seed = 0xFFFFFFFFu;
    EXPECT_EQ(norf_rand(), 18107098u);
}

TEST(SampleArithmetic, ClipIsSymmetricAt32767) {
    const int cases[][2] = {{40000, 32767}, {-40000, -32767}, {-32768, -32767},
                            {32767, 32767}, {-32767, -32767}, {123, 123},
                            {0, 0}};
    for (auto& c : cases)
        EXPECT_EQ(clip(c[0]), c[1]) << c[0];
}

TEST(SampleArithmetic, MixClipsAndTruncatesASinglePrecisionSumTowardZero) {
    struct {
        short dst, src;
        float vol;
        short want;
    } cases[] = {
        {30000, 30000, 1.0f, 32767},
        {-30000, -30000, 1.0f, -32767},
        {-5, 2, 1.0f, -3},
        {3, -4, 0.9f, 0}, // -0.6 -> 0, not -1
        {-3, 4, 0.9f, 0}, // 0.6 -> 0
        {100, 1, 0.9f, 100},
        {-200, 10, 0.1f, -199}, // -198.99999998 in double, exactly -199 in single
    };
    for (auto& c : cases) {
        short d = c.dst;
        mix(&d, &c.src, c.vol, 1);
        EXPECT_EQ(d, c.want) << c.dst << " + " << c.src << " * " << c.vol;
    }
    short d[2] = {7, 8};
    const short s[2] = {100, 100};
    mix(d, s, 1.0f, 0);
    EXPECT_EQ(d[0], 7);
    mix(d, s, 1.0f, 1);
    EXPECT_EQ(d[1], 8) << "count is in samples";
}
