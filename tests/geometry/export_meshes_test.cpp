// isoloop-tool export-meshes, run as a process: one file per solid, every
// position and normal round-trips bit for bit, triangles in stored order,
// and a standard reader (assimp) accepts both formats. Bad arguments fail.
#include "app/solids.h"
#include "golden.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* kNames[8] = {"mb",      "stoned_forest", "stoned_mountain", "julia",
                         "pillars", "pyramid",       "lost_forest",     "lost_jaw"};
metaBuilder* const kMeshes[8] = {&mb,      &stoned_forest, &stoned_mountain, &julia,
                                 &pillars, &pyramid,       &lost_forest,     &lost_jaw};

// Runs a shell command; returns its exit status and captures stderr.
int run(const std::string& cmd, std::string* err = nullptr) {
    // One file per test process: ctest runs cases in parallel.
    std::string errFile = std::string(ISOLOOP_BINARY_DIR) + "/export_meshes_test." +
                          std::to_string(getpid()) + ".err";
    int status = std::system((cmd + " >/dev/null 2>" + errFile).c_str());
    if (err) *err = readFile(errFile);
    std::remove(errFile.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string tool() {
    return std::string(ISOLOOP_BINARY_DIR) + "/isoloop-tool export-meshes ";
}

std::string freshDir(const char* name) {
    std::string dir = std::string(ISOLOOP_BINARY_DIR) + "/export_meshes_test_" + name;
    std::system(("rm -rf " + dir).c_str());
    return dir;
}

void buildInProcess() {
    testing::internal::CaptureStdout();
    buildSolidMeshes();
    testing::internal::GetCapturedStdout();
}

bool sameDouble(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(ExportMeshes, ObjHoldsTheScaledMeshesExactly) {
    std::string dir = freshDir("obj");
    ASSERT_EQ(run(tool() + dir), 0);
    buildInProcess();
    for (int s = 0; s < 8; s++) {
        const object13& m = *kMeshes[s];
        std::istringstream in(readFile(dir + "/" + kNames[s] + ".obj"));
        std::string line;
        uint32_t v = 0, vn = 0, f = 0;
        while (std::getline(in, line)) {
            double a, b, c;
            if (line.rfind("v ", 0) == 0) {
                ASSERT_EQ(sscanf(line.c_str(), "v %lf %lf %lf", &a, &b, &c), 3) << line;
                ASSERT_LT(v, m.numVertices);
                ASSERT_TRUE(sameDouble(a, m.vertices[v].x) && sameDouble(b, m.vertices[v].y) &&
                            sameDouble(c, m.vertices[v].z))
                    << kNames[s] << " v " << v;
                v++;
            } else if (line.rfind("vn ", 0) == 0) {
                ASSERT_EQ(sscanf(line.c_str(), "vn %lf %lf %lf", &a, &b, &c), 3) << line;
                ASSERT_LT(vn, m.numVertices);
                ASSERT_TRUE(sameDouble(a, m.normals[vn].x) && sameDouble(b, m.normals[vn].y) &&
                            sameDouble(c, m.normals[vn].z));
                vn++;
            } else if (line.rfind("f ", 0) == 0) {
                int i[6];
                ASSERT_EQ(sscanf(line.c_str(), "f %d//%d %d//%d %d//%d", &i[0], &i[1], &i[2], &i[3],
                                 &i[4], &i[5]),
                          6)
                    << line;
                ASSERT_LT(f, m.numTriangles);
                for (int k = 0; k < 3; k++) {
                    EXPECT_EQ(i[2 * k], m.triangles[f].v[k] + 1); // OBJ counts from 1
                    EXPECT_EQ(i[2 * k + 1], i[2 * k]);
                }
                f++;
            } else {
                ASSERT_TRUE(line.empty() || line[0] == '#' || line.rfind("o ", 0) == 0) << line;
            }
        }
        EXPECT_EQ(v, m.numVertices) << kNames[s];
        EXPECT_EQ(vn, m.numVertices) << kNames[s];
        EXPECT_EQ(f, m.numTriangles) << kNames[s];
    }
}

TEST(ExportMeshes, PlyHeaderCountsAndBodyMatch) {
    std::string dir = freshDir("ply");
    ASSERT_EQ(run(tool() + dir + " --format ply"), 0);
    buildInProcess();
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
            ASSERT_TRUE(sameDouble(p[0], m.vertices[v].x) && sameDouble(p[4], m.normals[v].y));
        }
        for (uint32_t f = 0; f < m.numTriangles; f++) {
            int n, a, b, c;
            ASSERT_TRUE(std::getline(in, line));
            ASSERT_EQ(sscanf(line.c_str(), "%d %d %d %d", &n, &a, &b, &c), 4);
            EXPECT_EQ(n, 3);
            EXPECT_EQ(a, m.triangles[f].v[0]);
            EXPECT_EQ(c, m.triangles[f].v[2]);
        }
        EXPECT_FALSE(std::getline(in, line) && !line.empty()) << "trailing data";
    }
}

TEST(ExportMeshes, AssimpReadsBothFormats) {
    if (std::system("command -v assimp >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "assimp (assimp-utils) not installed";
    std::string dir = freshDir("assimp");
    ASSERT_EQ(run(tool() + dir), 0);
    ASSERT_EQ(run(tool() + dir + " --format ply"), 0);
    buildInProcess();
    for (int s = 0; s < 8; s++)
        for (const char* ext : {".obj", ".ply"}) {
            std::string out = dir + "/" + kNames[s] + ext + ".info";
            ASSERT_EQ(
                std::system(
                    ("assimp info " + dir + "/" + kNames[s] + ext + " > " + out + " 2>&1").c_str()),
                0)
                << kNames[s] << ext;
            std::string info = readFile(out);
            EXPECT_NE(info.find("Faces:              " + std::to_string(kMeshes[s]->numTriangles)),
                      std::string::npos)
                << info;
            EXPECT_NE(info.find("Primitive Types:    triangles"), std::string::npos);
        }
}

TEST(ExportMeshes, BadArgumentsExitTwoWithAMessage) {
    std::string err;
    EXPECT_EQ(run(tool(), &err), 2);
    EXPECT_NE(err.find("missing output directory"), std::string::npos) << err;
    EXPECT_EQ(run(tool() + "x --format stl", &err), 2);
    EXPECT_NE(err.find("stl"), std::string::npos) << err;
    EXPECT_EQ(run(tool() + "x --format", &err), 2);
    EXPECT_EQ(run(tool() + "x y", &err), 2);
    EXPECT_EQ(run(tool() + "--bogus x", &err), 2);
    EXPECT_NE(err.find("--bogus"), std::string::npos) << err;
}

TEST(ExportMeshes, UnwritableTargetFailsNamingTheFile) {
    std::string file = std::string(ISOLOOP_BINARY_DIR) + "/export_meshes_test_plainfile";
    FILE* f = fopen(file.c_str(), "w");
    ASSERT_TRUE(f);
    fclose(f);
    std::string err;
    EXPECT_EQ(run(tool() + file, &err), 1);
    EXPECT_NE(err.find(file), std::string::npos) << err;
    // A directory whose solid file name is taken by a directory: the write of
    // that one fails, the message names it, and no temporary file is left.
    std::string dir = freshDir("blocked");
    ASSERT_EQ(std::system(("mkdir -p " + dir + "/julia.obj").c_str()), 0);
    EXPECT_EQ(run(tool() + dir, &err), 1);
    EXPECT_NE(err.find("julia.obj"), std::string::npos) << err;
    EXPECT_NE(std::system(("test -e " + dir + "/julia.obj.tmp").c_str()), 0);
}

} // namespace
