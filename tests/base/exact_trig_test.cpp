// The exact sine, cosine and tangent: results checked against values computed
// separately with several hundred bits, chosen where rounding is hard.
#include "base/exact_trig.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

uint64_t bitsOf(double v) {
    uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

enum Fn { Sin, Cos, Tan };

double call(Fn f, double x) {
    return f == Sin ? exactSin(x) : f == Cos ? exactCos(x) : exactTan(x);
}

struct Case {
    Fn f;
    double x, expected;
};

TEST(ExactTrig, CorrectlyRoundedWhereRoundingIsHard) {
    const Case cases[] = {
        {Sin, 0x1p+0, 0x1.aed548f090ceep-1},
        {Cos, 0x1p+0, 0x1.14a280fb5068cp-1},
        {Tan, 0x1p+0, 0x1.8eb245cbee3a6p+0},
        // Within 1e-5 ulp of a midpoint, where the quick phase's own nearest
        // double is the wrong one: it must leave these to the exact phase.
        {Sin, 0x1.6b35db94fabbap+0, 0x1.fa18a79882762p-1},
        {Sin, 0x1.e33f1eaeed911p+10, -0x1.93351e6abcdacp-1},
        {Sin, 0x1.7cfb57e403f43p+18, 0x1.5ac0fdc0f159ep-1},
        {Cos, 0x1.c0686b131b32ap-1, 0x1.47e091676505cp-1},
        {Cos, 0x1.2d5830bce55d8p+11, -0x1.9e307cbd37a3dp-2},
        {Cos, 0x1.12e27e171d652p+17, -0x1.6d7fe7d5d0712p-1},
        {Tan, 0x1.8477a73ed3731p+0, 0x1.2ba58bc9353fdp+4},
        {Tan, 0x1.8269ea178648ap+9, -0x1.1c309896d7db6p-8},
        {Tan, 0x1.64a538a8d7dbap+18, 0x1.a3285ead99f5dp+0},
        // glibc 2.36 rounds this one the other way (0.501 ulp off).
        {Sin, -0x1.2f5ece905ab1ep+0, -0x1.da601403407a1p-1},
        // The doubles nearest pi and pi/2: the results live in the reduction's
        // low parts.
        {Sin, 0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53},
        {Cos, 0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54},
        {Tan, 0x1.921fb54442d18p+0, 0x1.d02967c31cdb5p+53},
        // Beyond the quick reduction: 2^19 and up, 1e22, the double closest
        // to a multiple of pi/2, the largest double.
        {Sin, 0x1.5c7c8a6d1fd6p+19, -0x1.9835ca1517106p-2},
        {Cos, 0x1.5c7c8a6d1fd6p+19, 0x1.d58ef5b668e64p-1},
        {Sin, 1e22, -0x1.b453ab76bf397p-1},
        {Cos, 1e22, 0x1.0be2cef01c8f4p-1},
        {Sin, 0x1.6ac5b262ca1ffp+849, 1.0},
        {Cos, 0x1.6ac5b262ca1ffp+849, -0x1.14ae72e6ba22fp-61},
        {Tan, 0x1.6ac5b262ca1ffp+849, -0x1.d9ba9a7975636p+60},
        {Sin, 0x1.fffffffffffffp+1023, 0x1.452fc98b34e97p-8},
        {Tan, 0x1.fffffffffffffp+1023, -0x1.4530cfe729484p-8},
        // Just above the small-argument shortcut.
        {Sin, 0x1p-26, 0x1p-26},
        {Cos, 0x1p-26, 0x1.fffffffffffffp-1},
        {Tan, 0x1p-26, 0x1p-26},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bitsOf(call(c.f, c.x)), bitsOf(c.expected))
            << "fn " << c.f << " x " << std::hexfloat << c.x << " got " << call(c.f, c.x);
}

TEST(ExactTrig, FloatCosineRoundsOnceStraightToFloat) {
    // Both are 0.006 ulp from a float midpoint; glibc 2.36's cosf rounds
    // them the other way.
    EXPECT_EQ(exactCosf(0x1.1364d4p+1f), -0x1.18e552p-1f);
    EXPECT_EQ(exactCosf(0x1.075b54p+0f), 0x1.08242cp-1f);
    EXPECT_EQ(exactCosf(0.0f), 1.0f);
    EXPECT_EQ(exactCosf(0x1p-14f), 1.0f);
    // No argument in [1/8, 8) rounds differently through double, so there
    // the float result must equal the double one rounded.
    for (float x = 0.125f; x < 8; x = x * 1.001f + 1e-7f)
        ASSERT_EQ(exactCosf(x), (float)exactCos(x)) << std::hexfloat << x;
    for (float x = 100; x < 300000; x *= 1.37f)
        EXPECT_EQ(exactCosf(x), exactCosf(-x)) << x;
}

TEST(ExactTrig, ZerosTinyValuesAndNonFinite) {
    EXPECT_EQ(bitsOf(exactSin(-0.0)), bitsOf(-0.0));
    EXPECT_EQ(bitsOf(exactTan(-0.0)), bitsOf(-0.0));
    EXPECT_EQ(bitsOf(exactSin(0.0)), 0u);
    EXPECT_EQ(exactCos(-0.0), 1.0);
    EXPECT_EQ(exactSin(4.9e-324), 4.9e-324);
    EXPECT_EQ(exactTan(-1e-300), -1e-300);
    EXPECT_EQ(exactCos(0x1.fffffffffffffp-28), 1.0);
    EXPECT_TRUE(std::isnan(exactSin(INFINITY)));
    EXPECT_TRUE(std::isnan(exactCos(-INFINITY)));
    EXPECT_TRUE(std::isnan(exactTan(NAN)));
    EXPECT_TRUE(std::isnan(exactCosf(INFINITY)));
}

// Odd and even to the bit, and within one ulp of the C library (whose error
// is below one ulp) across the ranges the demo and the reductions use.
TEST(ExactTrig, SymmetricAndCloseToTheLibrary) {
    for (double x = 1e-7; x < 1e22; x = x * 1.031 + 1e-9) {
        double s = exactSin(x), c = exactCos(x), t = exactTan(x);
        ASSERT_EQ(bitsOf(exactSin(-x)), bitsOf(-s)) << x;
        ASSERT_EQ(bitsOf(exactCos(-x)), bitsOf(c)) << x;
        ASSERT_EQ(bitsOf(exactTan(-x)), bitsOf(-t)) << x;
        ASSERT_LE(std::fabs(s - std::sin(x)), std::fabs(std::nextafter(s, 2 * s) - s)) << x;
        ASSERT_LE(std::fabs(c - std::cos(x)), std::fabs(std::nextafter(c, 2 * c) - c)) << x;
        ASSERT_LE(std::fabs(t - std::tan(x)), std::fabs(std::nextafter(t, 2 * t) - t)) << x;
    }
}

} // namespace
