// The pack and dump-textures subcommands, run as a user runs them: a default
// pack that is whole, extract and build as a round trip, and bad input
// refused with the file named, a non-zero status and no output left behind.
#include "../pack_fixture.h"

#include "texture/art/png_io.h"

namespace {

class PackTool : public ::testing::Test {
  protected:
    TempDir dir;
    std::string pack = dir.file("made.3ds"), err;
    void SetUp() override { ASSERT_EQ(tool("pack make " + pack), 0) << err; }
    // Runs isoloop-tool; keeps its standard error in err.
    int tool(const std::string& args) {
        int status = runCommand(ISOLOOP_BINARY_DIR "/isoloop-tool " + args + " >" +
                                dir.file("stdout.txt") + " 2>" + dir.file("stderr.txt"));
        err = readFile(dir.file("stderr.txt"));
        std::remove(dir.file("stderr.txt").c_str());
        return status;
    }
    std::vector<unsigned int> expandedAll(const std::string& path) {
        std::vector<PackPicture> p;
        std::vector<unsigned int> out;
        EXPECT_TRUE(readPackFile(path, &p, &err)) << err;
        for (const PackPicture& q : p)
            for (size_t i = 0; i < q.index.size(); i++)
                out.push_back(expandedPixel(q, i));
        return out;
    }
};

} // namespace

TEST_F(PackTool, MakeInfoExtractAndBuildGiveThePackBack) {
    EXPECT_EQ(tool("pack info " + pack), 0) << err;
    std::string out = readFile(dir.file("stdout.txt"));
    EXPECT_NE(out.find("1050624 1024x512"), std::string::npos) << out;
    EXPECT_NE(out.find("credits page 3"), std::string::npos) << out;
    ASSERT_EQ(tool("pack extract " + pack + " " + dir.file("pics")), 0) << err;
    EXPECT_EQ(listDirectory(dir.file("pics")).size(), 11u);
    RgbaImage im;
    EXPECT_TRUE(readPng(dir.file("pics/image-07.png"), 512, 256, &im, &err)) << err;
    EXPECT_TRUE(im.hasAlpha);
    ASSERT_EQ(tool("pack build " + dir.file("pics") + " " + dir.file("rebuilt.3ds")), 0) << err;
    // 256 colours or fewer: kept exactly.
    EXPECT_EQ(expandedAll(pack), expandedAll(dir.file("rebuilt.3ds")));
}

TEST_F(PackTool, InfoAndExtractRefuseWrongLengthsAndBadArgumentsExitTwo) {
    std::string whole = readFile(pack);
    ASSERT_TRUE(writeWhole(dir.file("short.3ds"), whole.substr(0, whole.size() - 1)));
    EXPECT_EQ(tool("pack info " + dir.file("short.3ds")), 1);
    EXPECT_NE(err.find(dir.file("short.3ds") + ": 1575935 bytes"), std::string::npos) << err;
    EXPECT_EQ(tool("pack extract " + dir.file("short.3ds") + " " + dir.file("out")), 1);
    EXPECT_TRUE(listDirectory(dir.file("out")).empty());
    EXPECT_EQ(tool("pack info " + dir.file("none.3ds")), 1);
    EXPECT_NE(err.find(dir.file("none.3ds")), std::string::npos) << err;
    for (const char* args : {"pack", "pack build onlyone", "pack frobnicate a b", "dump-textures"})
        EXPECT_EQ(tool(args), 2) << args;
}

TEST_F(PackTool, BuildRefusesMissingWrongSizedAndUnreadablePictures) {
    ASSERT_EQ(tool("pack extract " + pack + " " + dir.file("pics")), 0);
    std::string five = dir.file("pics/image-05.png"), build = "pack build " + dir.file("pics");
    std::rename(five.c_str(), dir.file("aside.png").c_str());
    EXPECT_EQ(tool(build + " " + dir.file("never.3ds")), 1);
    EXPECT_NE(err.find(five), std::string::npos) << err;
    ASSERT_TRUE(writePng(five, RgbaImage(255, 256), true, &err));
    EXPECT_EQ(tool(build + " " + dir.file("never.3ds")), 1);
    EXPECT_NE(err.find(five + ": 255x256, expected 256x256"), std::string::npos) << err;
    ASSERT_TRUE(writeWhole(five, "\x89PNG\r\n\x1a\nnot really"));
    EXPECT_EQ(tool(build + " " + dir.file("never.3ds")), 1);
    EXPECT_NE(err.find(five), std::string::npos) << err;
    EXPECT_EQ(listDirectory(dir.path),
              (std::vector<std::string>{"aside.png", "made.3ds", "pics", "stdout.txt"}));
}

TEST_F(PackTool, DumpTexturesWritesWhatTheBuilderMakesUpright) {
    EXPECT_EQ(tool("dump-textures " + dir.file("none") + " --pack " + dir.file("none.3ds")), 1);
    EXPECT_NE(err.find(dir.file("none.3ds")), std::string::npos) << err;
    EXPECT_TRUE(listDirectory(dir.file("none")).empty());
    ASSERT_EQ(tool("dump-textures " + dir.file("tex") + " --pack " + pack), 0) << err;
    ASSERT_EQ(listDirectory(dir.file("tex")).size(), 18u);
    std::strcpy(workingDir, dir.path.c_str());
    auto slots = buildSlots("made.3ds");
    for (int slot = 0; slot < 18; slot++) {
        const TextureSlot& s = kTextureSlots[slot];
        char name[32];
        std::snprintf(name, sizeof name, "tex/texture-%02d.png", slot);
        RgbaImage im;
        ASSERT_TRUE(readPng(dir.file(name), s.width, s.height, &im, &err)) << err;
        EXPECT_EQ(im.hasAlpha, s.components == 4) << slot;
        for (int y : {0, s.height - 1})
            for (int x : {0, s.width / 2}) {
                unsigned char want[4];
                texelChannels(&slots[slot][4 * ((size_t)y * s.width + x)], s.format, want);
                const unsigned char* got = im.at(x, s.height - 1 - y); // row 0 at the bottom
                for (int c = 0; c < s.components; c++)
                    ASSERT_EQ(got[c], want[c]) << "slot " << slot << " texel " << x << "," << y;
            }
    }
}
