// kickIn end to end: sampling, edge search, merging and winding on small
// shapes whose meshes are known, closed bodies, cut-open solids, shape call
// counts and a shape that overflows the mesh capacity.
#include "geometry/cell_geometry.h"
#include "geometry/meta_builder.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <utility>

namespace {

std::string build(metaBuilder& m, shapeFunction f) {
    testing::internal::CaptureStdout();
    m.kickIn(f);
    return testing::internal::GetCapturedStdout();
}

int onlyOrigin(double x, double y, double z) {
    return x == 0 && y == 0 && z == 0;
}
int nothing(double, double, double) {
    return 0;
}
int everything(double, double, double) {
    return 1;
}
int ball(double x, double y, double z) {
    return x * x + y * y + z * z < 100;
}
int lowerHalf(double, double y, double) {
    return y < 0;
}

// Signed volume of a closed mesh: positive when its triangles face outward.
double signedVolume(const object13& m) {
    double v = 0;
    for (uint32_t i = 0; i < m.numTriangles; i++) {
        const vector3& a = m.vertices[m.triangles[i].v[0]];
        const vector3& b = m.vertices[m.triangles[i].v[1]];
        const vector3& c = m.vertices[m.triangles[i].v[2]];
        v += a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) +
             a.z * (b.x * c.y - b.y * c.x);
    }
    return v / 6;
}

// Uses of each directed edge (from, to) of the mesh's triangles.
std::map<std::pair<int, int>, int> directedEdges(const object13& m) {
    std::map<std::pair<int, int>, int> uses;
    for (uint32_t i = 0; i < m.numTriangles; i++)
        for (int k = 0; k < 3; k++)
            uses[{m.triangles[i].v[k], m.triangles[i].v[(k + 1) % 3]}]++;
    return uses;
}

// Every edge used by exactly two triangles, once in each direction.
void expectClosedAndConsistent(const object13& m) {
    auto uses = directedEdges(m);
    for (const auto& u : uses) {
        EXPECT_EQ(u.second, 1) << u.first.first << "->" << u.first.second;
        auto back = uses.find({u.first.second, u.first.first});
        EXPECT_TRUE(back != uses.end() && back->second == 1)
            << u.first.first << "->" << u.first.second << " has no opposite";
    }
}

TEST(Polygonizer, SinglePointBody) {
    static metaBuilder m;
    std::string out = build(m, onlyOrigin);
    EXPECT_EQ(out, "\nrekenen..[tris8 verts6]\n");
    ASSERT_EQ(m.numVertices, 6u);
    // Positive half-axes at 1/8 (first probe differs), negative at 6/8 of
    // the edge from the outside corner -1: 0.25 from the origin.
    std::map<std::string, int> seen;
    for (uint32_t i = 0; i < m.numVertices; i++) {
        const vector3& v = m.vertices[i];
        char key[64];
        snprintf(key, sizeof key, "%g %g %g", v.x, v.y, v.z);
        seen[key]++;
    }
    for (const char* k :
         {"0.125 0 0", "0 0.125 0", "0 0 0.125", "-0.25 0 0", "0 -0.25 0", "0 0 -0.25"})
        EXPECT_EQ(seen[k], 1) << k;
    expectClosedAndConsistent(m);
    EXPECT_GT(signedVolume(m), 0.0);
    // Each face normal points away from the origin, each vertex normal too.
    for (uint32_t i = 0; i < m.numTriangles; i++) {
        const vector3& a = m.vertices[m.triangles[i].v[0]];
        const vector3& n = m.faceNormals[i];
        EXPECT_GT(a.x * n.x + a.y * n.y + a.z * n.z, 0.0) << i;
        EXPECT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1.0, 1e-15);
    }
    for (uint32_t i = 0; i < m.numVertices; i++) {
        const vector3& n = m.normals[i];
        const vector3& v = m.vertices[i];
        EXPECT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 0.5, 1e-15);
        EXPECT_GT(v.x * n.x + v.y * n.y + v.z * n.z, 0.0);
    }
}

TEST(Polygonizer, EmptyAndFullShapesGiveEmptyMeshes) {
    static metaBuilder m;
    EXPECT_EQ(build(m, nothing), "\nrekenen..[tris0 verts0]\n");
    EXPECT_EQ(m.numTriangles, 0u);
    build(m, onlyOrigin);
    EXPECT_EQ(build(m, everything), "\nrekenen..[tris0 verts0]\n"); // previous mesh discarded
    EXPECT_EQ(m.numVertices, 0u);
}

TEST(Polygonizer, BallIsClosedAndFacesOutward) {
    static metaBuilder m;
    build(m, ball);
    ASSERT_GT(m.numTriangles, 1000u);
    expectClosedAndConsistent(m);
    double v = signedVolume(m), sphere = 4.0 / 3.0 * 3.14159265358979 * 1000;
    EXPECT_GT(v, 0.9 * sphere);
    EXPECT_LT(v, 1.1 * sphere);
}

TEST(Polygonizer, SolidReachingTheBoxIsCutOpen) {
    static metaBuilder m;
    EXPECT_EQ(build(m, lowerHalf), "\nrekenen..[tris1922 verts1024]\n");
    // Only the plane: no walls on the box faces. Starting inside at y = -1,
    // all six probes stay inside, so the points fall back to 3/4 of the edge.
    for (uint32_t i = 0; i < m.numVertices; i++)
        ASSERT_EQ(m.vertices[i].y, -0.25) << i;
    for (uint32_t i = 0; i < m.numTriangles; i++)
        ASSERT_EQ(m.faceNormals[i].y, 1.0) << i;
}

int belowThreeEighths(double x, double, double) {
    return x < 0.3;
}
int aboveThreeTenths(double x, double, double) {
    return x > 0.3;
}
int belowSevenEighths(double x, double, double) {
    return x < 0.8;
}

TEST(Polygonizer, EdgeSearchTakesTheFirstDifferingProbe) {
    static metaBuilder m;
    build(m, belowThreeEighths); // inside start: 1/8, 2/8 inside, 3/8 out
    EXPECT_EQ(m.vertices[0].x, 0.375);
    build(m, aboveThreeTenths); // outside start at 0, the same probe differs
    EXPECT_EQ(m.vertices[0].x, 0.375);
    build(m, belowSevenEighths); // 7/8 is never probed: falls back to 6/8
    EXPECT_EQ(m.vertices[0].x, 0.75);
}

long g_calls;
shapeFunction g_shape;
int countedShape(double x, double y, double z) {
    g_calls++;
    return g_shape(x, y, z);
}

TEST(Polygonizer, EachCrossedEdgeIsSearchedOnce) {
    static metaBuilder m;
    g_shape = onlyOrigin;
    g_calls = 0;
    build(m, countedShape);
    // 32768 samples; three edges stop at their first probe, three run all six.
    EXPECT_EQ(g_calls, 32768 + 3 * 1 + 3 * 6);
}

int shapeReturningTwo(double x, double y, double z) {
    return onlyOrigin(x, y, z) ? 2 : 0;
}

TEST(Polygonizer, AnyNonZeroAnswerCountsAsInside) {
    static metaBuilder a, b;
    build(a, onlyOrigin);
    build(b, shapeReturningTwo);
    ASSERT_EQ(a.numVertices, b.numVertices);
    for (uint32_t i = 0; i < a.numVertices; i++)
        EXPECT_EQ(a.vertices[i].x, b.vertices[i].x);
}

// Random voxels in a 12^3 block exercise every case next to every other: the winding
// of neighbouring cells must agree on every shared edge.
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
                for (int i = 0; i < 32; i++) {
                    bool interior = i > 9 && j > 9 && k > 9 && i < 22 && j < 22 && k < 22;
                    g_voxels[k][j][i] = interior && fill(rng);
                }
        for (int k = 0; k < 31; k++)
            for (int j = 0; j < 31; j++)
                for (int i = 0; i < 31; i++) {
                    unsigned c = 0;
                    for (int n = 0; n < 8; n++) {
                        const int* o = cornerOffset[n];
                        c |= unsigned(g_voxels[k + o[2]][j + o[1]][i + o[0]]) << n;
                    }
                    seen[c] = true;
                }
        build(m, voxels);
        ASSERT_GT(m.numTriangles, 0u);
        ASSERT_FALSE(m.overflowed());
        // Fan diagonals of two cells may coincide, so count balance, not 1.
        auto uses = directedEdges(m);
        for (const auto& u : uses) {
            auto back = uses.find({u.first.second, u.first.first});
            ASSERT_TRUE(back != uses.end() && back->second == u.second)
                << "round " << round << ": " << u.first.first << "->" << u.first.second;
        }
        EXPECT_GT(signedVolume(m), 0.0);
    }
    EXPECT_EQ(std::count(seen, seen + 256, true), 256);
}

int checkerboard(double x, double y, double z) {
    long s = std::lround(std::floor(x + 0.5) + std::floor(y + 0.5) + std::floor(z + 0.5));
    return s & 1;
}

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
    // The next build starts clean and warns again only if it overflows.
    testing::internal::CaptureStderr();
    build(m, ball);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(m.overflowed());
}

} // namespace
