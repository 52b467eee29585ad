// Spot values of the eight inside tests, checked against a separate
// evaluation of the formulas: blobs, slabs, shells, gap, columns and holes.
#include "geometry/shapes.h"

#include <gtest/gtest.h>

namespace {

TEST(Shapes, JuliaIterationEscapesStrictlyAndReturnsOneOrZero) {
    EXPECT_EQ(calc_l(0, 0, 0, 0), 1.0);
    EXPECT_EQ(calc_l(3, 0, 0, 0), 0.0); // 8.60446^2 > 25 after one step
    EXPECT_EQ(isInsideFract(0, 0, 0), 1);
    EXPECT_EQ(isInsideFract(-4, 0, 0), 1);
    EXPECT_EQ(isInsideFract(-12, 4, 0), 1);
    EXPECT_EQ(isInsideFract(15, 15, 15), 0);
    EXPECT_EQ(isInsideFract(-16, 0, 0), 0);
}

TEST(Shapes, PyramidTiersBetweenTwoShells) {
    EXPECT_EQ(isInsidePyramid(0, -7, 0), 0); // r^2 = 49, inner shell
    EXPECT_EQ(isInsidePyramid(0, -5, 0), 1);
    EXPECT_EQ(isInsidePyramid(0, -9, 0), 1);
    EXPECT_EQ(isInsidePyramid(0, -11, 0), 0); // outer shell
    EXPECT_EQ(isInsidePyramid(0, -13, 0), 1);
    EXPECT_EQ(isInsidePyramid(0, 0, 0), 0);  // y < 0 is strict
    EXPECT_EQ(isInsidePyramid(5, -5, 0), 0); // x + y < 0 is strict
    EXPECT_EQ(isInsidePyramid(0, -14, 0), 0);
    EXPECT_EQ(isInsidePyramid(0, -6, 0), 1);  // r^2 = 36: shell bounds strict
    EXPECT_EQ(isInsidePyramid(0, -10, 0), 1); // r^2 = 100
    EXPECT_EQ(isInsidePyramid(0, -12, 0), 1); // r^2 = 144
    EXPECT_EQ(isInsidePyramid(-4, -5, 4), 0); // r^2 = 57, inner shell
    EXPECT_EQ(isInsidePyramid(-2, -5, 2), 1);
}

TEST(Shapes, PillarsGapSlabColumnsAndHoles) {
    EXPECT_EQ(isInsidePillar(0, 0, 0), 0);     // gap
    EXPECT_EQ(isInsidePillar(10, 1.5, -3), 0); // gap, whatever the footprints
    EXPECT_EQ(isInsidePillar(0, 12, 0), 1);    // above the slab's top
    EXPECT_EQ(isInsidePillar(0, -12, 0), 0);   // below the columns
    EXPECT_EQ(isInsidePillar(0, 5, 0), 1);     // slab between the holes
    EXPECT_EQ(isInsidePillar(-16, -9, -6), 1); // a twisted column
    EXPECT_EQ(isInsidePillar(-16, -9, 0), 0);  // between the columns
    EXPECT_EQ(isInsidePillar(-16, 8, -5), 0);  // a hole in the slab
}

TEST(Shapes, MountainCaveAndCut) {
    EXPECT_EQ(isInsideMountain(0, 0, 0), 0);    // the cave
    EXPECT_EQ(isInsideMountain(15, 15, 15), 1); // rock
    EXPECT_EQ(isInsideMountain(0, -15, 0), 0);  // cut off below
    EXPECT_EQ(isInsideMountain(15, -15, 15), 0);
    EXPECT_EQ(isInsideMountain(-15, 12, 3), 1);
}

TEST(Shapes, TunnelIsRockAwayFromTheChains) {
    EXPECT_EQ(isInsideTunnel(15, 15, 15), 1);
    EXPECT_EQ(isInsideTunnel(0, 0, 0), 0);
    EXPECT_EQ(isInsideTunnel(-6, 0, -10), 0);
}

TEST(Shapes, BlobFieldsAndSlabs) {
    EXPECT_EQ(isInsideMeta(0, 15, 0), 1); // slab at high y
    EXPECT_EQ(isInsideMeta(0, 0, 0), 0);
    EXPECT_EQ(isInsideMeta(-11, -4, 2), 1);
    EXPECT_EQ(isInsideMeta2(0, -15, 0), 1); // slab at low y
    EXPECT_EQ(isInsideMeta2(0, 0, 0), 0);
    EXPECT_EQ(isInsideMeta2(-12, 1, 8), 1);
    EXPECT_EQ(isInsideMeta3(0, -15, 0), 0); // no slabs
    EXPECT_EQ(isInsideMeta3(0, 0, 0), 0);
    // Inside only because z uses the cosine of x's argument.
    EXPECT_EQ(isInsideMeta3(-13, -9, -1), 1);
    EXPECT_EQ(isInsideMeta3(-13, 2, -1), 1);
}

} // namespace
