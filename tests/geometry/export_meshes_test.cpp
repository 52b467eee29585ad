// isoloop-tool export-meshes, run as a process: one OBJ per solid, every
// position and normal round-trips bit for bit, triangles in stored order.
// Bad arguments fail with status 2.
#include "geometry/solids.h"
#include "files_and_commands.h"
#include "mesh_helpers.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

const std::string kDir = std::string(ISOLOOP_BINARY_DIR) + "/export_meshes_test_";

// Runs export-meshes with the arguments; its exit status, stderr in *err.
int exportMeshes(const std::string& args, std::string* err = nullptr) {
    // One file per test process: ctest runs cases in parallel.
    std::string errFile = kDir + std::to_string(getpid()) + ".err";
    int status = runCommand(std::string(ISOLOOP_BINARY_DIR) + "/isoloop-tool export-meshes " +
                            args + " >/dev/null 2>" + errFile);
    if (err) *err = readFile(errFile);
    std::remove(errFile.c_str());
    return status;
}

// One solid stands for all: the writer has no per-solid branch.
TEST(ExportMeshes, ObjRoundTripsExactly) {
    std::string dir = kDir + "obj";
    runCommand("rm -rf " + dir);
    ASSERT_EQ(exportMeshes(dir), 0);
    EXPECT_EQ(listDirectory(dir).size(), 8u);
    testing::internal::CaptureStdout();
    buildSolidMeshes();
    testing::internal::GetCapturedStdout();
    const object13& m = julia;
    std::istringstream in(readFile(dir + "/julia.obj"));
    std::string line;
    uint32_t v = 0, vn = 0, f = 0;
    while (std::getline(in, line)) {
        double a, b, c;
        int i[6];
        if (sscanf(line.c_str(), "v %lf %lf %lf", &a, &b, &c) == 3)
            ASSERT_TRUE(v < m.numVertices && sameBits(v3(a, b, c), m.vertices[v++])) << line;
        else if (sscanf(line.c_str(), "vn %lf %lf %lf", &a, &b, &c) == 3)
            ASSERT_TRUE(vn < m.numVertices && sameBits(v3(a, b, c), m.normals[vn++])) << line;
        else if (sscanf(line.c_str(), "f %d//%d %d//%d %d//%d", &i[0], &i[1], &i[2], &i[3], &i[4],
                        &i[5]) == 6) {
            ASSERT_LT(f, m.numTriangles);
            for (int k = 0; k < 3; k++) // OBJ counts from 1
                ASSERT_TRUE(i[2 * k] == m.triangles[f].v[k] + 1 && i[2 * k + 1] == i[2 * k])
                    << line;
            f++;
        }
    }
    EXPECT_TRUE(v == m.numVertices && vn == v && f == m.numTriangles) << v << " " << vn << " " << f;
}

TEST(ExportMeshes, BadArgumentsExitTwoWithAMessage) {
    const struct {
        const char* args;
        const char* named;
    } cases[] = {
        {"", "missing output directory"},
        {"x --format stl", "stl"},
        {"--bogus x", "--bogus"},
    };
    for (const auto& c : cases) {
        std::string err;
        EXPECT_EQ(exportMeshes(c.args, &err), 2) << c.args;
        EXPECT_NE(err.find(c.named), std::string::npos) << c.args << ": " << err;
    }
}

} // namespace
