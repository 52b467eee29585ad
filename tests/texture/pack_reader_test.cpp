// The pack reader: palette expansion, colour_darken's single-precision
// scaling, pixel order, and files that are missing, short or far away.
#include "pack_fixture.h"

#include "texture/pack_reader.h"
#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

namespace {

unsigned int expand(int blue, int green, int red, int unused) {
    unsigned char e[4] = {(unsigned char)blue, (unsigned char)green, (unsigned char)red,
                          (unsigned char)unused};
    return expandPaletteEntry(e);
}

const unsigned int kCanary = 0xDEADBEEFu;

} // namespace

TEST(PaletteExpansion, BrightnessIsTheAverageRoundedDownOnTopOfRedGreenBlue) {
    EXPECT_EQ(expand(30, 60, 90, 200), 0x3C5A3C1Eu);
    EXPECT_EQ(expand(255, 255, 255, 7), 0xFFFFFFFFu);
    EXPECT_EQ(expand(0, 0, 1, 9), 0x00010000u);
    EXPECT_EQ(expand(1, 1, 2, 0), 0x01020101u);      // 4/3
    EXPECT_EQ(expand(255, 255, 254, 0) >> 24, 254u); // 764/3 = 254.67
}

// 100 * 0.29f is 28.99999917 in double but 29.0 in float; 3 * 0.9 truncates to
// 2; the top byte is dropped; results clamp to 0 .. 255 (NaN gives 0).
TEST(ColourDarken, ScalesEachChannelInFloatTruncatesAndClamps) {
    // clang-format off
    const struct { unsigned int c; float f; unsigned int want; } cases[] = {
        {0x12FF8040u, 0.5f, 0x7F4020u}, {0x00808080u, 3.0f, 0xFFFFFFu}, {0xFFFFFFFFu, 0.0f, 0u},
        {0x12345678u, 0.0f, 0u},        {100u, 0.29f, 29u},             {100u << 8, 0.29f, 29u << 8},
        {100u << 16, 0.29f, 29u << 16}, {0xAB000003u, 0.9f, 2u},        {0x010101u, 1e3f, 0xFFFFFFu},
        {0xFFFFFFu, -2.0f, 0u},         {0xFFFFFFu, 1e30f, 0xFFFFFFu},  {0xFFFFFFu, std::nanf(""), 0u}};
    // clang-format on
    for (const auto& k : cases)
        EXPECT_EQ(colour_darken(k.c, k.f), k.want) << std::hex << k.c << " * " << k.f;
}

// Image 1 of the pattern pack, stored rows in order; a file that ends early
// gives zeros where it has no bytes; nothing is written outside width x height.
TEST(ReadBmp8, FillsOneImageInStoredOrderAndNothingBeyond) {
    TempDir dir;
    std::string pack = packBytes(patternPictures());
    // clang-format off
    const struct { std::string bytes; int offset, width, height, supplied; } cases[] = {
        {pack, 17408, 512, 128, 65536},
        {pack.substr(0, 17408 + 1024 + 1000), 17408, 512, 128, 1000}, // indices cut short
        {pack.substr(0, 17408 + 500), 17408, 512, 128, 0},            // palette cut short
        {std::string(100, '\x01'), 1041408, 256, 32, 0},              // offset past the end
        {pack, 0, -2, 2, -1}, {pack, 0, 2, 0, -1}};                   // no pixels at all
    // clang-format on
    for (const auto& c : cases) {
        installRaw(dir, c.bytes);
        std::vector<unsigned int> dest(65536 + 16, kCanary);
        read_bmp8("julia.3ds", dest.data(), c.offset, c.width, c.height);
        int written = c.supplied < 0 ? 0 : c.width * c.height;
        for (int i = 0; i < (int)dest.size(); i++) {
            int e = (7 * (i % 512) + 13 * (i / 512) + 31) & 255;
            unsigned int want = i >= written      ? kCanary
                                : i >= c.supplied ? 0u
                                                  : expand(e, 255 - e, e ^ 0x5A, 0x77);
            ASSERT_EQ(dest[i], want) << "pixel " << i << " of a " << c.bytes.size() << "-byte file";
        }
    }
}

TEST(ReadBmp8, MissingPackIsReportedAndDestinationUntouched) {
    TempDir dir;
    installPack(dir, patternPictures());
    ASSERT_EQ(chdir(dir.path.c_str()), 0);
    // An unknown location opens nothing, even with a pack in the current directory.
    for (std::string where : {dir.path + "/none", std::string()}) {
        std::strcpy(workingDir, where.c_str());
        std::vector<unsigned int> dest(64, kCanary);
        testing::internal::CaptureStdout();
        read_bmp8("julia.3ds", dest.data(), 0, 8, 8);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  " file " + (where.empty() ? "" : where + "/") + "julia.3ds not found!");
        EXPECT_EQ(dest, std::vector<unsigned int>(64, kCanary));
    }
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
