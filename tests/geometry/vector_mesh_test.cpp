// vector3 operations and the object13 mesh: merging at the 0.1 threshold,
// face and vertex normals, scaling, zero-length vectors and the capacity.
#include "mesh_helpers.h"

#include <gtest/gtest.h>
#include <cmath>
#include <string>

namespace {

// Cross is (b - a) x (c - b), not (b - a) x (c - a): they differ here. unit
// and length multiply by a reciprocal: bit-exact results. A vector of zero
// length (also when its squares underflow) stays as it is, not NaN; the smallest lengths that
// do not underflow still come out unit length.
TEST(Vector3, CrossUnitLengthAndZero) {
    vector3 p = v3(0, 0, 0), q = v3(2, 0, 0), r = v3(2, 3, 0), n;
    n.cross(&p, &q, &r);
    EXPECT_TRUE(sameBits(n, v3(0, 0, 6)));
    vector3 v = v3(3, 0, 4), w = v3(1, 1, 1), zero = v3(0, 0, 0);
    v.unit();
    EXPECT_TRUE(sameBits(v, v3(3 * (1.0 / 5.0), 0, 4 * (1.0 / 5.0))));
    w.length(0.5);
    double s = 0.5 / std::sqrt(3.0);
    EXPECT_TRUE(sameBits(w, v3(s, s, s)));
    vector3 z = zero, tiny = v3(1e-200, 0, 0), small = v3(1e-150, 0, 0);
    z.unit();
    EXPECT_TRUE(sameBits(z, zero));
    z.length(0.5);
    EXPECT_TRUE(sameBits(z, zero));
    tiny.unit(); // unchanged
    EXPECT_TRUE(sameBits(tiny, v3(1e-200, 0, 0)));
    small.unit();
    EXPECT_DOUBLE_EQ(small.x, 1.0);
}

TEST(Mesh, MergeIsStrictlyBelowSquaredDistanceAHundredthAndLowestIndexWins) {
    static object13 m;
    const struct {
        vector3 p;
        int index;
    } steps[] = {
        {v3(0, 0, 0), 0},
        {v3(0, 0, 0), 0},
        {v3(0.06, 0.08, 0), 1}, // 0.06^2 + 0.08^2 is exactly 0.01: distance 0.1, kept
        {v3(0.06, std::nextafter(0.08, 0.0), 0), 0}, // one ulp nearer: merged
        {v3(0, 0, -0.1), 2}, // the double 0.1 squares to 0.010000000000000002
        {v3(0.2, 5, 5), 3},
        {v3(0.3, 5, 5), 3}, // 0.3 - 0.2 is 0.09999999999999998: merged
        {v3(0.15, 0, 0), 4},
        {v3(0.075, 0, 0.01), 0}, // within 0.1 of vertices 0 and 4
        {v3(0.09, 0, 0), 0},     // nearer to 4, but 0 comes first
    };
    for (const auto& s : steps) {
        vector3 p = s.p;
        EXPECT_EQ(m.addVertex(&p), s.index) << p.x << " " << p.y << " " << p.z;
    }
    EXPECT_EQ(m.numVertices, 5u);
    m.reset(); // the old vertices are gone from the index
    vector3 p = v3(0.2, 5, 5);
    EXPECT_EQ(m.addVertex(&p), 0);
    EXPECT_EQ(m.numVertices, 1u);
}

// Vertex normals: the unweighted sum of the unit face normals (a tiny face
// counts as much as a big one), rescaled to 0.5; triangles keep their order.
TEST(Mesh, VertexNormalsAreHalfLengthSumsOfUnitFaceNormals) {
    static object13 m;
    vector3 p[5] = {v3(0, 0, 0), v3(10, 0, 0), v3(0, 10, 0), v3(0, 0.2, 0), v3(0, 0, 0.2)};
    for (vector3& q : p)
        m.addVertex(&q);
    m.addTriangle(0, 1, 2); // facing +z
    m.addTriangle(0, 3, 4); // facing +x
    m.prepare();
    EXPECT_EQ(m.faceNormals[0].z, 1.0);
    EXPECT_EQ(m.normals[1].z, 0.5);
    double s = 0.5 / std::sqrt(2.0);
    EXPECT_EQ(m.normals[0].x, s);
    EXPECT_EQ(m.normals[0].y, 0.0);
    EXPECT_EQ(m.normals[0].z, s);
    EXPECT_EQ(m.triangles[1].v[1], 3);
    EXPECT_EQ(m.triangles[1].v[2], 4);
}

// resize moves positions only, and the merge then finds vertices where they
// now are, not where they were.
TEST(Mesh, ResizeScalesPositionsOnlyAndKeepsMergingCorrect) {
    static object13 m;
    vector3 p[3] = {v3(1, 2, 3), v3(2, 2, 3), v3(1, 3, 3)};
    for (vector3& q : p)
        m.addVertex(&q);
    m.addTriangle(0, 1, 2);
    m.prepare();
    vector3 face = m.faceNormals[0], normal = m.normals[1];
    m.resize(2, 1, 2);
    EXPECT_TRUE(sameBits(m.vertices[0], v3(2, 2, 6)));
    EXPECT_TRUE(sameBits(face, m.faceNormals[0]));
    EXPECT_TRUE(sameBits(normal, m.normals[1]));
    vector3 old = v3(1, 2, 3), moved = v3(2, 2, 6);
    EXPECT_EQ(m.addVertex(&moved), 0);
    EXPECT_EQ(m.addVertex(&old), 3);
}

// A full mesh refuses new vertices (-1) but still finds known ones; triangles
// past the capacity or with indices outside the mesh are refused; one
// warning line per build.
TEST(Mesh, FullMeshAndBadIndicesAreRefusedWithOneWarning) {
    static object13 m;
    testing::internal::CaptureStderr();
    for (unsigned i = 0; i < object13::kCapacity; i++) {
        vector3 p = v3(i % 128, (i / 128) % 128, 0);
        ASSERT_EQ(m.addVertex(&p), int(i));
    }
    vector3 extra = v3(-1, -1, -1), known = v3(5, 5, 0);
    EXPECT_EQ(m.addVertex(&extra), -1);
    EXPECT_EQ(m.addVertex(&extra), -1);
    EXPECT_EQ(m.addVertex(&known), 5 * 128 + 5);
    m.addTriangle(0, 1, int(object13::kCapacity));
    m.addTriangle(0, -1, 1);
    EXPECT_EQ(m.numTriangles, 0u);
    for (unsigned i = 0; i < object13::kCapacity + 10; i++)
        m.addTriangle(0, 1, 128);
    EXPECT_EQ(m.numTriangles, object13::kCapacity);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("mesh full"), std::string::npos);
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    EXPECT_TRUE(m.overflowed());
    m.reset();
    EXPECT_FALSE(m.overflowed());
}

} // namespace
