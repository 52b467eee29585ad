// isoloop-tool frame, run as a process: PNG size and content of real frames
// rendered without a window, argument checking, and no half-written output.
#include "golden.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string tempPath(const std::string& name) {
    return ISOLOOP_BINARY_DIR "/frame_tool_test_" + std::to_string(getpid()) + "_" + name;
}

int runFrame(const std::string& args) {
    return runCommand(ISOLOOP_BINARY_DIR "/isoloop-tool frame " + args + " >/dev/null 2>&1");
}

// Width, height and brightest channel of a PNG; width 0 when it cannot be read.
struct Picture {
    unsigned width = 0, height = 0;
    int brightest = 0;
};

Picture readFrame(const std::string& path) {
    Picture p;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return p;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return p;
    for (unsigned char c : rgb)
        p.brightest = std::max(p.brightest, (int)c);
    p.width = image.width, p.height = image.height;
    std::remove(path.c_str());
    return p;
}

TEST(FrameTool, RendersTheChosenSceneAtTheChosenSize) {
    std::string out = tempPath("frame.png");
    ASSERT_EQ(runFrame("--incs 20 --time 3 --out " + out + " --size 160x120"), 0);
    Picture p = readFrame(out);
    EXPECT_EQ(std::make_pair(p.width, p.height), std::make_pair(160u, 120u));
    EXPECT_GT(p.brightest, 100); // scene 0: pale fog and a white clear, not an empty frame
    ASSERT_EQ(runFrame("--incs 14 --time 2 --funk 2 --flexer 1 --out " + out + " --size 96x72"), 0);
    EXPECT_EQ(readFrame(out).brightest, 0); // the credits at funk 2 are black
    // An existing file is replaced whole; the default size is 640 x 480.
    ASSERT_TRUE(writeWhole(out, "not a png"));
    ASSERT_EQ(runFrame("--incs 40 --time 1.5 --flexer 0.5 --out " + out), 0);
    p = readFrame(out);
    EXPECT_EQ(std::make_pair(p.width, p.height), std::make_pair(640u, 480u));
}

TEST(FrameTool, RejectsBadArgumentsAndLeavesNothingBehind) {
    std::string out = tempPath("bad.png"), ok = "--incs 3 --time 1 ";
    for (std::string args :
         {"--incs 58 --time 1 --out " + out, "--incs -1 --time 1 --out " + out,
          "--incs 3x --time 1 --out " + out, "--incs 3 --time nan --out " + out,
          "--incs 3 --time inf --out " + out, "--incs 3 --out " + out, ok,
          ok + "--out " + out + " --size 0x10", ok + "--out " + out + " --size 64",
          ok + "--out " + out + " --size 64x48x2", ok + "--funk 1e40 --out " + out,
          ok + "--bogus 1 --out " + out, ok + "--out"})
        EXPECT_EQ(runFrame(args), 2) << args;
    EXPECT_EQ(access(out.c_str(), F_OK), -1);
    // Unwritable output: status 1, no directory made, no temporary left.
    std::string dir = tempPath("missing_dir");
    EXPECT_EQ(runFrame(ok + "--size 32x24 --out " + dir + "/x.png"), 1);
    EXPECT_EQ(access(dir.c_str(), F_OK), -1);
    // A directory in the way: the rename fails and the temporary goes too.
    std::string blocker = tempPath("blocker");
    ASSERT_EQ(mkdir(blocker.c_str(), 0755), 0);
    EXPECT_EQ(runFrame(ok + "--size 32x24 --out " + blocker), 1);
    int stray = 0;
    for (const std::string& name : listDirectory(ISOLOOP_BINARY_DIR))
        stray += name.rfind("frame_tool_test_" + std::to_string(getpid()) + "_blocker", 0) == 0;
    EXPECT_EQ(stray, 1); // the directory itself, nothing beside it
    rmdir(blocker.c_str());
}

} // namespace
