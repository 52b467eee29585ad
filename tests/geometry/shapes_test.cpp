// Spot values of the eight inside tests, checked against a separate
// evaluation of the formulas: blobs, slabs, shells, gap, columns and holes.
#include "geometry/shapes.h"

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
        {isInsideFract, -12, 4, 0, 1, "julia"},
        {isInsideFract, 15, 15, 15, 0, "julia: escapes"},
        {isInsideFract, -16, 0, 0, 0, "julia: escapes"},
        {isInsidePyramid, 0, -7, 0, 0, "r^2 = 49: inner shell"},
        {isInsidePyramid, 0, -5, 0, 1, "pyramid tier"},
        {isInsidePyramid, 0, -6, 0, 1, "r^2 = 36: shell bounds strict"},
        {isInsidePyramid, 0, -10, 0, 1, "r^2 = 100: shell bounds strict"},
        {isInsidePyramid, 0, -11, 0, 0, "outer shell"},
        {isInsidePyramid, 0, -12, 0, 1, "r^2 = 144: shell bounds strict"},
        {isInsidePyramid, 0, -14, 0, 0, "below the pyramid"},
        {isInsidePyramid, 0, 0, 0, 0, "y < 0 is strict"},
        {isInsidePyramid, 5, -5, 0, 0, "x + y < 0 is strict"},
        {isInsidePyramid, -4, -5, 4, 0, "r^2 = 57: inner shell"},
        {isInsidePyramid, -2, -5, 2, 1, "pyramid tier"},
        {isInsidePillar, 0, 0, 0, 0, "gap"},
        {isInsidePillar, 10, 1.5, -3, 0, "gap, whatever the footprints"},
        {isInsidePillar, 0, 12, 0, 1, "above the slab's top"},
        {isInsidePillar, 0, -12, 0, 0, "below the columns"},
        {isInsidePillar, 0, 5, 0, 1, "slab between the holes"},
        {isInsidePillar, -16, -9, -6, 1, "a twisted column"},
        {isInsidePillar, -16, -9, 0, 0, "between the columns"},
        {isInsidePillar, -16, 8, -5, 0, "a hole in the slab"},
        {isInsideMountain, 0, 0, 0, 0, "the cave"},
        {isInsideMountain, 15, 15, 15, 1, "rock"},
        {isInsideMountain, 0, -15, 0, 0, "cut off below"},
        {isInsideMountain, 15, -15, 15, 0, "cut off below"},
        {isInsideMountain, -15, 12, 3, 1, "rock"},
        {isInsideTunnel, 15, 15, 15, 1, "rock"},
        {isInsideTunnel, 0, 0, 0, 0, "tunnel"},
        {isInsideTunnel, -6, 0, -10, 0, "tunnel"},
        {isInsideMeta, 0, 15, 0, 1, "slab at high y"},
        {isInsideMeta, 0, 0, 0, 0, "between blobs"},
        {isInsideMeta, -11, -4, 2, 1, "blob"},
        {isInsideMeta2, 0, -15, 0, 1, "slab at low y"},
        {isInsideMeta2, 0, 0, 0, 0, "between blobs"},
        {isInsideMeta2, -12, 1, 8, 1, "blob"},
        {isInsideMeta3, 0, -15, 0, 0, "no slabs"},
        {isInsideMeta3, 0, 0, 0, 0, "between blobs"},
        {isInsideMeta3, -13, -9, -1, 1, "z uses the cosine of x's argument"},
        {isInsideMeta3, -13, 2, -1, 1, "z uses the cosine of x's argument"},
    };
    for (const auto& s : spots)
        EXPECT_EQ(s.f(s.x, s.y, s.z), s.inside) << s.x << " " << s.y << " " << s.z << ": " << s.why;
}

} // namespace
