// isoloop-tool frame, run as a process: a real frame rendered without a
// window, and argument checking that leaves no output behind.
#include "files_and_commands.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

namespace {

const std::string kOut = ISOLOOP_BINARY_DIR "/frame_tool_test_" + std::to_string(getpid()) + ".png";

int runFrame(const std::string& args) {
    return runCommand(ISOLOOP_BINARY_DIR "/isoloop-tool frame " + args + " >/dev/null 2>&1");
}

TEST(FrameTool, RendersTheChosenSceneAtTheChosenSize) {
    ASSERT_EQ(runFrame("--incs 20 --time 3 --out " + kOut + " --size 160x120"), 0);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, kOut.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    std::remove(kOut.c_str());
    EXPECT_EQ(std::make_pair(image.width, image.height), std::make_pair(160u, 120u));
    // Scene 0: pale fog and a white clear, not an empty frame.
    EXPECT_GT(*std::max_element(rgb.begin(), rgb.end()), 100);
}

TEST(FrameTool, RejectsBadArgumentsAndLeavesNothingBehind) {
    const std::string ok = "--incs 3 --time 1 ", out = " --out " + kOut;
    for (std::string args :
         {"--incs 58 --time 1" + out, "--incs 3x --time 1" + out, "--incs 3 --time nan" + out,
          "--incs 3" + out, ok, ok + "--size 0x10" + out, ok + "--size 64x48x2" + out,
          ok + "--funk 1e40" + out, ok + "--bogus 1" + out, ok + "--out"})
        EXPECT_EQ(runFrame(args), 2) << args;
    EXPECT_EQ(access(kOut.c_str(), F_OK), -1);
}

} // namespace
