// kickIn end to end: sampling, edge search, merging and winding on small
// shapes whose meshes are known, closed bodies, cut-open solids, shape call
// counts and a shape that overflows the mesh capacity.
#include "geometry/cell_geometry.h"
#include "mesh_helpers.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <random>

namespace {

long g_calls; // shape calls since the last reset

int onlyOrigin(double x, double y, double z) {
    g_calls++;
    return x == 0 && y == 0 && z == 0;
}
int originAsTwo(double x, double y, double z) {
    return onlyOrigin(x, y, z) ? 2 : 0; // any non-zero answer is inside
}

// Positive half-axes at 1/8 (the first probe differs), negative ones at 6/8
// of the edge from the outside corner -1: 0.25 from the origin. Closed,
// outward, unit face normals and half-length vertex normals. Each crossed
// edge is searched once: 32768 samples, then three edges stop at their first
// probe and three run all six.
TEST(Polygonizer, SinglePointBody) {
    for (shapeFunction f : {onlyOrigin, originAsTwo}) {
        static metaBuilder m;
        g_calls = 0;
        EXPECT_EQ(build(m, f), "\nrekenen..[tris8 verts6]\n");
        EXPECT_EQ(g_calls, 32768 + 3 * 1 + 3 * 6);
        ASSERT_EQ(m.numVertices, 6u);
        const vector3 expected[6] = {v3(0.125, 0, 0), v3(0, 0.125, 0), v3(0, 0, 0.125),
                                     v3(-0.25, 0, 0), v3(0, -0.25, 0), v3(0, 0, -0.25)};
        for (const vector3& e : expected)
            EXPECT_EQ(std::count_if(m.vertices, m.vertices + 6,
                                    [&](const vector3& v) { return sameBits(v, e); }),
                      1)
                << e.x << " " << e.y << " " << e.z;
        expectClosed(m);
        EXPECT_GT(signedVolume(m), 0.0);
        for (uint32_t i = 0; i < m.numTriangles; i++) {
            const vector3 &a = m.vertices[m.triangles[i].v[0]], &n = m.faceNormals[i];
            EXPECT_GT(a.x * n.x + a.y * n.y + a.z * n.z, 0.0) << i;
            EXPECT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1.0, 1e-15);
        }
        for (uint32_t i = 0; i < m.numVertices; i++) {
            const vector3 &n = m.normals[i], &v = m.vertices[i];
            EXPECT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 0.5, 1e-15);
            EXPECT_GT(v.x * n.x + v.y * n.y + v.z * n.z, 0.0);
        }
    }
}

TEST(Polygonizer, EmptyAndFullShapesGiveEmptyMeshes) {
    static metaBuilder m;
    EXPECT_EQ(build(m, [](double, double, double) { return 0; }), "\nrekenen..[tris0 verts0]\n");
    build(m, onlyOrigin);
    // The previous mesh is discarded.
    EXPECT_EQ(build(m, [](double, double, double) { return 1; }), "\nrekenen..[tris0 verts0]\n");
    EXPECT_EQ(m.numVertices, 0u);
}

TEST(Polygonizer, BallIsClosedAndFacesOutward) {
    static metaBuilder m;
    build(m, [](double x, double y, double z) { return int(x * x + y * y + z * z < 100); });
    ASSERT_GT(m.numTriangles, 1000u);
    expectClosed(m);
    double v = signedVolume(m), sphere = 4.0 / 3.0 * M_PI * 1000;
    EXPECT_GT(v, 0.9 * sphere);
    EXPECT_LT(v, 1.1 * sphere);
}

// Only the plane, no walls on the box faces. Starting inside at y = -1, all
// six probes stay inside, so the points fall back to 3/4 of the edge.
TEST(Polygonizer, SolidReachingTheBoxIsCutOpen) {
    static metaBuilder m;
    EXPECT_EQ(build(m, [](double, double y, double) { return int(y < 0); }),
              "\nrekenen..[tris1922 verts1024]\n");
    for (uint32_t i = 0; i < m.numVertices; i++)
        ASSERT_EQ(m.vertices[i].y, -0.25) << i;
    for (uint32_t i = 0; i < m.numTriangles; i++)
        ASSERT_EQ(m.faceNormals[i].y, 1.0) << i;
}

// The first probe whose answer differs from the edge's start wins; 7/8 is
// never probed, so an edge that never differs falls back to 6/8.
TEST(Polygonizer, EdgeSearchTakesTheFirstDifferingProbe) {
    const std::pair<shapeFunction, double> cases[] = {
        {[](double x, double, double) { return int(x < 0.3); }, 0.375}, // start inside
        {[](double x, double, double) { return int(x > 0.3); }, 0.375}, // start outside
        {[](double x, double, double) { return int(x < 0.8); }, 0.75},
    };
    static metaBuilder m;
    for (const auto& c : cases) {
        build(m, c.first);
        EXPECT_EQ(m.vertices[0].x, c.second);
    }
}

// Random voxels in a 12^3 block meet every case next to every other: the
// winding of neighbouring cells must agree on every shared edge (fan
// diagonals of two cells may coincide, so balance, not single use).
unsigned char g_voxels[32][32][32];
int voxels(double x, double y, double z) {
    int i = int(std::floor(x + 0.5)) + 16, j = int(std::floor(y + 0.5)) + 16,
        k = int(std::floor(z + 0.5)) + 16;
    if (i < 0 || j < 0 || k < 0 || i > 31 || j > 31 || k > 31) return 0;
    return g_voxels[k][j][i];
}

TEST(Polygonizer, RandomVoxelsGiveConsistentlyWoundSurfaces) {
    static metaBuilder m;
    std::mt19937 rng(3);
    bool seen[256] = {};
    for (int round = 0; round < 8; round++) {
        std::bernoulli_distribution fill(0.1 + 0.1 * round);
        for (int k = 0; k < 32; k++)
            for (int j = 0; j < 32; j++)
                for (int i = 0; i < 32; i++)
                    g_voxels[k][j][i] =
                        i > 9 && j > 9 && k > 9 && i < 22 && j < 22 && k < 22 && fill(rng);
        for (int n = 0; n < 31 * 31 * 31; n++) {
            unsigned c = 0;
            for (int b = 0; b < 8; b++) {
                const int* o = cornerOffset[b];
                c |= unsigned(g_voxels[n / 961 + o[2]][n / 31 % 31 + o[1]][n % 31 + o[0]]) << b;
            }
            seen[c] = true;
        }
        build(m, voxels);
        ASSERT_GT(m.numTriangles, 0u);
        ASSERT_FALSE(m.overflowed());
        expectClosed(m, false);
        EXPECT_GT(signedVolume(m), 0.0) << "round " << round;
    }
    EXPECT_EQ(std::count(seen, seen + 256, true), 256);
}

int checkerboard(double x, double y, double z) {
    return std::lround(std::floor(x + 0.5) + std::floor(y + 0.5) + std::floor(z + 0.5)) & 1;
}

// A full mesh refuses further triangles with one warning line; indices stay
// in range, normals finite, and the next build starts clean.
TEST(Polygonizer, OverflowingShapeStopsAtTheCapacityWithOneWarning) {
    static metaBuilder m;
    testing::internal::CaptureStderr();
    std::string out = build(m, checkerboard);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(m.numTriangles, object13::kCapacity);
    EXPECT_LE(m.numVertices, object13::kCapacity);
    EXPECT_EQ(out, "\nrekenen..[tris16384 verts" + std::to_string(m.numVertices) + "]\n");
    EXPECT_NE(err.find("mesh full"), std::string::npos);
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    for (uint32_t i = 0; i < m.numTriangles; i++)
        for (int k = 0; k < 3; k++)
            ASSERT_LT(m.triangles[i].v[k], m.numVertices);
    for (uint32_t i = 0; i < m.numVertices; i++)
        ASSERT_TRUE(std::isfinite(m.normals[i].x));
    testing::internal::CaptureStderr();
    build(m, onlyOrigin);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(m.overflowed());
}

} // namespace
