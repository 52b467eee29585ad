// The pack reader: palette expansion, colour_darken's single-precision
// scaling, pixel order, and files that are missing, short or far away.
#include "pack_fixture.h"

#include "app/working_dir.h"
#include "texture/pack_layout.h"
#include "texture/pack_reader.h"
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
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

TEST(PaletteExpansion, BrightnessOnTopThenRedGreenBlue) {
    EXPECT_EQ(expand(30, 60, 90, 200), 0x3C5A3C1Eu);
    EXPECT_EQ(expand(255, 255, 255, 7), 0xFFFFFFFFu);
    EXPECT_EQ(expand(0, 0, 1, 9), 0x00010000u);
}

TEST(PaletteExpansion, BrightnessIsTheAverageRoundedDown) {
    EXPECT_EQ(expand(0, 1, 1, 0) >> 24, 0u);         // 2/3
    EXPECT_EQ(expand(1, 1, 2, 0) >> 24, 1u);         // 4/3
    EXPECT_EQ(expand(255, 255, 254, 0) >> 24, 254u); // 764/3 = 254.67
    EXPECT_EQ(expand(255, 0, 255, 0) >> 24, 170u);
}

TEST(ColourDarken, KnownValues) {
    EXPECT_EQ(colour_darken(0x12FF8040u, 0.5f), 0x7F4020u);
    EXPECT_EQ(colour_darken(0x00808080u, 3.0f), 0xFFFFFFu);
    for (unsigned int c : {0u, 0xFFFFFFFFu, 0x12345678u, 0x00FF00FFu})
        EXPECT_EQ(colour_darken(c, 0.0f), 0u);
}

TEST(ColourDarken, ScalesInSinglePrecision) {
    // 100 * 0.29f is 28.99999917 in double but rounds to 29.0 in float.
    EXPECT_EQ(colour_darken(100u, 0.29f), 29u);
    EXPECT_EQ(colour_darken(100u << 8, 0.29f), 29u << 8);
    EXPECT_EQ(colour_darken(100u << 16, 0.29f), 29u << 16);
}

TEST(ColourDarken, TruncatesClampsAndDropsTheTopByte) {
    EXPECT_EQ(colour_darken(0xAB000003u, 0.9f), 2u); // 2.7 truncates to 2
    EXPECT_EQ(colour_darken(0x00FF0001u, 1.0f), 0x00FF0001u);
    EXPECT_EQ(colour_darken(0x00010101u, 1000.0f), 0xFFFFFFu);
    EXPECT_EQ(colour_darken(0x00FFFFFFu, -2.0f), 0u);
    EXPECT_EQ(colour_darken(0x00FFFFFFu, 1e30f), 0xFFFFFFu);
    EXPECT_EQ(colour_darken(0x00FFFFFFu, std::numeric_limits<float>::quiet_NaN()), 0u);
}

TEST(ReadBmp8, FillsExactlyOneImageTopStoredRowFirst) {
    TempDir dir;
    std::vector<PackPicture> pictures = patternPictures();
    installPack(dir, pictures);
    std::vector<unsigned int> dest(65536 + 16, kCanary);
    read_bmp8("julia.3ds", dest.data(), 17408, 512, 128);
    for (int i = 0; i < 512; i++) {
        int k = pictures[1].index[i];
        ASSERT_EQ(dest[i], expand(k, 255 - k, k ^ 0x5A, 0x77)) << "pixel " << i;
    }
    for (size_t i = 0; i < 65536; i++)
        ASSERT_EQ(dest[i], expandPaletteEntry(pictures[1].palette + 4 * pictures[1].index[i]))
            << "pixel " << i;
    for (size_t i = 65536; i < dest.size(); i++)
        EXPECT_EQ(dest[i], kCanary) << "written past the image at " << i;
}

TEST(ReadBmp8, ShortPackGivesZerosAndWritesNothingBeyond) {
    TempDir dir;
    std::string bytes = packBytes(patternPictures()).substr(0, 17408 + 1024 + 1000);
    installRaw(dir, bytes);
    std::vector<unsigned int> dest(65536 + 16, kCanary);
    read_bmp8("julia.3ds", dest.data(), 17408, 512, 128);
    EXPECT_NE(dest[999], 0u);
    for (size_t i = 1000; i < 65536; i++)
        ASSERT_EQ(dest[i], 0u) << "pixel " << i;
    for (size_t i = 65536; i < dest.size(); i++)
        EXPECT_EQ(dest[i], kCanary);
}

TEST(ReadBmp8, PaletteCutShortGivesAllZeros) {
    TempDir dir;
    installRaw(dir, packBytes(patternPictures()).substr(0, 17408 + 500));
    std::vector<unsigned int> dest(65536, kCanary);
    read_bmp8("julia.3ds", dest.data(), 17408, 512, 128);
    for (size_t i = 0; i < dest.size(); i++)
        ASSERT_EQ(dest[i], 0u) << "pixel " << i;
}

TEST(ReadBmp8, OffsetPastTheEndGivesAllZeros) {
    TempDir dir;
    installRaw(dir, std::string(100, '\x01'));
    std::vector<unsigned int> dest(256 * 32, kCanary);
    read_bmp8("julia.3ds", dest.data(), 1041408, 256, 32);
    for (unsigned int p : dest)
        ASSERT_EQ(p, 0u);
}

TEST(ReadBmp8, MissingPackIsReportedAndDestinationUntouched) {
    TempDir dir;
    std::strcpy(workingDir, dir.path.c_str());
    std::vector<unsigned int> dest(64, kCanary);
    testing::internal::CaptureStdout();
    read_bmp8("julia.3ds", dest.data(), 0, 8, 8);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              " file " + dir.path + "/julia.3ds not found!");
    for (unsigned int p : dest)
        EXPECT_EQ(p, kCanary);
}

TEST(ReadBmp8, UnknownLocationOpensNothingEvenWithAPackInTheCurrentDirectory) {
    TempDir dir;
    installPack(dir, patternPictures());
    ASSERT_EQ(chdir(dir.path.c_str()), 0);
    workingDir[0] = '\0';
    std::vector<unsigned int> dest(64, kCanary);
    testing::internal::CaptureStdout();
    read_bmp8("julia.3ds", dest.data(), 0, 8, 8);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " file julia.3ds not found!");
    for (unsigned int p : dest)
        EXPECT_EQ(p, kCanary);
}

TEST(ReadBmp8, DirectoryLongerThan256CharactersIsReadInFull) {
    TempDir dir;
    std::string deep = dir.path;
    while (deep.size() < 300) {
        deep += "/" + std::string(60, 'd');
        ASSERT_EQ(mkdir(deep.c_str(), 0700), 0);
    }
    std::vector<PackPicture> pictures = patternPictures();
    FILE* f = std::fopen((deep + "/julia.3ds").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::string bytes = packBytes(pictures);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    std::strcpy(workingDir, deep.c_str());
    std::vector<unsigned int> dest(256 * 64, kCanary);
    read_bmp8("julia.3ds", dest.data(), 0, 256, 64);
    EXPECT_EQ(dest[300], expandPaletteEntry(pictures[0].palette + 4 * pictures[0].index[300]));
}

TEST(ReadBmp8, NonPositiveSizeWritesNothing) {
    TempDir dir;
    installPack(dir, patternPictures());
    unsigned int dest[4] = {kCanary, kCanary, kCanary, kCanary};
    read_bmp8("julia.3ds", dest, 0, -2, 2);
    read_bmp8("julia.3ds", dest, 0, 2, 0);
    for (unsigned int p : dest)
        EXPECT_EQ(p, kCanary);
}
