// The pack and dump-textures subcommands, run as a user runs them: a default
// pack that is whole, extract and build as a round trip, and bad input
// refused with the file named, a non-zero status and no output left behind.
#include "../pack_fixture.h"
#include "golden.h"

#include "texture/art/png_io.h"
#include "texture/pack_file.h"
#include "texture/texture_builder.h"
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

struct ToolRun {
    int status;
    std::string err;
};

ToolRun tool(const TempDir& dir, const std::string& args) {
    std::string errFile = dir.file("stderr.txt");
    std::string cmd = std::string(ISOLOOP_BINARY_DIR) + "/isoloop-tool " + args + " >" +
                      dir.file("stdout.txt") + " 2>" + errFile;
    int raw = std::system(cmd.c_str());
    ToolRun r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(errFile)};
    std::remove(errFile.c_str());
    return r;
}

std::vector<std::string> listDir(const std::string& path) {
    std::vector<std::string> names;
    if (DIR* d = opendir(path.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<unsigned int> expandedAll(const std::vector<PackPicture>& p) {
    std::vector<unsigned int> out;
    for (const PackPicture& q : p)
        for (size_t i = 0; i < q.index.size(); i++)
            out.push_back(expandedPixel(q, i));
    return out;
}

class PackTool : public ::testing::Test {
  protected:
    TempDir dir;
    std::string pack;
    void SetUp() override {
        pack = dir.file("made.3ds");
        ToolRun r = tool(dir, "pack make " + pack);
        ASSERT_EQ(r.status, 0) << r.err;
    }
};

} // namespace

TEST_F(PackTool, MakeWritesAWholePackThatInfoAccepts) {
    std::vector<PackPicture> pictures;
    std::string error;
    ASSERT_TRUE(readPackFile(pack, &pictures, &error)) << error;
    ToolRun r = tool(dir, "pack info " + pack);
    EXPECT_EQ(r.status, 0) << r.err;
    std::string out = readFile(dir.file("stdout.txt"));
    EXPECT_NE(out.find("1050624 1024x512"), std::string::npos) << out;
    EXPECT_NE(out.find("credits page 3"), std::string::npos) << out;
}

TEST_F(PackTool, ExtractThenBuildGivesThePackBack) {
    ToolRun r = tool(dir, "pack extract " + pack + " " + dir.file("pics"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(listDir(dir.file("pics")).size(), 11u);
    RgbaImage im;
    std::string error;
    EXPECT_TRUE(readPng(dir.file("pics/image-07.png"), 512, 256, &im, &error)) << error;
    EXPECT_TRUE(im.hasAlpha);
    r = tool(dir, "pack build " + dir.file("pics") + " " + dir.file("rebuilt.3ds"));
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<PackPicture> a, b;
    ASSERT_TRUE(readPackFile(pack, &a, &error));
    ASSERT_TRUE(readPackFile(dir.file("rebuilt.3ds"), &b, &error));
    EXPECT_EQ(expandedAll(a), expandedAll(b)); // 256 colours or fewer: kept exactly
}

TEST_F(PackTool, InfoAndExtractRefuseWrongLengths) {
    std::string whole = readFile(pack);
    FILE* f = std::fopen(dir.file("short.3ds").c_str(), "wb");
    std::fwrite(whole.data(), 1, whole.size() - 1, f);
    std::fclose(f);
    ToolRun r = tool(dir, "pack info " + dir.file("short.3ds"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(dir.file("short.3ds") + ": 1575935 bytes"), std::string::npos) << r.err;
    r = tool(dir, "pack extract " + dir.file("short.3ds") + " " + dir.file("out"));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(listDir(dir.file("out")).empty());
    r = tool(dir, "pack info " + dir.file("none.3ds"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(dir.file("none.3ds")), std::string::npos) << r.err;
}

TEST_F(PackTool, BuildRefusesMissingWrongSizedAndUnreadablePictures) {
    ASSERT_EQ(tool(dir, "pack extract " + pack + " " + dir.file("pics")).status, 0);
    std::string out = dir.file("never.3ds");
    std::string five = dir.file("pics/image-05.png");

    std::rename(five.c_str(), dir.file("aside.png").c_str());
    ToolRun r = tool(dir, "pack build " + dir.file("pics") + " " + out);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(five), std::string::npos) << r.err;

    std::string error;
    ASSERT_TRUE(writePng(five, RgbaImage(255, 256), true, &error));
    r = tool(dir, "pack build " + dir.file("pics") + " " + out);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(five + ": 255x256, expected 256x256"), std::string::npos) << r.err;

    FILE* f = std::fopen(five.c_str(), "wb");
    std::fputs("\x89PNG\r\n\x1a\nnot really", f);
    std::fclose(f);
    r = tool(dir, "pack build " + dir.file("pics") + " " + out);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(five), std::string::npos) << r.err;

    std::vector<std::string> left = listDir(dir.path);
    EXPECT_EQ(std::count(left.begin(), left.end(), "never.3ds"), 0);
    for (const std::string& name : left)
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

TEST_F(PackTool, BadArgumentsExitTwo) {
    EXPECT_EQ(tool(dir, "pack").status, 2);
    EXPECT_EQ(tool(dir, "pack build onlyone").status, 2);
    EXPECT_EQ(tool(dir, "pack frobnicate a b").status, 2);
    EXPECT_EQ(tool(dir, "dump-textures").status, 2);
}

TEST_F(PackTool, DumpTexturesWritesWhatTheBuilderMakesUpright) {
    ToolRun r = tool(dir, "dump-textures " + dir.file("tex") + " --pack " + pack);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(listDir(dir.file("tex")).size(), 18u);
    std::strcpy(workingDir, dir.path.c_str());
    std::vector<unsigned int> work(WORK_WORDS, 0u);
    buildTextures(
        work.data(),
        [&](int slot, const unsigned char* bytes) {
            const TextureSlot& s = kTextureSlots[slot];
            char name[32];
            std::snprintf(name, sizeof name, "tex/texture-%02d.png", slot);
            RgbaImage im;
            std::string error;
            ASSERT_TRUE(readPng(dir.file(name), s.width, s.height, &im, &error)) << error;
            EXPECT_EQ(im.hasAlpha, s.components == 4) << slot;
            for (int y : {0, s.height - 1})
                for (int x : {0, s.width / 2}) {
                    unsigned char want[4];
                    texelChannels(bytes + 4 * ((size_t)y * s.width + x), s.format, want);
                    const unsigned char* got = im.at(x, s.height - 1 - y); // row 0 at the bottom
                    for (int c = 0; c < (s.components == 4 ? 4 : 3); c++)
                        ASSERT_EQ(got[c], want[c]) << "slot " << slot << " texel " << x << "," << y;
                }
        },
        "made.3ds");
}

TEST_F(PackTool, DumpTexturesRefusesAMissingPack) {
    ToolRun r = tool(dir, "dump-textures " + dir.file("tex") + " --pack " + dir.file("none.3ds"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(dir.file("none.3ds")), std::string::npos) << r.err;
    EXPECT_TRUE(listDir(dir.file("tex")).empty());
}
