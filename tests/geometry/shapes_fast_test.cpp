// The fast inside tests answer exactly as the plain ones: on every point a
// build probes, on odd arguments that take the plain path, and through whole
// builds compared with the linear-scan reference.
#include "geometry/eighths.h"
#include "shape_pairs.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <random>

namespace {

TEST(FastShapes, EighthIndexAcceptsOnlyTabulatedEighths) {
    EXPECT_EQ(eighthIndex(-16.0), 0);
    EXPECT_EQ(eighthIndex(0.0), 128);
    EXPECT_EQ(eighthIndex(0.125), 129);
    EXPECT_EQ(eighthIndex(-0.125), 127);
    EXPECT_EQ(eighthIndex(15.875), 255);
    EXPECT_EQ(eighthIndex(-0.0), -1); // tables hold the terms of +0.0
    EXPECT_EQ(eighthIndex(16.0), -1);
    EXPECT_EQ(eighthIndex(-16.125), -1);
    EXPECT_EQ(eighthIndex(0.0625), -1);
    EXPECT_EQ(eighthIndex(std::nextafter(2.0, 3.0)), -1);
    EXPECT_EQ(eighthIndex(std::nextafter(15.875, 16.0)), -1);
    EXPECT_EQ(eighthIndex(std::numeric_limits<double>::quiet_NaN()), -1);
    EXPECT_EQ(eighthIndex(std::numeric_limits<double>::infinity()), -1);
    EXPECT_EQ(eighthIndex(-1e300), -1);
    EXPECT_EQ(eighthIndex(1e-300), -1);
}

// Grid points, and the probes at 1/8 .. 7/8 (7/8 is never probed, but costs
// nothing) along the +x, +y and +z edge from every grid point.
TEST(FastShapes, AgreeOnEveryPointABuildProbes) {
    for (const shapePair& s : kShapePairs) {
        disagreement d;
        for (int k = -16; k < 16; k++)
            for (int j = -16; j < 16; j++)
                for (int i = -16; i < 16; i++) {
                    d.check(s, i, j, k);
                    for (int n = 1; n < 8; n++) {
                        double t = n / 8.0;
                        if (i < 15) d.check(s, i + t, j, k);
                        if (j < 15) d.check(s, i, j + t, k);
                        if (k < 15) d.check(s, i, j, k + t);
                    }
                }
        EXPECT_EQ(d.count, 0) << d.first;
    }
}

// Arguments off the eighths take the plain path; non-finite ones, -0.0 and
// points outside the box must not upset a table or a bound.
TEST(FastShapes, AgreeOffTheEighths) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double odd[] = {-0.0, 0.0,  0.0625, -16.0, 16.0, -16.125,
                          40.0, -1e9, 1e300,  inf,   -inf, nan};
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> u(-17, 17);
    for (const shapePair& s : kShapePairs) {
        disagreement d;
        for (double a : odd)
            for (double b : odd) {
                d.check(s, a, b, 3.5);
                d.check(s, b, -2.25, a);
                d.check(s, -7.0, a, b);
            }
        for (int n = 0; n < 20000; n++)
            d.check(s, u(rng), u(rng), u(rng));
        // Near an eighth: one coordinate an ulp away from a grid value.
        for (int n = 0; n < 2000; n++) {
            double x = std::round(u(rng) * 8) / 8, y = std::round(u(rng)), z = std::round(u(rng));
            d.check(s, std::nextafter(x, inf), y, z);
            d.check(s, x, std::nextafter(y, -inf), z);
        }
        EXPECT_EQ(d.count, 0) << d.first;
    }
}

} // namespace
