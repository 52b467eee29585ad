// The atlas build: slot order and sizes as the sink sees them, the reduced
// copies, the byte order of the upload, the channels GL makes of BGRA and
// RGBA uploads, and a missing pack leaving the buffer's last contents.
#include "pack_fixture.h"

#include "texture/pack_file.h"
#include "texture/pack_reader.h"
#include "texture/texture_builder.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

using Slots = std::vector<std::vector<unsigned char>>;

Slots buildAll(const char* pack = "julia.3ds") {
    Slots out;
    std::vector<unsigned int> work(WORK_WORDS, 0u);
    buildTextures(
        work.data(),
        [&](int slot, const unsigned char* b) {
            EXPECT_EQ(slot, (int)out.size());
            const TextureSlot& s = kTextureSlots[slot];
            out.emplace_back(b, b + (size_t)s.width * s.height * 4);
        },
        pack);
    return out;
}

// The word read_bmp8 makes of pack image k's stored pixel (x, y), MSB first.
std::vector<unsigned char> expectedBytes(const PackPicture& p, int width, int x, int y) {
    unsigned int w = expandedPixel(p, (size_t)y * width + x);
    return {(unsigned char)(w >> 24), (unsigned char)(w >> 16), (unsigned char)(w >> 8),
            (unsigned char)w};
}

std::vector<unsigned char> texel(const Slots& s, int slot, int x, int y) {
    const unsigned char* b = &s[slot][4 * ((size_t)y * kTextureSlots[slot].width + x)];
    return {b[0], b[1], b[2], b[3]};
}

} // namespace

TEST(TextureBuilder, EighteenSlotsInOrderWithTheirSizesFormatsAndFilters) {
    TempDir dir;
    installPack(dir, patternPictures());
    ASSERT_EQ(buildAll().size(), 18u);
    const UploadFormat B = UploadFormat::BGRA, R = UploadFormat::RGBA;
    const bool L = true, N = false;
    const TextureSlot want[18] = {{256, 256, 3, B, L}, {256, 256, 3, B, L}, {256, 256, 3, B, L},
                                  {256, 256, 4, B, N}, {512, 128, 4, B, N}, {128, 32, 4, B, N},
                                  {32, 8, 4, B, N},    {16, 4, 4, B, N},    {1024, 512, 4, B, N},
                                  {256, 128, 4, B, N}, {256, 256, 4, B, L}, {256, 256, 4, R, L},
                                  {256, 256, 4, R, L}, {256, 256, 4, R, L}, {512, 256, 4, R, L},
                                  {128, 256, 4, R, L}, {256, 32, 4, R, L},  {1024, 512, 4, R, L}};
    for (int k = 0; k < 18; k++) {
        const TextureSlot& s = kTextureSlots[k];
        EXPECT_EQ(s.width, want[k].width) << "slot " << k;
        EXPECT_EQ(s.height, want[k].height) << "slot " << k;
        EXPECT_EQ(s.components, want[k].components) << "slot " << k;
        EXPECT_EQ(s.format, want[k].format) << "slot " << k;
        EXPECT_EQ(s.linear, want[k].linear) << "slot " << k;
    }
}

TEST(TextureBuilder, PackSlotsCarryTheirImagesMostSignificantByteFirst) {
    TempDir dir;
    std::vector<PackPicture> pictures = patternPictures();
    installPack(dir, pictures);
    Slots s = buildAll();
    const int images[] = {-1, -1, -1, -1, 1, -1, -1, -1, 2, -1, 3, 4, 5, 6, 7, 8, 9, 10};
    for (int slot = 0; slot < 18; slot++) {
        int k = images[slot];
        if (k < 0) continue;
        int w = kPackImages[k].width;
        for (int y : {0, kPackImages[k].height / 2, kPackImages[k].height - 1})
            for (int x : {0, 1, w - 1})
                ASSERT_EQ(texel(s, slot, x, y), expectedBytes(pictures[k], w, x, y))
                    << "slot " << slot << " at " << x << "," << y;
    }
}

TEST(TextureBuilder, ReducedCopiesKeepEveryNthPixelOfEveryNthRow) {
    TempDir dir;
    std::vector<PackPicture> pictures = patternPictures();
    installPack(dir, pictures);
    Slots s = buildAll();
    struct Reduction {
        int slot, image, step;
    } reductions[] = {{5, 1, 4}, {6, 1, 16}, {7, 1, 32}, {9, 2, 4}};
    for (const Reduction& r : reductions) {
        const TextureSlot& t = kTextureSlots[r.slot];
        for (int y = 0; y < t.height; y++)
            for (int x = 0; x < t.width; x++)
                ASSERT_EQ(texel(s, r.slot, x, y),
                          expectedBytes(pictures[r.image], kPackImages[r.image].width, r.step * x,
                                        r.step * y))
                    << "slot " << r.slot << " at " << x << "," << y;
    }
}

TEST(TextureBuilder, BgraAndRgbaUploadsGiveTheirChannelOrders) {
    // One asymmetric colour: palette red 200, green 40, blue 10; brightness 83.
    TempDir dir;
    std::vector<PackPicture> pictures = patternPictures();
    for (PackPicture& p : pictures) {
        p.palette[0] = 10, p.palette[1] = 40, p.palette[2] = 200;
        std::fill(p.index.begin(), p.index.end(), 0);
    }
    installPack(dir, pictures);
    Slots s = buildAll();
    unsigned char rgba[4];
    for (int slot = 4; slot <= 10; slot++) {
        texelChannels(s[slot].data(), kTextureSlots[slot].format, rgba);
        EXPECT_EQ(std::vector<unsigned char>(rgba, rgba + 4),
                  (std::vector<unsigned char>{40, 200, 83, 10}))
            << "BGRA slot " << slot << ": red = palette green, blue = brightness";
    }
    for (int slot = 11; slot <= 17; slot++) {
        texelChannels(s[slot].data(), kTextureSlots[slot].format, rgba);
        EXPECT_EQ(std::vector<unsigned char>(rgba, rgba + 4),
                  (std::vector<unsigned char>{83, 200, 40, 10}))
            << "RGBA slot " << slot << ": red = brightness";
    }
}

TEST(TextureBuilder, MissingPackLeavesPackSlotsWithTheBufferContents) {
    TempDir dir;
    std::strcpy(workingDir, dir.path.c_str());
    testing::internal::CaptureStdout();
    Slots s = buildAll();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find(" file " + dir.path + "/julia.3ds not found!"), std::string::npos);
    ASSERT_EQ(s.size(), 18u);
    EXPECT_EQ(s[4], s[3]); // 512 x 128 words are exactly the sprite's 256 x 256
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 128; x++)
            ASSERT_EQ(texel(s, 5, x, y),
                      std::vector<unsigned char>(&s[4][4 * (4 * y * 512 + 4 * x)],
                                                 &s[4][4 * (4 * y * 512 + 4 * x)] + 4));
    // Past the sprite's words the buffer is still zero-filled.
    for (size_t i = 65536 * 4; i < s[8].size(); i++)
        ASSERT_EQ(s[8][i], 0) << "byte " << i;
}

TEST(TextureBuilder, PackImageSlots) {
    const int expected[11] = {-1, 4, 8, 10, 11, 12, 13, 14, 15, 16, 17};
    for (int k = 0; k < 11; k++)
        EXPECT_EQ(packImageSlot(k), expected[k]) << "image " << k;
}
