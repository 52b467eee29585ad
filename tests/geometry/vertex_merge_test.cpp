// The spatial-index merge returns exactly what the linear scan in index order
// returns: on an adversarial point set, and on the whole build of all eight
// solids (fast inside tests) against the reference polygonizer (plain ones).
#include "geometry/shapes.h"
#include "geometry/shapes_fast.h"
#include "linear_reference.h"
#include "mesh_helpers.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

// Rows 0.1 apart written in decimal (some differences round below 0.1, some
// above) and the 0.06 / 0.08 pair (squares add to exactly 0.01) at many
// offsets, straddling the quarter-unit cell borders in every way.
TEST(VertexMerge, TenthsAndBordersMatchTheLinearScan) {
    std::vector<vector3> points, linear;
    for (int i = -40; i <= 40; i++)
        for (int j = -3; j <= 3; j++)
            points.push_back(v3(i * 0.1, j * 0.1, 0.3 * j));
    for (int i = 0; i < 64; i++) {
        double o = -8 + i * 0.25 + (i % 3 - 1) * 0.03;
        for (double y : {0.0, 0.08, std::nextafter(0.08, 0.0)})
            points.push_back(v3(o + (y > 0 ? 0.06 : 0), o + y, o));
    }
    static object13 mesh;
    for (size_t i = 0; i < points.size(); i++) {
        vector3 p = points[i];
        ASSERT_EQ(mesh.addVertex(&p), linearAddVertex(linear, points[i])) << i;
    }
    EXPECT_EQ(mesh.numVertices, linear.size());
}

TEST(VertexMerge, EightSolidsBuildIdenticallyToTheReference) {
    const shapeFunction solids[8][2] = {
        {fastInsideTunnel, isInsideTunnel},     {fastInsideMeta, isInsideMeta},
        {fastInsideMountain, isInsideMountain}, {isInsideFract, isInsideFract},
        {fastInsidePillar, isInsidePillar},     {isInsidePyramid, isInsidePyramid},
        {fastInsideMeta2, isInsideMeta2},       {fastInsideMeta3, isInsideMeta3},
    };
    static metaBuilder fast;
    for (int s = 0; s < 8; s++) {
        build(fast, solids[s][0]);
        referenceMesh slow = referenceBuild(solids[s][1]);
        ASSERT_EQ(fast.numVertices, slow.vertices.size()) << s;
        ASSERT_EQ(fast.numTriangles, slow.triangles.size()) << s;
        for (uint32_t i = 0; i < fast.numVertices; i++)
            ASSERT_TRUE(sameBits(fast.vertices[i], slow.vertices[i])) << s << " vertex " << i;
        for (uint32_t i = 0; i < fast.numTriangles; i++)
            for (int k = 0; k < 3; k++)
                ASSERT_EQ(fast.triangles[i].v[k], slow.triangles[i][k]) << s << " tri " << i;
    }
}

} // namespace
