// Small helpers shared by the geometry tests: building a point, comparing
// vectors bit for bit and a build with its console line captured.
#pragma once
#include "geometry/meta_builder.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

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
