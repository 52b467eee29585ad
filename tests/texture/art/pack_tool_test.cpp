// The pack subcommands run as a user runs them: make, info, extract and build
// as a round trip, and bad input refused with the file named, status 1 and no
// output left behind.
#include "../pack_fixture.h"

#include "texture/art/png_io.h"
#include <functional>
#include <sys/stat.h>

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
    ASSERT_EQ(tool("pack extract " + pack + " " + dir.file("pics")), 0) << err;
    EXPECT_EQ(listDirectory(dir.file("pics")).size(), 11u);
    ASSERT_EQ(tool("pack build " + dir.file("pics") + " " + dir.file("rebuilt.3ds")), 0) << err;
    // 256 colours or fewer: kept exactly.
    EXPECT_EQ(expandedAll(pack), expandedAll(dir.file("rebuilt.3ds")));
}

TEST_F(PackTool, MalformedInputIsRefusedNamingTheFile) {
    ASSERT_EQ(tool("pack extract " + pack + " " + dir.file("pics")), 0);
    std::string five = dir.file("pics/image-05.png"), shortPack = dir.file("short.3ds");
    std::string build = "pack build " + dir.file("pics") + " " + dir.file("never.3ds");
    std::string whole = readFile(pack);
    ASSERT_TRUE(writeWhole(shortPack, whole.substr(0, whole.size() - 1)));
    // clang-format off
    const struct { std::function<void()> spoil; std::string args, named; } cases[] = {
        {[&] { std::rename(five.c_str(), dir.file("aside.png").c_str()); }, build, five},
        {[&] { writePng(five, RgbaImage(255, 256), true, &err); }, build,
         five + ": 255x256, expected 256x256"},
        {[&] { writeWhole(five, "\x89PNG\r\n\x1a\nnot really"); }, build, five},
        {[] {}, "pack info " + shortPack, shortPack + ": 1575935 bytes"},
        {[] {}, "pack extract " + shortPack + " " + dir.file("out"), shortPack}};
    // clang-format on
    for (const auto& c : cases) {
        c.spoil();
        EXPECT_EQ(tool(c.args), 1) << c.args;
        EXPECT_NE(err.find(c.named), std::string::npos) << err;
    }
    EXPECT_EQ(listDirectory(dir.path), (std::vector<std::string>{"aside.png", "made.3ds", "pics",
                                                                 "short.3ds", "stdout.txt"}));
}

// A FIFO or a directory where a pack or a picture belongs is refused at once
// with status 1, never waited on (each run is killed after 10 seconds).
TEST_F(PackTool, NonRegularInputIsRefusedAtOnce) {
    ASSERT_EQ(tool("pack extract " + pack + " " + dir.file("pics")), 0);
    std::string fifo = dir.file("fifo.3ds"), dirPack = dir.file("dir.3ds");
    std::string picture = dir.file("pics/image-03.png");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(mkdir(dirPack.c_str(), 0700), 0);
    ASSERT_EQ(std::remove(picture.c_str()), 0);
    ASSERT_EQ(mkfifo(picture.c_str(), 0600), 0);
    const std::string limit = "-s KILL 10 " ISOLOOP_BINARY_DIR "/isoloop-tool ";
    // clang-format off
    const struct { std::string args, named; } cases[] = {
        {"pack info " + fifo, fifo + ": a FIFO, not a regular file"},
        {"pack sheet " + fifo + " " + dir.file("sheet.png"), fifo + ": a FIFO"},
        {"pack info " + dirPack, dirPack + ": a directory, not a regular file"},
        {"pack build " + dir.file("pics") + " " + dir.file("never.3ds"), picture + ": a FIFO"}};
    // clang-format on
    for (const auto& c : cases) {
        int status = runCommand("timeout " + limit + c.args + " 2>" + dir.file("stderr.txt"));
        EXPECT_EQ(status, 1) << c.args;
        EXPECT_NE(readFile(dir.file("stderr.txt")).find(c.named), std::string::npos) << c.args;
    }
    EXPECT_TRUE(readFile(dir.file("sheet.png")).empty());
    EXPECT_TRUE(readFile(dir.file("never.3ds")).empty());
}
