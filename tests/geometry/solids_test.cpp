// The eight solids as start-up builds them: counts, console lines, scaling.
#include "app/solids.h"
#include "geometry/shapes.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

struct expectedCounts {
    const char* name;
    metaBuilder* mesh;
    uint32_t triangles;
    uint32_t vertices;
};

const expectedCounts kCounts[8] = {
    {"mb", &mb, 2096, 1054},
    {"stoned_forest", &stoned_forest, 6470, 3300},
    {"stoned_mountain", &stoned_mountain, 9790, 5028},
    {"julia", &julia, 4776, 2382},
    {"pillars", &pillars, 10714, 5608},
    {"pyramid", &pyramid, 5144, 2578},
    {"lost_forest", &lost_forest, 6064, 3159},
    {"lost_jaw", &lost_jaw, 6616, 3326},
};

TEST(Solids, CountsAndConsoleLinesInStartupOrder) {
    testing::internal::CaptureStdout();
    buildSolidMeshes();
    std::string out = testing::internal::GetCapturedStdout();
    std::string expected;
    for (const expectedCounts& c : kCounts) {
        EXPECT_EQ(c.mesh->numTriangles, c.triangles) << c.name;
        EXPECT_EQ(c.mesh->numVertices, c.vertices) << c.name;
        expected += "\nrekenen..[tris" + std::to_string(c.triangles) + " verts" +
                    std::to_string(c.vertices) + "]\n";
    }
    EXPECT_EQ(out, expected);
}

// Positions of each solid against a fresh, unscaled build of its shape:
// factors applied in start-up order (pillars twice, pyramid never), normals
// left as polygonized.
TEST(Solids, ScalingFollowsTheStartupSequence) {
    testing::internal::CaptureStdout();
    buildSolidMeshes();
    struct scaled {
        metaBuilder* mesh;
        shapeFunction f;
        double first[3], second[3];
    };
    const scaled cases[] = {
        {&mb, isInsideTunnel, {1, 1, 1}, {1, 1, 1}},
        {&stoned_mountain, isInsideMountain, {2, 2, 2}, {1, 1, 1}},
        {&pillars, isInsidePillar, {3, 2, 3}, {2, 2, 2}},
        {&pyramid, isInsidePyramid, {1, 1, 1}, {1, 1, 1}},
        {&lost_jaw, isInsideMeta3, {2, 1, 2}, {1, 1, 1}},
    };
    static metaBuilder fresh;
    for (const scaled& c : cases) {
        fresh.kickIn(c.f);
        ASSERT_EQ(fresh.numVertices, c.mesh->numVertices);
        for (uint32_t i = 0; i < fresh.numVertices; i++) {
            const vector3& v = fresh.vertices[i];
            const vector3& w = c.mesh->vertices[i];
            ASSERT_EQ(w.x, v.x * c.first[0] * c.second[0]) << i;
            ASSERT_EQ(w.y, v.y * c.first[1] * c.second[1]) << i;
            ASSERT_EQ(w.z, v.z * c.first[2] * c.second[2]) << i;
            ASSERT_EQ(0, std::memcmp(&fresh.normals[i], &c.mesh->normals[i], sizeof(vector3)));
        }
        for (uint32_t i = 0; i < fresh.numTriangles; i++)
            ASSERT_EQ(0,
                      std::memcmp(&fresh.faceNormals[i], &c.mesh->faceNormals[i], sizeof(vector3)));
    }
    testing::internal::GetCapturedStdout();
    // pillars: net (6, 4, 6) of a shape inside [-16, 15].
    double maxY = 0;
    for (uint32_t i = 0; i < pillars.numVertices; i++)
        maxY = std::max(maxY, pillars.vertices[i].y);
    EXPECT_GT(maxY, 40.0);
}

} // namespace
