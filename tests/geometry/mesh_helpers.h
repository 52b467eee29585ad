// Small helpers shared by the geometry tests: building a point, comparing
// vectors bit for bit, a build with its console line captured, and the
// closedness measures of a mesh.
#pragma once
#include "geometry/meta_builder.h"

#include <gtest/gtest.h>
#include <cstring>
#include <map>
#include <string>
#include <utility>

inline vector3 v3(double x, double y, double z) {
    vector3 v;
    v.set(x, y, z);
    return v;
}

inline bool sameBits(const vector3& a, const vector3& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Builds m from f; returns what the build printed.
inline std::string build(metaBuilder& m, shapeFunction f) {
    testing::internal::CaptureStdout();
    m.kickIn(f);
    return testing::internal::GetCapturedStdout();
}

// Signed volume of a closed mesh: positive when its triangles face outward.
inline double signedVolume(const object13& m) {
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

// Every directed edge used as often as its reverse, and exactly once when
// `once` (a closed 2-manifold).
inline void expectClosed(const object13& m, bool once = true) {
    std::map<std::pair<int, int>, int> uses;
    for (uint32_t i = 0; i < m.numTriangles; i++)
        for (int k = 0; k < 3; k++)
            uses[{m.triangles[i].v[k], m.triangles[i].v[(k + 1) % 3]}]++;
    for (const auto& u : uses) {
        auto back = uses.find({u.first.second, u.first.first});
        ASSERT_TRUE(back != uses.end() && back->second == u.second && (!once || u.second == 1))
            << u.first.first << "->" << u.first.second << " used " << u.second;
    }
}
