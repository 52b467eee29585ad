// The eight solids as start-up builds them: counts and console lines, and a
// hash of each one's scaled vertices and triangles.
#include "geometry/solids.h"
#include "golden.h"

#include <gtest/gtest.h>
#include <cinttypes>
#include <cstdio>
#include <string>

namespace {

TEST(Solids, CountsConsoleLinesAndMeshHashes) {
    const struct {
        const char* name;
        metaBuilder* mesh;
        uint32_t triangles, vertices;
        uint64_t hash;
    } solids[8] = {
        {"mb", &mb, 2096, 1054, 0x813be86b95be92ebull},
        {"stoned_forest", &stoned_forest, 6470, 3300, 0x9195666cda47873full},
        {"stoned_mountain", &stoned_mountain, 9790, 5028, 0x062bbc21b53b276aull},
        {"julia", &julia, 4776, 2382, 0x560d85b599cb96caull},
        {"pillars", &pillars, 10714, 5608, 0x94fe38bf3fad16bcull},
        {"pyramid", &pyramid, 5144, 2578, 0xa6284450699aacf3ull},
        {"lost_forest", &lost_forest, 6064, 3159, 0x27d8c9d11be4b998ull},
        {"lost_jaw", &lost_jaw, 6616, 3326, 0x77d933e3ea8e9848ull},
    };
    testing::internal::CaptureStdout();
    buildSolidMeshes();
    std::string out = testing::internal::GetCapturedStdout(), expected;
    for (const auto& s : solids) {
        const metaBuilder& m = *s.mesh;
        EXPECT_EQ(m.numTriangles, s.triangles) << s.name;
        EXPECT_EQ(m.numVertices, s.vertices) << s.name;
        expected += "\nrekenen..[tris" + std::to_string(s.triangles) + " verts" +
                    std::to_string(s.vertices) + "]\n";
        uint64_t h = fnv1a(m.triangles, m.numTriangles * sizeof m.triangles[0],
                           fnv1a(m.vertices, m.numVertices * sizeof m.vertices[0]));
        if (savingGoldens())
            printf("%s 0x%016" PRIx64 "ull\n", s.name, h);
        else
            EXPECT_EQ(h, s.hash) << s.name;
    }
    EXPECT_EQ(out, expected);
    if (savingGoldens())
        GTEST_SKIP() << "ISOLOOP_SAVE_GOLDEN is set: mesh hashes printed, not compared";
}

} // namespace
