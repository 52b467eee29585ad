// The start-up work on its own thread gives what the main thread would have
// built: the same upload bytes, the same meshes, and the console lines kept
// back (none escape to stdout from the worker), with and without the pack.
#include "../texture/pack_fixture.h"
#include "geometry/solids.h"
#include "app/startup_work.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace {

uint64_t meshHash() {
    uint64_t h = fnv1a(nullptr, 0);
    for (const metaBuilder* m : {&mb, &stoned_forest, &stoned_mountain, &julia, &pillars, &pyramid,
                                 &lost_forest, &lost_jaw}) {
        h = fnv1a(m->vertices, m->numVertices * sizeof m->vertices[0], h);
        h = fnv1a(m->normals, m->numVertices * sizeof m->normals[0], h);
        h = fnv1a(m->triangles, m->numTriangles * sizeof m->triangles[0], h);
        h = fnv1a(m->faceNormals, m->numTriangles * sizeof m->faceNormals[0], h);
    }
    return h;
}

TEST(StartupWork, MatchesTheMainThreadBuildAndKeepsItsLines) {
    TempDir dir;
    installRaw(dir, packBytes(patternPictures()));
    const auto slots = buildSlots();

    testing::internal::CaptureStdout();
    StartupWork work;
    work.start();
    work.finish();
    std::string leaked = testing::internal::GetCapturedStdout();
    EXPECT_EQ(leaked, "");
    EXPECT_EQ(work.textureLines(), "");
    for (int k = 0; k < TEXTURE_SLOTS; k++) {
        const unsigned char* b = work.textureBytes() + textureBytesOffset(k);
        EXPECT_TRUE(std::equal(slots[k].begin(), slots[k].end(), b)) << "slot " << k;
    }
    EXPECT_EQ(textureBytesOffset(TEXTURE_SLOTS), 4u * 1847616);
    uint64_t worker = meshHash();

    testing::internal::CaptureStdout();
    buildSolidMeshes();
    EXPECT_EQ(work.solidLines(), testing::internal::GetCapturedStdout());
    EXPECT_EQ(meshHash(), worker);
    EXPECT_EQ(work.solidLines().rfind("\nrekenen..[tris2096 verts1054]\n", 0), 0u);
}

TEST(StartupWork, MissingPackMessagesAreKeptInOrder) {
    TempDir dir;
    std::strcpy(workingDir, dir.path.c_str());
    testing::internal::CaptureStdout();
    StartupWork work;
    work.start();
    work.finish();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    std::string once = " file " + dir.file("julia.3ds") + " not found!", ten;
    for (int k = 0; k < 10; k++)
        ten += once;
    EXPECT_EQ(work.textureLines(), ten);
}

} // namespace
