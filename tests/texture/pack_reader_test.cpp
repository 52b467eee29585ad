// The pack reader: the layout's offsets, palette expansion, colour_darken's
// single-precision scaling, and files that are short, missing, far away, of
// the wrong length or no files at all.
#include "pack_fixture.h"

#include "texture/pack_reader.h"
#include <cmath>
#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const unsigned int kCanary = 0xDEADBEEFu;
} // namespace

TEST(PackLayout, ImagesEndAtTheirOffsets) {
    const int ends[11] = {17408,  83968,   609280,  675840,  742400, 808960,
                          875520, 1007616, 1041408, 1050624, 1575936};
    for (int k = 0; k < 11; k++)
        EXPECT_EQ(kPackImages[k].offset + packImageBytes(kPackImages[k]), ends[k]) << k;
}

// Expansion: palette bytes blue, green, red, unused (low byte first in c) become
// brightness (sum / 3, rounded down) over red, green, blue. Darkening: 100 * 0.29f
// is 29 in float but 28.99999917 in double; 3 * 0.9 truncates to 2; the top byte
// is dropped; results clamp to 0 .. 255 and NaN gives 0.
TEST(PackColours, PaletteExpansionAndColourDarken) {
    const float E = -1e9f; // marks an expansion case
    // clang-format off
    const struct { unsigned int c; float f; unsigned int want; } cases[] = {
        {0xC85A3C1Eu, E, 0x3C5A3C1Eu}, {0x07FFFFFFu, E, 0xFFFFFFFFu}, {0x09010000u, E, 0x00010000u},
        {0x00020101u, E, 0x01020101u}, {0x00FEFFFFu, E, 0xFEFEFFFFu},
        {0x12FF8040u, 0.5f, 0x7F4020u}, {0x00808080u, 3.0f, 0xFFFFFFu}, {0x12345678u, 0.0f, 0u},
        {100u, 0.29f, 29u},             {100u << 8, 0.29f, 29u << 8},   {100u << 16, 0.29f, 29u << 16},
        {0xAB000003u, 0.9f, 2u},        {0xFFFFFFu, -2.0f, 0u},         {0xFFFFFFu, 1e30f, 0xFFFFFFu},
        {0xFFFFFFu, std::nanf(""), 0u}};
    // clang-format on
    for (const auto& k : cases) {
        unsigned char e[4] = {(unsigned char)k.c, (unsigned char)(k.c >> 8),
                              (unsigned char)(k.c >> 16), (unsigned char)(k.c >> 24)};
        EXPECT_EQ(k.f == E ? expandPaletteEntry(e) : colour_darken(k.c, k.f), k.want)
            << std::hex << k.c << " * " << k.f;
    }
}

// Image 1 of the pattern pack in stored order; a file that ends early gives
// zeros where it has no bytes; nothing is written outside width x height.
TEST(ReadBmp8, ShortFilesGiveZerosAndNothingBeyondTheImage) {
    TempDir dir;
    std::vector<PackPicture> pictures = patternPictures();
    std::string pack = packBytes(pictures);
    // clang-format off
    const struct { std::string bytes; int offset, width, height, supplied; } cases[] = {
        {pack, 17408, 512, 128, 65536},
        {pack.substr(0, 17408 + 1024 + 1000), 17408, 512, 128, 1000}, // indices cut short
        {pack.substr(0, 17408 + 500), 17408, 512, 128, 0},            // palette cut short
        {std::string(100, '\x01'), 1041408, 256, 32, 0},              // offset past the end
        {pack, 0, -2, 2, -1}};                                        // no pixels at all
    // clang-format on
    for (const auto& c : cases) {
        installRaw(dir, c.bytes);
        std::vector<unsigned int> dest(65536 + 16, kCanary);
        read_bmp8("julia.3ds", dest.data(), c.offset, c.width, c.height);
        int written = c.supplied < 0 ? 0 : c.width * c.height;
        for (int i = 0; i < (int)dest.size(); i++) {
            unsigned int want = i >= written      ? kCanary
                                : i >= c.supplied ? 0u
                                                  : expandedPixel(pictures[1], i);
            ASSERT_EQ(dest[i], want) << "pixel " << i << " of a " << c.bytes.size() << "-byte file";
        }
    }
}

TEST(ReadBmp8, MissingPackIsReportedAndDestinationUntouched) {
    TempDir dir;
    std::strcpy(workingDir, dir.path.c_str());
    std::vector<unsigned int> dest(64, kCanary);
    testing::internal::CaptureStdout();
    read_bmp8("julia.3ds", dest.data(), 0, 8, 8);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              " file " + dir.path + "/julia.3ds not found!");
    EXPECT_EQ(dest, std::vector<unsigned int>(64, kCanary));
}

TEST(ReadBmp8, DirectoryLongerThan256CharactersIsReadInFull) {
    TempDir dir;
    std::string deep = dir.path;
    while (deep.size() < 300)
        ASSERT_EQ(mkdir((deep += "/" + std::string(60, 'd')).c_str(), 0700), 0);
    std::vector<PackPicture> pictures = patternPictures();
    ASSERT_TRUE(writeWhole(deep + "/julia.3ds", packBytes(pictures)));
    std::strcpy(workingDir, deep.c_str());
    std::vector<unsigned int> dest(256 * 64, kCanary);
    read_bmp8("julia.3ds", dest.data(), 0, 256, 64);
    EXPECT_EQ(dest[300], expandedPixel(pictures[0], 300));
}

// Runs body in a child with its standard output in outFile; false when the
// child has not finished within seconds (it is then killed).
static bool finishesWithin(int seconds, const std::string& outFile, void (*body)()) {
    fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
        if (!std::freopen(outFile.c_str(), "w", stdout)) _exit(2);
        body();
        fflush(stdout);
        _exit(0);
    }
    for (int waited = 0; waited < seconds * 100; waited++) {
        int status;
        if (waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status);
        usleep(10000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return false;
}

// Three images from the pack as start-up reads them; says whether the
// destination kept its canary.
static void readThreeImages() {
    std::vector<unsigned int> dest(512 * 128, kCanary);
    read_bmp8("julia.3ds", dest.data(), 0, 256, 64);
    read_bmp8("julia.3ds", dest.data(), 17408, 512, 128);
    read_bmp8("julia.3ds", dest.data(), 1041408, 256, 32);
    printf("|%s", dest[0] == kCanary ? "untouched" : "written");
}

// Anything but a regular file is refused at once (a FIFO is never waited
// on) and named once, the destination untouched; a pack of the wrong length
// is named once with its length and read as far as it goes.
TEST(ReadBmp8, NonRegularPackRefusedAtOnceAndWrongLengthNamedOnce) {
    TempDir dir;
    std::string pack = dir.file("julia.3ds"), whole = packBytes(patternPictures());
    std::strcpy(workingDir, dir.path.c_str());
    const std::string named = " file " + pack;
    // clang-format off
    const struct { std::function<int()> make; std::string out; } cases[] = {
        {[&] { return mkfifo(pack.c_str(), 0600); }, named + " is a FIFO, not a picture pack!|untouched"},
        {[&] { return mkdir(pack.c_str(), 0700); }, named + " is a directory, not a picture pack!|untouched"},
        {[&] { return writeWhole(pack, "") ? 0 : -1; },
         named + " has 0 bytes, a picture pack has 1575936!|written"},
        {[&] { return writeWhole(pack, whole + "x") ? 0 : -1; },
         named + " has 1575937 bytes, a picture pack has 1575936!|written"},
        {[&] { return writeWhole(pack, whole) ? 0 : -1; }, "|written"}};
    // clang-format on
    for (const auto& c : cases) {
        ASSERT_EQ(runCommand("rm -rf '" + pack + "'"), 0);
        ASSERT_EQ(c.make(), 0) << c.out;
        ASSERT_TRUE(finishesWithin(5, dir.file("out.txt"), readThreeImages)) << c.out;
        EXPECT_EQ(readFile(dir.file("out.txt")), c.out);
    }
}
