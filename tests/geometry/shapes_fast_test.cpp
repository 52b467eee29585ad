// The fast inside tests answer exactly as the plain ones on odd arguments that
// take the plain path (the eighths they tabulate are all checked in slow/).
#include "geometry/eighths.h"
#include "shape_pairs.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <random>

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// -0.0 is refused: the tables hold the terms of +0.0.
TEST(FastShapes, EighthIndexAcceptsOnlyTabulatedEighths) {
    const std::pair<double, int> cases[] = {
        {-16.0, 0},
        {0.0, 128},
        {0.125, 129},
        {-0.125, 127},
        {15.875, 255},
        {-0.0, -1},
        {16.0, -1},
        {-16.125, -1},
        {0.0625, -1},
        {std::nextafter(2.0, 3.0), -1},
        {std::nextafter(15.875, 16.0), -1},
        {kNaN, -1},
        {kInf, -1},
        {-1e300, -1},
        {1e-300, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(eighthIndex(c.first), c.second) << c.first;
}

// Arguments off the eighths take the plain path; non-finite ones, -0.0,
// points outside the box and an ulp off an eighth must not upset a table or
// a bound.
TEST(FastShapes, AgreeOffTheEighths) {
    const double odd[] = {-0.0, 0.0,  0.0625, -16.0, 16.0,  -16.125,
                          40.0, -1e9, 1e300,  kInf,  -kInf, kNaN};
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
        for (int n = 0; n < 2000; n++) {
            double x = std::round(u(rng) * 8) / 8, y = std::round(u(rng)), z = std::round(u(rng));
            d.check(s, std::nextafter(x, kInf), y, z);
            d.check(s, x, std::nextafter(y, -kInf), z);
        }
        EXPECT_EQ(d.count, 0) << d.first;
    }
}

} // namespace
