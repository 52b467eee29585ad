// The eight solids as start-up builds them: counts, console lines, scaling.
#include "app/solids.h"
#include "geometry/shapes.h"
#include "mesh_helpers.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Counts and console lines in start-up order; then each solid's positions
// against a fresh unscaled build of its shape, with the factors applied in
// start-up order (pillars twice, pyramid never) and the normals untouched.
TEST(Solids, CountsConsoleLinesAndScaling) {
    const struct {
        const char* name;
        metaBuilder* mesh;
        uint32_t triangles, vertices;
        shapeFunction f;
        double first[3], second[3];
    } solids[8] = {
        {"mb", &mb, 2096, 1054, isInsideTunnel, {1, 1, 1}, {1, 1, 1}},
        {"stoned_forest", &stoned_forest, 6470, 3300, isInsideMeta, {1, 1, 1}, {1, 1, 1}},
        {"stoned_mountain", &stoned_mountain, 9790, 5028, isInsideMountain, {2, 2, 2}, {1, 1, 1}},
        {"julia", &julia, 4776, 2382, isInsideFract, {1, 1, 1}, {1, 1, 1}},
        {"pillars", &pillars, 10714, 5608, isInsidePillar, {3, 2, 3}, {2, 2, 2}},
        {"pyramid", &pyramid, 5144, 2578, isInsidePyramid, {1, 1, 1}, {1, 1, 1}},
        {"lost_forest", &lost_forest, 6064, 3159, isInsideMeta2, {1, 1, 1}, {1, 1, 1}},
        {"lost_jaw", &lost_jaw, 6616, 3326, isInsideMeta3, {2, 1, 2}, {1, 1, 1}},
    };
    testing::internal::CaptureStdout();
    buildSolidMeshes();
    std::string out = testing::internal::GetCapturedStdout(), expected;
    static metaBuilder fresh;
    for (const auto& s : solids) {
        const metaBuilder& m = *s.mesh;
        EXPECT_EQ(m.numTriangles, s.triangles) << s.name;
        EXPECT_EQ(m.numVertices, s.vertices) << s.name;
        expected += "\nrekenen..[tris" + std::to_string(s.triangles) + " verts" +
                    std::to_string(s.vertices) + "]\n";
        build(fresh, s.f);
        ASSERT_EQ(fresh.numVertices, m.numVertices) << s.name;
        for (uint32_t i = 0; i < fresh.numVertices; i++) {
            const vector3& v = fresh.vertices[i];
            ASSERT_TRUE(sameBits(m.vertices[i],
                                 v3(v.x * s.first[0] * s.second[0], v.y * s.first[1] * s.second[1],
                                    v.z * s.first[2] * s.second[2])))
                << s.name << " " << i;
            ASSERT_TRUE(sameBits(fresh.normals[i], m.normals[i])) << s.name << " " << i;
        }
        for (uint32_t i = 0; i < fresh.numTriangles; i++)
            ASSERT_TRUE(sameBits(fresh.faceNormals[i], m.faceNormals[i])) << s.name << " " << i;
    }
    EXPECT_EQ(out, expected);
}

} // namespace
