// isoloop-tool frame, run as a process: PNG size and content of real frames
// rendered without a window, argument checking, and no half-written output.
#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <png.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const std::string kTool = std::string(ISOLOOP_BINARY_DIR) + "/isoloop-tool";

std::string tempPath(const std::string& name) {
    return std::string(ISOLOOP_BINARY_DIR) + "/frame_tool_test_" + std::to_string(getpid()) + "_" +
           name;
}

// Runs the tool with its console quiet; returns the exit status.
int runFrame(const std::string& args) {
    std::string cmd = kTool + " frame " + args + " >/dev/null 2>&1";
    int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Picture {
    unsigned width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

bool readPng(const std::string& path, Picture* p) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    p->width = image.width;
    p->height = image.height;
    p->rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, p->rgb.data(), 0, nullptr) != 0;
}

int brightest(const Picture& p) {
    int m = 0;
    for (unsigned char c : p.rgb)
        m = std::max(m, (int)c);
    return m;
}

TEST(FrameTool, RendersTheChosenSceneAtTheChosenSize) {
    std::string out = tempPath("scene0.png");
    ASSERT_EQ(runFrame("--incs 20 --time 3 --out " + out + " --size 160x120"), 0);
    Picture p;
    ASSERT_TRUE(readPng(out, &p));
    EXPECT_EQ(p.width, 160u);
    EXPECT_EQ(p.height, 120u);
    EXPECT_GT(brightest(p), 100); // pale fog and a white clear, not an empty frame
    std::remove(out.c_str());
}

TEST(FrameTool, DefaultSizeIs640x480) {
    std::string out = tempPath("default.png");
    ASSERT_EQ(runFrame("--incs 40 --time 1.5 --flexer 0.5 --out " + out), 0);
    Picture p;
    ASSERT_TRUE(readPng(out, &p));
    EXPECT_EQ(p.width, 640u);
    EXPECT_EQ(p.height, 480u);
    std::remove(out.c_str());
}

TEST(FrameTool, CreditsAtFunkTwoAreBlack) {
    std::string out = tempPath("credits.png");
    ASSERT_EQ(runFrame("--incs 14 --time 2 --funk 2 --flexer 1 --out " + out + " --size 96x72"), 0);
    Picture p;
    ASSERT_TRUE(readPng(out, &p));
    EXPECT_EQ(brightest(p), 0);
    std::remove(out.c_str());
}

TEST(FrameTool, RejectsBadArguments) {
    std::string out = tempPath("bad.png");
    EXPECT_EQ(runFrame("--incs 58 --time 1 --out " + out), 2); // draws nothing
    EXPECT_EQ(runFrame("--incs -1 --time 1 --out " + out), 2);
    EXPECT_EQ(runFrame("--incs 3x --time 1 --out " + out), 2);
    EXPECT_EQ(runFrame("--incs 3 --time nan --out " + out), 2);
    EXPECT_EQ(runFrame("--incs 3 --time inf --out " + out), 2);
    EXPECT_EQ(runFrame("--incs 3 --out " + out), 2);
    EXPECT_EQ(runFrame("--incs 3 --time 1"), 2);
    EXPECT_EQ(runFrame("--incs 3 --time 1 --out " + out + " --size 0x10"), 2);
    EXPECT_EQ(runFrame("--incs 3 --time 1 --out " + out + " --size 64"), 2);
    EXPECT_EQ(runFrame("--incs 3 --time 1 --out " + out + " --size 64x48x2"), 2);
    EXPECT_EQ(runFrame("--incs 3 --time 1 --funk 1e40 --out " + out), 2);
    EXPECT_EQ(runFrame("--incs 3 --time 1 --bogus 1 --out " + out), 2);
    EXPECT_EQ(runFrame("--incs 3 --time 1 --out"), 2);
    EXPECT_EQ(access(out.c_str(), F_OK), -1);
}

TEST(FrameTool, UnwritableOutputFailsWithoutLeftovers) {
    std::string dir = tempPath("missing_dir");
    EXPECT_EQ(runFrame("--incs 5 --time 1 --size 32x24 --out " + dir + "/x.png"), 1);
    EXPECT_EQ(access(dir.c_str(), F_OK), -1);

    // A directory in the way: the rename fails and the temporary goes too.
    std::string blocker = tempPath("blocker");
    ASSERT_EQ(mkdir(blocker.c_str(), 0755), 0);
    EXPECT_EQ(runFrame("--incs 5 --time 1 --size 32x24 --out " + blocker), 1);
    int stray = 0;
    std::string prefix = "frame_tool_test_" + std::to_string(getpid()) + "_blocker";
    if (DIR* d = opendir(ISOLOOP_BINARY_DIR)) {
        while (dirent* e = readdir(d))
            if (std::string(e->d_name).rfind(prefix, 0) == 0) stray++;
        closedir(d);
    }
    EXPECT_EQ(stray, 1); // the directory itself, nothing beside it
    rmdir(blocker.c_str());
}

TEST(FrameTool, ReplacesAnExistingFileWhole) {
    std::string out = tempPath("replace.png");
    FILE* f = std::fopen(out.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fputs("not a png", f);
    std::fclose(f);
    ASSERT_EQ(runFrame("--incs 50 --time 4 --size 64x48 --out " + out), 0);
    Picture p;
    EXPECT_TRUE(readPng(out, &p));
    EXPECT_EQ(p.width, 64u);
    std::remove(out.c_str());
}

} // namespace
