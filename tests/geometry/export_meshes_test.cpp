// isoloop-tool export-meshes, run as a process: one file per solid, every
// position and normal round-trips bit for bit, triangles in stored order,
// and a standard reader (assimp) accepts both formats. Bad arguments fail.
#include "app/solids.h"
#include "golden.h"
#include "mesh_helpers.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

const char* kNames[8] = {"mb",      "stoned_forest", "stoned_mountain", "julia",
                         "pillars", "pyramid",       "lost_forest",     "lost_jaw"};
metaBuilder* const kMeshes[8] = {&mb,      &stoned_forest, &stoned_mountain, &julia,
                                 &pillars, &pyramid,       &lost_forest,     &lost_jaw};
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

// A standard reader takes the file as triangles, counting them all; skipped
// where assimp (assimp-utils) is not installed.
void expectAssimpReads(const std::string& file, uint32_t triangles) {
    if (runCommand("command -v assimp >/dev/null 2>&1") != 0) return;
    ASSERT_EQ(runCommand("assimp info " + file + " > " + file + ".info 2>&1"), 0) << file;
    std::string info = readFile(file + ".info");
    EXPECT_NE(info.find("Faces:              " + std::to_string(triangles)), std::string::npos)
        << info;
    EXPECT_NE(info.find("Primitive Types:    triangles"), std::string::npos) << info;
}

// Exports into a fresh directory and builds the same meshes in process.
std::string exportAndBuild(const char* name, const std::string& format) {
    std::string dir = kDir + name;
    runCommand("rm -rf " + dir);
    EXPECT_EQ(exportMeshes(dir + format), 0);
    testing::internal::CaptureStdout();
    buildSolidMeshes();
    testing::internal::GetCapturedStdout();
    return dir;
}

TEST(ExportMeshes, ObjHoldsTheScaledMeshesExactly) {
    std::string dir = exportAndBuild("obj", "");
    for (int s = 0; s < 8; s++) {
        const object13& m = *kMeshes[s];
        std::istringstream in(readFile(dir + "/" + kNames[s] + ".obj"));
        std::string line;
        uint32_t v = 0, vn = 0, f = 0;
        while (std::getline(in, line)) {
            double a, b, c;
            int i[6];
            if (sscanf(line.c_str(), "v %lf %lf %lf", &a, &b, &c) == 3) {
                ASSERT_TRUE(v < m.numVertices && sameBits(v3(a, b, c), m.vertices[v]))
                    << kNames[s] << " v " << v;
                v++;
            } else if (sscanf(line.c_str(), "vn %lf %lf %lf", &a, &b, &c) == 3) {
                ASSERT_TRUE(vn < m.numVertices && sameBits(v3(a, b, c), m.normals[vn]))
                    << kNames[s] << " vn " << vn;
                vn++;
            } else if (sscanf(line.c_str(), "f %d//%d %d//%d %d//%d", &i[0], &i[1], &i[2], &i[3],
                              &i[4], &i[5]) == 6) {
                ASSERT_LT(f, m.numTriangles);
                for (int k = 0; k < 3; k++) // OBJ counts from 1
                    ASSERT_TRUE(i[2 * k] == m.triangles[f].v[k] + 1 && i[2 * k + 1] == i[2 * k])
                        << line;
                f++;
            } else {
                ASSERT_TRUE(line.empty() || line[0] == '#' || line.rfind("o ", 0) == 0) << line;
            }
        }
        EXPECT_EQ(v, m.numVertices) << kNames[s];
        EXPECT_EQ(vn, m.numVertices) << kNames[s];
        EXPECT_EQ(f, m.numTriangles) << kNames[s];
        expectAssimpReads(dir + "/" + kNames[s] + ".obj", m.numTriangles);
    }
}

TEST(ExportMeshes, PlyHeaderCountsAndBodyMatch) {
    std::string dir = exportAndBuild("ply", " --format ply");
    for (int s = 0; s < 8; s++) {
        const object13& m = *kMeshes[s];
        std::istringstream in(readFile(dir + "/" + kNames[s] + ".ply"));
        std::string line, header;
        while (std::getline(in, line) && line != "end_header")
            header += line + "\n";
        EXPECT_EQ(header.rfind("ply\nformat ascii 1.0\n", 0), 0u);
        EXPECT_NE(header.find("element vertex " + std::to_string(m.numVertices) + "\n"),
                  std::string::npos);
        EXPECT_NE(header.find("element face " + std::to_string(m.numTriangles) + "\n"),
                  std::string::npos);
        for (uint32_t v = 0; v < m.numVertices; v++) {
            double p[6];
            ASSERT_TRUE(std::getline(in, line));
            ASSERT_EQ(sscanf(line.c_str(), "%lf %lf %lf %lf %lf %lf", &p[0], &p[1], &p[2], &p[3],
                             &p[4], &p[5]),
                      6);
            ASSERT_TRUE(sameBits(v3(p[0], p[1], p[2]), m.vertices[v]) &&
                        sameBits(v3(p[3], p[4], p[5]), m.normals[v]))
                << kNames[s] << " " << v;
        }
        for (uint32_t f = 0; f < m.numTriangles; f++) {
            int n, a, b, c;
            ASSERT_TRUE(std::getline(in, line));
            ASSERT_EQ(sscanf(line.c_str(), "%d %d %d %d", &n, &a, &b, &c), 4);
            const uint16_t* t = m.triangles[f].v;
            ASSERT_TRUE(n == 3 && a == t[0] && b == t[1] && c == t[2]) << line;
        }
        EXPECT_FALSE(std::getline(in, line) && !line.empty()) << "trailing data";
        expectAssimpReads(dir + "/" + kNames[s] + ".ply", m.numTriangles);
    }
}

TEST(ExportMeshes, BadArgumentsExitTwoWithAMessage) {
    const struct {
        const char* args;
        const char* named;
    } cases[] = {
        {"", "missing output directory"},
        {"x --format stl", "stl"},
        {"x --format", ""},
        {"x y", ""},
        {"--bogus x", "--bogus"},
    };
    for (const auto& c : cases) {
        std::string err;
        EXPECT_EQ(exportMeshes(c.args, &err), 2) << c.args;
        EXPECT_NE(err.find(c.named), std::string::npos) << c.args << ": " << err;
    }
}

// A plain file as the directory, or a solid's file name taken by a
// directory: status 1, the message names the file, no temporary is left.
TEST(ExportMeshes, UnwritableTargetFailsNamingTheFile) {
    std::string file = kDir + "plainfile", dir = kDir + "blocked", err;
    ASSERT_TRUE(writeWhole(file, ""));
    EXPECT_EQ(exportMeshes(file, &err), 1);
    EXPECT_NE(err.find(file), std::string::npos) << err;
    ASSERT_EQ(runCommand("rm -rf " + dir + " && mkdir -p " + dir + "/julia.obj"), 0);
    EXPECT_EQ(exportMeshes(dir, &err), 1);
    EXPECT_NE(err.find("julia.obj"), std::string::npos) << err;
    EXPECT_NE(runCommand("test -e " + dir + "/julia.obj.tmp"), 0);
}

} // namespace
