// Spot values of the eight inside tests (blobs, slabs, shells, gap, columns,
// holes), and the fast tests answering as the plain ones wherever a build asks.
#include "geometry/shapes.h"
#include "geometry/shapes_fast.h"

#include <gtest/gtest.h>

namespace {

TEST(Shapes, SpotValues) {
    EXPECT_EQ(calc_l(0, 0, 0, 0), 1.0);
    EXPECT_EQ(calc_l(3, 0, 0, 0), 0.0); // 8.60446^2 > 25 after one step
    const struct {
        int (*f)(double, double, double);
        double x, y, z;
        int inside;
        const char* why;
    } spots[] = {
        {isInsideFract, 0, 0, 0, 1, "julia"},
        {isInsideFract, -4, 0, 0, 1, "julia"},
        {isInsidePyramid, 0, -6, 0, 1, "r^2 = 36: shell bounds strict"},
        {isInsidePyramid, 0, -12, 0, 1, "r^2 = 144: shell bounds strict"},
        {isInsidePyramid, 0, 0, 0, 0, "y < 0 is strict"},
        {isInsidePyramid, 5, -5, 0, 0, "x + y < 0 is strict"},
        {isInsidePyramid, -2, -5, 2, 1, "pyramid tier"},
        {isInsidePillar, 0, 0, 0, 0, "gap"},
        {isInsidePillar, 0, 12, 0, 1, "above the slab's top"},
        {isInsidePillar, 0, 5, 0, 1, "slab between the holes"},
        {isInsidePillar, -16, -9, -6, 1, "a twisted column"},
        {isInsideMountain, 0, 0, 0, 0, "the cave"},
        {isInsideMountain, 15, 15, 15, 1, "rock"},
        {isInsideTunnel, 0, 0, 0, 0, "tunnel"},
        {isInsideMeta, -11, -4, 2, 1, "blob"},
        {isInsideMeta2, -12, 1, 8, 1, "blob"},
        {isInsideMeta3, 0, -15, 0, 0, "no slabs"},
        {isInsideMeta3, -13, -9, -1, 1, "z uses the cosine of x's argument"},
    };
    for (const auto& s : spots)
        EXPECT_EQ(s.f(s.x, s.y, s.z), s.inside) << s.x << " " << s.y << " " << s.z << ": " << s.why;
}

// Every point a build passes to a shape: the grid points and the probes at
// n/8 along every grid edge.
TEST(Shapes, FastAgreesWithPlainOnTheBuildsPoints) {
    int (*const pairs[6][2])(double, double, double) = {
        {fastInsideTunnel, isInsideTunnel},     {fastInsideMeta, isInsideMeta},
        {fastInsideMountain, isInsideMountain}, {fastInsidePillar, isInsidePillar},
        {fastInsideMeta2, isInsideMeta2},       {fastInsideMeta3, isInsideMeta3},
    };
    for (int s = 0; s < 6; s++)
        for (int n = 0; n < 32 * 32 * 32; n++)
            for (int axis = 0; axis < 3; axis++)
                for (int e = 0; e < 7; e++) {
                    double p[3] = {n % 32 - 16.0, n / 32 % 32 - 16.0, n / 1024 - 16.0};
                    p[axis] += e / 8.0;
                    ASSERT_EQ(pairs[s][0](p[0], p[1], p[2]), pairs[s][1](p[0], p[1], p[2]))
                        << s << ": " << p[0] << " " << p[1] << " " << p[2];
                }
}

} // namespace
