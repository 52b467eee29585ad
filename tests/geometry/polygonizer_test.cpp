// kickIn end to end: a single-point body (sampling, edge search, merging,
// winding), the capacity and zero-length vectors.
#include "mesh_helpers.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <map>

namespace {

long g_calls; // shape calls since the last reset

int onlyOrigin(double x, double y, double z) {
    g_calls++;
    return x == 0 && y == 0 && z == 0;
}

// Positive half-axes at 1/8 (the first probe differs), negative ones at 6/8
// of the edge from the outside corner -1. Each crossed edge is searched once:
// 32768 samples, then three edges stop at their first probe and three run
// all six. Every directed edge used once and its reverse once (closed), and
// every face normal points away from the origin (outward).
TEST(Polygonizer, SinglePointBodyIsClosedAndOutward) {
    static metaBuilder m;
    EXPECT_EQ(build(m, onlyOrigin), "\nrekenen..[tris8 verts6]\n");
    EXPECT_EQ(g_calls, 32768 + 3 * 1 + 3 * 6);
    ASSERT_EQ(m.numVertices, 6u);
    for (const vector3& e : {v3(0.125, 0, 0), v3(0, 0.125, 0), v3(0, 0, 0.125), v3(-0.25, 0, 0),
                             v3(0, -0.25, 0), v3(0, 0, -0.25)})
        EXPECT_EQ(std::count_if(m.vertices, m.vertices + 6,
                                [&](const vector3& v) { return sameBits(v, e); }),
                  1);
    std::map<std::pair<int, int>, int> uses;
    for (uint32_t i = 0; i < m.numTriangles; i++) {
        const uint16_t* t = m.triangles[i].v;
        for (int k = 0; k < 3; k++)
            uses[{t[k], t[(k + 1) % 3]}]++;
        const vector3 &a = m.vertices[t[0]], &n = m.faceNormals[i];
        EXPECT_GT(a.x * n.x + a.y * n.y + a.z * n.z, 0.0) << i;
    }
    for (const auto& u : uses)
        EXPECT_TRUE(u.second == 1 && uses.count({u.first.second, u.first.first}));
    EXPECT_EQ(uses.size(), 24u);
}

int checkerboard(double x, double y, double z) {
    return std::lround(std::floor(x + 0.5) + std::floor(y + 0.5) + std::floor(z + 0.5)) & 1;
}

// A full mesh refuses further triangles with one warning line; indices stay
// in range and the next build starts clean.
TEST(Polygonizer, OverflowStopsAtTheCapacityWithOneWarning) {
    static metaBuilder m;
    testing::internal::CaptureStderr();
    std::string out = build(m, checkerboard), err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(m.numTriangles, object13::kCapacity);
    EXPECT_EQ(out, "\nrekenen..[tris16384 verts" + std::to_string(m.numVertices) + "]\n");
    EXPECT_NE(err.find("mesh full"), std::string::npos);
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    for (uint32_t i = 0; i < m.numTriangles; i++)
        for (int k = 0; k < 3; k++)
            ASSERT_LT(m.triangles[i].v[k], m.numVertices);
    testing::internal::CaptureStderr();
    build(m, onlyOrigin);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(m.overflowed());
}

// A zero-length vector (also when its squares underflow) stays as it is,
// not NaN; so do the normals of a collinear triangle.
TEST(Polygonizer, ZeroLengthVectorsGiveNoNaN) {
    vector3 z = v3(0, 0, 0), tiny = v3(1e-200, 0, 0);
    z.unit();
    EXPECT_TRUE(sameBits(z, v3(0, 0, 0)));
    tiny.unit();
    EXPECT_TRUE(sameBits(tiny, v3(1e-200, 0, 0)));
    static object13 m;
    vector3 p[3] = {v3(1, 2, 3), v3(2, 2, 3), v3(3, 2, 3)};
    for (vector3& q : p)
        m.addVertex(&q);
    m.addTriangle(0, 1, 2);
    m.prepare();
    EXPECT_TRUE(sameBits(m.faceNormals[0], v3(0, 0, 0)));
    EXPECT_TRUE(sameBits(m.normals[1], v3(0, 0, 0)));
}

} // namespace
