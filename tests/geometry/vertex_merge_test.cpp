// The spatial-index merge returns exactly what the linear scan in index order
// returns: same indices, same vertices. Checked on adversarial point sets and
// on the whole build of all eight solids against the reference polygonizer.
#include "geometry/meta_builder.h"
#include "geometry/shapes.h"
#include "geometry/shapes_fast.h"
#include "linear_reference.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

vector3 v3(double x, double y, double z) {
    vector3 v;
    v.set(x, y, z);
    return v;
}

bool sameBits(const vector3& a, const vector3& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Feeds the points to both merges; fails at the first differing index.
void expectSameMerge(const std::vector<vector3>& points) {
    static object13 mesh;
    mesh.reset();
    std::vector<vector3> linear;
    for (size_t i = 0; i < points.size(); i++) {
        vector3 p = points[i];
        int fast = mesh.addVertex(&p);
        int slow = linearAddVertex(linear, points[i]);
        if (slow >= int(object13::kCapacity)) break;
        ASSERT_EQ(fast, slow) << "point " << i << " (" << p.x << ", " << p.y << ", " << p.z << ")";
    }
    ASSERT_EQ(mesh.numVertices, std::min<size_t>(linear.size(), object13::kCapacity));
    for (uint32_t i = 0; i < mesh.numVertices; i++)
        ASSERT_TRUE(sameBits(mesh.vertices[i], linear[i])) << i;
}

TEST(VertexMerge, PointsAtDistanceExactlyATenth) {
    std::vector<vector3> pts;
    // Rows 0.1 apart written in decimal: some differences round below 0.1
    // (merged), some above (kept), depending on the coordinates.
    for (int i = -40; i <= 40; i++)
        for (int j = -3; j <= 3; j++)
            pts.push_back(v3(i * 0.1, j * 0.1, 0.3 * j));
    // The 0.06 / 0.08 pair whose squares add to exactly 0.01, placed at many
    // offsets so the pair straddles cell borders in every way.
    for (int i = 0; i < 64; i++) {
        double o = -8 + i * 0.25 + (i % 3 - 1) * 0.03;
        pts.push_back(v3(o, o, o));
        pts.push_back(v3(o + 0.06, o + 0.08, o));
        pts.push_back(v3(o + 0.06, o + std::nextafter(0.08, 0.0), o));
    }
    expectSameMerge(pts);
}

TEST(VertexMerge, ClustersWithinATenthOfSeveralVertices) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> centre(-3, 3), jitter(-0.12, 0.12);
    std::vector<vector3> pts;
    for (int c = 0; c < 300; c++) {
        double cx = centre(rng), cy = centre(rng), cz = centre(rng);
        for (int k = 0; k < 20; k++)
            pts.push_back(v3(cx + jitter(rng), cy + jitter(rng), cz + jitter(rng)));
    }
    // Later points also probe the clusters built by earlier ones.
    for (int k = 0; k < 3000; k++)
        pts.push_back(v3(centre(rng), centre(rng), centre(rng)));
    expectSameMerge(pts);
}

TEST(VertexMerge, CellBoundaryCases) {
    std::vector<vector3> pts;
    // Cells are quarter units: points at and one ulp either side of borders,
    // with neighbours just under 0.1 away across the border.
    for (int i = -20; i <= 20; i++) {
        double b = i * 0.25;
        for (double x : {b, std::nextafter(b, -1e9), std::nextafter(b, 1e9)}) {
            pts.push_back(v3(x, b, -b));
            pts.push_back(v3(x + 0.0999, b, -b));
            pts.push_back(v3(x - 0.0999, b + 0.0001, -b));
            pts.push_back(v3(x + 0.05, b + 0.05, -b + 0.05));
        }
    }
    // Grid-like crossing points at eighths, as the polygonizer makes them.
    for (int i = 0; i < 400; i++)
        pts.push_back(v3((i % 17) / 8.0 - 1, (i % 13) / 8.0 - 1, (i % 11) / 8.0 - 1));
    expectSameMerge(pts);
}

TEST(VertexMerge, FarHugeAndNonFiniteCoordinates) {
    double inf = std::numeric_limits<double>::infinity();
    double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<vector3> pts = {
        v3(1e6, 0, 0),        v3(1e6 + 0.05, 0, 0),  v3(-1e6, 0, 0),        v3(-1e6 - 0.05, 0, 0),
        v3(262143.9, 0, 0),   v3(262144.01, 0, 0),   v3(262144.05, 0, 0),   v3(-262144.0, 0, 0),
        v3(-262143.95, 0, 0), v3(1e300, 1e300, 0),   v3(1e300, 1e300, 0),   v3(-1e300, 0, 1e300),
        v3(inf, 0, 0),        v3(inf, 0, 0),         v3(-inf, inf, 0),      v3(nan, 0, 0),
        v3(nan, 0, 0),        v3(0, nan, 0),         v3(0, 0, 0),           v3(0.01, 0, 0),
        v3(4e-320, 0, 0),     v3(1e18, -1e18, 1e18), v3(1e18, -1e18, 1e18),
    };
    expectSameMerge(pts);
}

TEST(VertexMerge, ManyNearDuplicatesUpToCapacity) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(-16, 16);
    std::vector<vector3> pts;
    for (int k = 0; k < 40000; k++)
        pts.push_back(v3(u(rng), u(rng), u(rng) * 0.05));
    expectSameMerge(pts);
}

// The fast build against the reference: the same vertices (bit for bit) in
// the same order and the same triangles. The fast build may use a fast inside
// test (as start-up does); the reference always uses the plain one.
void expectSameBuild(shapeFunction fastShape, shapeFunction plainShape, const char* name) {
    static metaBuilder fast;
    testing::internal::CaptureStdout();
    fast.kickIn(fastShape);
    testing::internal::GetCapturedStdout();
    referenceMesh slow = referenceBuild(plainShape);
    ASSERT_EQ(fast.numVertices, slow.vertices.size()) << name;
    ASSERT_EQ(fast.numTriangles, slow.triangles.size()) << name;
    for (uint32_t i = 0; i < fast.numVertices; i++)
        ASSERT_TRUE(sameBits(fast.vertices[i], slow.vertices[i])) << name << " vertex " << i;
    for (uint32_t i = 0; i < fast.numTriangles; i++)
        for (int k = 0; k < 3; k++)
            ASSERT_EQ(fast.triangles[i].v[k], slow.triangles[i][k]) << name << " triangle " << i;
}

TEST(VertexMerge, EightSolidsBuildIdenticallyToTheLinearScanReference) {
    expectSameBuild(isInsideTunnel, isInsideTunnel, "isInsideTunnel");
    expectSameBuild(isInsideMeta, isInsideMeta, "isInsideMeta");
    expectSameBuild(isInsideMountain, isInsideMountain, "isInsideMountain");
    expectSameBuild(isInsideFract, isInsideFract, "isInsideFract");
    expectSameBuild(isInsidePillar, isInsidePillar, "isInsidePillar");
    expectSameBuild(isInsidePyramid, isInsidePyramid, "isInsidePyramid");
    expectSameBuild(isInsideMeta2, isInsideMeta2, "isInsideMeta2");
    expectSameBuild(isInsideMeta3, isInsideMeta3, "isInsideMeta3");
}

TEST(VertexMerge, FastInsideTestsBuildIdenticallyToThePlainReference) {
    expectSameBuild(fastInsideTunnel, isInsideTunnel, "fastInsideTunnel");
    expectSameBuild(fastInsideMeta, isInsideMeta, "fastInsideMeta");
    expectSameBuild(fastInsideMountain, isInsideMountain, "fastInsideMountain");
    expectSameBuild(fastInsidePillar, isInsidePillar, "fastInsidePillar");
    expectSameBuild(fastInsideMeta2, isInsideMeta2, "fastInsideMeta2");
    expectSameBuild(fastInsideMeta3, isInsideMeta3, "fastInsideMeta3");
}

// A build appends its vertices without a merge search; a later addVertex
// must still see every one of them, as the linear scan does.
TEST(VertexMerge, AddVertexAfterABuildFindsTheBuiltVertices) {
    static metaBuilder mesh;
    testing::internal::CaptureStdout();
    mesh.kickIn(fastInsideMeta);
    testing::internal::GetCapturedStdout();
    std::vector<vector3> linear(mesh.vertices, mesh.vertices + mesh.numVertices);
    uint32_t built = mesh.numVertices;
    for (uint32_t i = 0; i < built; i += 7) {
        vector3 p = v3(mesh.vertices[i].x + 0.07, mesh.vertices[i].y, mesh.vertices[i].z - 0.07);
        vector3 q = p;
        ASSERT_EQ(mesh.addVertex(&p), linearAddVertex(linear, q)) << i;
    }
    EXPECT_EQ(mesh.numVertices, linear.size());
}

} // namespace
