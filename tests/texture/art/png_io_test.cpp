// PNG reading and writing: round trips, and files that are missing, the
// wrong size, not PNG at all, cut short, corrupted or claiming absurd sizes.
#include "../pack_fixture.h"

#include "texture/art/png_io.h"
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

std::string bigEndian(unsigned int v) {
    return {(char)(v >> 24), (char)(v >> 16), (char)(v >> 8), (char)v};
}

std::string chunk(const std::string& type, const std::string& data) {
    std::string body = type + data;
    return bigEndian((unsigned int)data.size()) + body +
           bigEndian((unsigned int)crc32(0, (const Bytef*)body.data(), (uInt)body.size()));
}

// A PNG signature, an IHDR claiming 100000 x 100000 RGBA, and the start of an IDAT.
std::string hugePng() {
    std::string ihdr = bigEndian(100000) + bigEndian(100000) + std::string("\x08\x06\0\0\0", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) +
           chunk("IDAT", std::string("\x78\x9c\x01\x02\x03\x04", 6));
}

} // namespace

TEST(PngIo, RoundTripsKeepEveryChannelAndColourUnderZeroAlpha) {
    TempDir dir;
    RgbaImage im = asymmetric(37, 11), back;
    std::string error;
    ASSERT_TRUE(writePng(dir.file("a.png"), im, true, &error)) << error;
    ASSERT_TRUE(readPng(dir.file("a.png"), 37, 11, &back, &error)) << error;
    EXPECT_TRUE(back.hasAlpha);
    EXPECT_EQ(back.px, im.px);
    // Without alpha the file reads back opaque and says so.
    ASSERT_TRUE(writePng(dir.file("b.png"), im, false, &error)) << error;
    ASSERT_TRUE(readPng(dir.file("b.png"), 0, 0, &back, &error)) << error;
    EXPECT_FALSE(back.hasAlpha);
    EXPECT_EQ(back.at(5, 2)[0], im.at(5, 2)[0]);
    EXPECT_EQ(back.at(0, 0)[3], 255);
}

TEST(PngIo, BadFilesAreRefusedNamingTheFile) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(writePng(dir.file("c.png"), asymmetric(64, 64), true, &error));
    std::string whole = readFile(dir.file("c.png")), flipped = whole;
    for (size_t i = 60; i < flipped.size() - 20; i += 7)
        flipped[i] = (char)~flipped[i];
    const std::pair<std::string, std::string> files[] = {
        {"text.png", "this is not a picture"},
        {"half.png", whole.substr(0, whole.size() / 2)},
        {"cut.png", whole.substr(0, whole.size() - 20)},
        {"head.png", whole.substr(0, 40)},
        {"flipped.png", flipped},
        {"huge.png", hugePng()}};
    for (const auto& f : files) {
        ASSERT_TRUE(writeWhole(dir.file(f.first), f.second));
        RgbaImage out;
        EXPECT_FALSE(readPng(dir.file(f.first), 64, 64, &out, &error)) << f.first;
        EXPECT_NE(error.find(dir.file(f.first)), std::string::npos) << error;
        EXPECT_EQ(out.width, 0) << f.first;
    }
    RgbaImage out;
    EXPECT_FALSE(readPng(dir.file("none.png"), 8, 4, &out, &error));
    EXPECT_NE(error.find(dir.file("none.png")), std::string::npos) << error;
    EXPECT_FALSE(readPng(dir.file("c.png"), 64, 65, &out, &error));
    EXPECT_NE(error.find(dir.file("c.png") + ": 64x64, expected 64x65"), std::string::npos);
    // The absurd size is refused from the header, before any decoding.
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
    EXPECT_TRUE(listDirectory(dir.path).empty());
}
