// PNG reading and writing: round trips, and files that are missing, the
// wrong size, not PNG at all, cut short or claiming absurd sizes.
#include "../pack_fixture.h"
#include "golden.h"

#include "texture/art/png_io.h"
#include <dirent.h>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

RgbaImage asymmetric(int w, int h) {
    RgbaImage im(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            unsigned char* p = im.at(x, y);
            p[0] = (unsigned char)(x * 5 + y), p[1] = (unsigned char)(y * 3), p[2] = 200;
            p[3] = (unsigned char)(x < w / 3 ? 0 : 255 - y);
        }
    return im;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string chunk(const char* type, const std::string& data) {
    std::string body = std::string(type, 4) + data;
    std::string s;
    for (int k = 3; k >= 0; k--)
        s += (char)(data.size() >> (8 * k));
    s += body;
    uLong crc = crc32(0, (const Bytef*)body.data(), (uInt)body.size());
    for (int k = 3; k >= 0; k--)
        s += (char)(crc >> (8 * k));
    return s;
}

// A PNG signature, an IHDR claiming w x h RGBA, and the start of an IDAT.
std::string hugeHeader(unsigned int w, unsigned int h) {
    std::string s("\x89PNG\r\n\x1a\n", 8);
    unsigned char ihdr[17] = {'I',
                              'H',
                              'D',
                              'R',
                              (unsigned char)(w >> 24),
                              (unsigned char)(w >> 16),
                              (unsigned char)(w >> 8),
                              (unsigned char)w,
                              (unsigned char)(h >> 24),
                              (unsigned char)(h >> 16),
                              (unsigned char)(h >> 8),
                              (unsigned char)h,
                              8,
                              6,
                              0,
                              0,
                              0};
    s += chunk("IHDR", std::string((const char*)ihdr + 4, 13));
    s += chunk("IDAT", std::string("\x78\x9c\x01\x02\x03\x04", 6));
    return s;
}

} // namespace

TEST(PngIo, RoundTripKeepsEveryChannelAndColourUnderZeroAlpha) {
    TempDir dir;
    RgbaImage im = asymmetric(37, 11);
    std::string error;
    ASSERT_TRUE(writePng(dir.file("a.png"), im, true, &error)) << error;
    RgbaImage back;
    ASSERT_TRUE(readPng(dir.file("a.png"), 37, 11, &back, &error)) << error;
    EXPECT_TRUE(back.hasAlpha);
    EXPECT_EQ(back.px, im.px);
}

TEST(PngIo, RgbFileReadsOpaqueAndSaysSo) {
    TempDir dir;
    RgbaImage im = asymmetric(8, 4);
    std::string error;
    ASSERT_TRUE(writePng(dir.file("b.png"), im, false, &error)) << error;
    RgbaImage back;
    ASSERT_TRUE(readPng(dir.file("b.png"), 0, 0, &back, &error)) << error;
    EXPECT_FALSE(back.hasAlpha);
    EXPECT_EQ(back.at(5, 2)[0], im.at(5, 2)[0]);
    EXPECT_EQ(back.at(0, 0)[3], 255);
}

TEST(PngIo, WrongSizeMissingAndGarbageAreRefusedNamingTheFile) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(writePng(dir.file("c.png"), asymmetric(8, 4), true, &error));
    RgbaImage out;
    EXPECT_FALSE(readPng(dir.file("c.png"), 8, 5, &out, &error));
    EXPECT_NE(error.find(dir.file("c.png") + ": 8x4, expected 8x5"), std::string::npos) << error;
    EXPECT_FALSE(readPng(dir.file("none.png"), 8, 4, &out, &error));
    EXPECT_NE(error.find(dir.file("none.png")), std::string::npos) << error;
    writeBytes(dir.file("text.png"), "this is not a picture");
    EXPECT_FALSE(readPng(dir.file("text.png"), 8, 4, &out, &error));
    EXPECT_NE(error.find(dir.file("text.png")), std::string::npos) << error;
    EXPECT_EQ(out.width, 0);
}

TEST(PngIo, TruncatedAndCorruptedFilesAreRefused) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(writePng(dir.file("d.png"), asymmetric(64, 64), true, &error));
    std::string whole = readFile(dir.file("d.png"));
    RgbaImage out;
    for (size_t cut : {whole.size() / 2, whole.size() - 20, (size_t)40}) {
        writeBytes(dir.file("cut.png"), whole.substr(0, cut));
        EXPECT_FALSE(readPng(dir.file("cut.png"), 64, 64, &out, &error)) << cut;
    }
    std::string flipped = whole;
    for (size_t i = 60; i < flipped.size() - 20; i += 7)
        flipped[i] = (char)~flipped[i];
    writeBytes(dir.file("bad.png"), flipped);
    EXPECT_FALSE(readPng(dir.file("bad.png"), 64, 64, &out, &error));
}

TEST(PngIo, AbsurdSizeIsRefusedBeforeDecoding) {
    TempDir dir;
    writeBytes(dir.file("huge.png"), hugeHeader(100000, 100000));
    RgbaImage out;
    std::string error;
    EXPECT_FALSE(readPng(dir.file("huge.png"), 256, 256, &out, &error));
    EXPECT_NE(error.find("100000x100000, expected 256x256"), std::string::npos) << error;
    EXPECT_FALSE(readPng(dir.file("huge.png"), 0, 0, &out, &error));
    EXPECT_NE(error.find("implausible"), std::string::npos) << error;
}

TEST(PngIo, FailedWriteLeavesNothing) {
    TempDir dir;
    std::string error;
    EXPECT_FALSE(writePng(dir.file("missing/e.png"), asymmetric(4, 4), true, &error));
    EXPECT_NE(error.find("missing/e.png"), std::string::npos) << error;
    DIR* d = opendir(dir.path.c_str());
    int entries = 0;
    while (dirent* e = readdir(d))
        entries += e->d_name[0] != '.';
    closedir(d);
    EXPECT_EQ(entries, 0);
}
