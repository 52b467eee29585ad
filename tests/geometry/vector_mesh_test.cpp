// vector3 operations and the object13 mesh: merging at the 0.1 threshold,
// face and vertex normals, scaling, zero-length vectors and the capacity.
#include "geometry/object13.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <string>

namespace {

vector3 v3(double x, double y, double z) {
    vector3 v;
    v.set(x, y, z);
    return v;
}

bool finite(const vector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

TEST(Vector3, CrossIsTheNormalOfTheTriangleWinding) {
    vector3 a = v3(1, 0, 0), b = v3(0, 1, 0), c = v3(0, 0, 1), n;
    n.cross(&a, &b, &c);
    EXPECT_EQ(n.x, 1.0);
    EXPECT_EQ(n.y, 1.0);
    EXPECT_EQ(n.z, 1.0);
    // (b - a) x (c - b), not (b - a) x (c - a): differs for this triangle.
    vector3 p = v3(0, 0, 0), q = v3(2, 0, 0), r = v3(2, 3, 0);
    n.cross(&p, &q, &r);
    EXPECT_EQ(n.z, 6.0);
    n.cross(&p, &r, &q);
    EXPECT_EQ(n.z, -6.0);
}

TEST(Vector3, UnitAndLengthMultiplyByTheReciprocal) {
    vector3 v = v3(3, 0, 4);
    v.unit();
    EXPECT_EQ(v.x, 3 * (1.0 / 5.0));
    EXPECT_EQ(v.z, 4 * (1.0 / 5.0));
    vector3 w = v3(1, 1, 1);
    w.length(0.5);
    double s = 0.5 / std::sqrt(3.0);
    EXPECT_EQ(w.x, s);
    EXPECT_EQ(w.y, s);
    EXPECT_EQ(w.z, s);
    vector3 u = v3(1, 2, 3);
    vector3 d = v3(0.5, -1, 2);
    u.add(&d);
    EXPECT_EQ(u.x, 1.5);
    EXPECT_EQ(u.y, 1.0);
    EXPECT_EQ(u.z, 5.0);
}

TEST(Vector3, ZeroLengthStaysZeroInsteadOfNaN) {
    vector3 v = v3(0, 0, 0);
    v.unit();
    EXPECT_TRUE(finite(v));
    EXPECT_EQ(v.x, 0.0);
    v.length(0.5);
    EXPECT_EQ(v.x, 0.0);
    EXPECT_EQ(v.y, 0.0);
    EXPECT_EQ(v.z, 0.0);
    // Squares that underflow to zero count as zero length too.
    vector3 tiny = v3(1e-200, 0, 0);
    tiny.unit();
    EXPECT_TRUE(finite(tiny));
    // The smallest lengths that do not underflow still come out unit length.
    vector3 small = v3(1e-150, 0, 0);
    small.unit();
    EXPECT_DOUBLE_EQ(small.x, 1.0);
}

class Mesh : public ::testing::Test {
  protected:
    object13 m;
};

TEST_F(Mesh, SamePointTwiceGivesOneVertex) {
    vector3 p = v3(1, 2, 3);
    EXPECT_EQ(m.addVertex(&p), 0);
    EXPECT_EQ(m.addVertex(&p), 0);
    EXPECT_EQ(m.numVertices, 1u);
}

TEST_F(Mesh, MergeThresholdIsStrictlyBelowSquaredDistanceOneHundredth) {
    vector3 origin = v3(0, 0, 0);
    m.addVertex(&origin);
    // 0.06^2 + 0.08^2 is exactly 0.01 in double: distance 0.1, a new vertex.
    vector3 exact = v3(0.06, 0.08, 0);
    EXPECT_EQ(m.addVertex(&exact), 1);
    // One ulp nearer: merged into the first vertex.
    vector3 below = v3(0.06, std::nextafter(0.08, 0.0), 0);
    EXPECT_EQ(m.addVertex(&below), 0);
    // The double 0.1 squares to 0.010000000000000002: a new vertex.
    vector3 tenth = v3(0, 0, -0.1);
    EXPECT_EQ(m.addVertex(&tenth), 2);
    // 0.3 - 0.2 is 0.09999999999999998: merged, although written as 0.1 apart.
    vector3 a = v3(0.2, 5, 5), b = v3(0.3, 5, 5);
    int ia = m.addVertex(&a);
    EXPECT_EQ(m.addVertex(&b), ia);
    EXPECT_EQ(m.numVertices, 4u);
}

TEST_F(Mesh, LowestIndexWinsAmongSeveralNearVertices) {
    vector3 a = v3(0, 0, 0), b = v3(0.15, 0, 0), c = v3(0.075, 0, 0.01);
    EXPECT_EQ(m.addVertex(&a), 0);
    EXPECT_EQ(m.addVertex(&b), 1);
    EXPECT_EQ(m.addVertex(&c), 0); // within 0.1 of both
    // Nearer to 1 but still within reach of 0: 0 wins.
    vector3 d = v3(0.09, 0, 0);
    EXPECT_EQ(m.addVertex(&d), 0);
}

TEST_F(Mesh, ResetStartsAgainAtIndexZeroWithTheSameArrays) {
    vector3 a = v3(1, 1, 1), b = v3(2, 2, 2);
    m.addVertex(&a);
    m.addVertex(&b);
    m.addTriangle(0, 1, 0);
    vector3* arrays[3] = {m.vertices, m.normals, m.faceNormals};
    triangle13* tris = m.triangles;
    m.reset();
    EXPECT_EQ(m.numVertices, 0u);
    EXPECT_EQ(m.numTriangles, 0u);
    EXPECT_EQ(m.addVertex(&b), 0); // the old vertex 1 is gone from the index
    EXPECT_EQ(m.addVertex(&a), 1);
    EXPECT_EQ(arrays[0], m.vertices);
    EXPECT_EQ(arrays[1], m.normals);
    EXPECT_EQ(arrays[2], m.faceNormals);
    EXPECT_EQ(tris, m.triangles);
}

TEST_F(Mesh, VertexNormalsAreHalfLengthSumsOfUnitFaceNormals) {
    // Two triangles in the plane z = 0, both counter-clockwise from +z.
    vector3 p[4] = {v3(0, 0, 0), v3(4, 0, 0), v3(4, 3, 0), v3(0, 3, 0)};
    for (vector3& q : p)
        m.addVertex(&q);
    m.addTriangle(0, 1, 2);
    m.addTriangle(2, 3, 0);
    m.prepare();
    EXPECT_EQ(m.faceNormals[0].z, 1.0);
    EXPECT_EQ(m.faceNormals[1].z, 1.0);
    for (int v = 0; v < 4; v++) {
        EXPECT_EQ(m.normals[v].x, 0.0);
        EXPECT_EQ(m.normals[v].z, 0.5) << v;
    }
    // Triangle entries keep the order given.
    EXPECT_EQ(m.triangles[1].v[0], 2);
    EXPECT_EQ(m.triangles[1].v[1], 3);
    EXPECT_EQ(m.triangles[1].v[2], 0);
}

TEST_F(Mesh, VertexNormalIsUnweightedSumNotAreaWeighted) {
    // A big triangle facing +z and a tiny one facing +x share vertex 0.
    vector3 p[5] = {v3(0, 0, 0), v3(10, 0, 0), v3(0, 10, 0), v3(0, 0.2, 0), v3(0, 0, 0.2)};
    for (vector3& q : p)
        m.addVertex(&q);
    m.addTriangle(0, 1, 2);
    m.addTriangle(0, 3, 4);
    m.prepare();
    double s = 0.5 / std::sqrt(2.0);
    EXPECT_EQ(m.normals[0].x, s);
    EXPECT_EQ(m.normals[0].z, s);
}

TEST_F(Mesh, DegenerateTrianglesAndCancellingNormalsLeaveNoNaN) {
    vector3 p[3] = {v3(0, 0, 0), v3(1, 0, 0), v3(2, 0, 0)};
    for (vector3& q : p)
        m.addVertex(&q);
    m.addTriangle(0, 1, 2); // collinear: zero face normal
    m.addTriangle(0, 0, 1); // repeated vertex
    // A triangle and its reverse: the shared vertices' normals cancel.
    vector3 r[3] = {v3(5, 5, 5), v3(6, 5, 5), v3(5, 6, 5)};
    int a = m.addVertex(&r[0]), b = m.addVertex(&r[1]), c = m.addVertex(&r[2]);
    m.addTriangle(a, b, c);
    m.addTriangle(a, c, b);
    m.prepare();
    for (uint32_t i = 0; i < m.numTriangles; i++)
        EXPECT_TRUE(finite(m.faceNormals[i])) << i;
    for (uint32_t i = 0; i < m.numVertices; i++) {
        EXPECT_TRUE(finite(m.normals[i])) << i;
    }
    EXPECT_EQ(m.normals[a].z, 0.0);
    EXPECT_EQ(m.faceNormals[0].x, 0.0);
}

TEST_F(Mesh, ResizeScalesPositionsOnlyAndKeepsMergingCorrect) {
    vector3 p[3] = {v3(1, 2, 3), v3(2, 2, 3), v3(1, 3, 3)};
    for (vector3& q : p)
        m.addVertex(&q);
    m.addTriangle(0, 1, 2);
    m.prepare();
    vector3 face = m.faceNormals[0], normal = m.normals[1];
    m.resize(2, 1, 2);
    EXPECT_EQ(m.vertices[0].x, 2.0);
    EXPECT_EQ(m.vertices[0].y, 2.0);
    EXPECT_EQ(m.vertices[0].z, 6.0);
    EXPECT_EQ(0, std::memcmp(&face, &m.faceNormals[0], sizeof face));
    EXPECT_EQ(0, std::memcmp(&normal, &m.normals[1], sizeof normal));
    // The merge finds vertices at their scaled positions, not the old ones.
    vector3 old = v3(1, 2, 3), moved = v3(2, 2, 6);
    EXPECT_EQ(m.addVertex(&moved), 0);
    EXPECT_EQ(m.addVertex(&old), 3);
}

TEST_F(Mesh, FullMeshRefusesWithOneWarning) {
    testing::internal::CaptureStderr();
    for (unsigned i = 0; i < object13::kCapacity; i++) {
        vector3 p = v3(i % 128, (i / 128) % 128, 0);
        ASSERT_EQ(m.addVertex(&p), int(i));
    }
    vector3 extra = v3(-1, -1, -1), known = v3(5, 5, 0);
    EXPECT_EQ(m.addVertex(&extra), -1);
    EXPECT_EQ(m.addVertex(&extra), -1);
    EXPECT_EQ(m.addVertex(&known), 5 * 128 + 5); // finding still works
    EXPECT_EQ(m.numVertices, object13::kCapacity);
    for (unsigned i = 0; i < object13::kCapacity + 10; i++)
        m.addTriangle(0, 1, 128);
    m.addTriangle(-1, 0, 1);
    EXPECT_EQ(m.numTriangles, object13::kCapacity);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("mesh full"), std::string::npos);
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err; // exactly one line
    EXPECT_TRUE(m.overflowed());
    m.reset();
    EXPECT_FALSE(m.overflowed());
}

TEST_F(Mesh, TrianglesWithIndicesOutsideTheMeshAreRefused) {
    vector3 a = v3(0, 0, 0);
    m.addVertex(&a);
    testing::internal::CaptureStderr();
    m.addTriangle(0, 0, 1);
    m.addTriangle(0, -1, 0);
    m.addTriangle(0, 0, 0);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(m.numTriangles, 1u);
    EXPECT_FALSE(err.empty());
}

} // namespace
