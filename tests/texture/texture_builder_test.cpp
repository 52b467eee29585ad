// The atlas build: the slot table, each pack slot carrying its image (or every
// Nth pixel of it) most significant byte first, the channels GL makes of BGRA
// and RGBA uploads, and a missing pack leaving the buffer's last contents.
#include "pack_fixture.h"

#include "texture/pack_reader.h"

namespace {

// Texel (x, y) of a slot as the word whose bytes, most significant first, were uploaded.
unsigned int word(const std::vector<unsigned char>& slot, int width, int x, int y) {
    const unsigned char* b = &slot[4 * ((size_t)y * width + x)];
    return (unsigned int)b[0] << 24 | b[1] << 16 | b[2] << 8 | b[3];
}

} // namespace

TEST(TextureBuilder, SlotTableSizesFormatsAndFilters) {
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
        EXPECT_TRUE(s.width == want[k].width && s.height == want[k].height &&
                    s.components == want[k].components && s.format == want[k].format &&
                    s.linear == want[k].linear)
            << "slot " << k;
    }
}

TEST(TextureBuilder, PackSlotsKeepEveryNthPixelOfTheirImage) {
    TempDir dir;
    std::vector<PackPicture> pictures = patternPictures();
    installPack(dir, pictures);
    auto slots = buildSlots();
    ASSERT_EQ(slots.size(), 18u);
    // Slot 4 + k: pack image and step between kept pixels.
    const int image[14] = {1, 1, 1, 1, 2, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const int step[14] = {1, 4, 16, 32, 1, 4, 1, 1, 1, 1, 1, 1, 1, 1};
    for (int slot = 4; slot < 18; slot++) {
        int k = image[slot - 4], n = step[slot - 4], w = kPackImages[k].width;
        EXPECT_TRUE(n > 1 || packImageSlot(k) == slot) << "image " << k;
        const TextureSlot& t = kTextureSlots[slot];
        for (int y = 0; y < t.height; y++)
            for (int x = 0; x < t.width; x++)
                ASSERT_EQ(word(slots[slot], t.width, x, y),
                          expandedPixel(pictures[k], (size_t)n * y * w + n * x))
                    << "slot " << slot << " at " << x << "," << y;
    }
    EXPECT_EQ(packImageSlot(0), -1);
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
    auto slots = buildSlots();
    for (int slot = 4; slot < 18; slot++) {
        std::vector<unsigned char> rgba(4);
        texelChannels(slots[slot].data(), kTextureSlots[slot].format, rgba.data());
        EXPECT_EQ(rgba, slot <= 10 ? (std::vector<unsigned char>{40, 200, 83, 10})
                                   : (std::vector<unsigned char>{83, 200, 40, 10}))
            << "slot " << slot << ": BGRA red = palette green, RGBA red = brightness";
    }
}

TEST(TextureBuilder, MissingPackLeavesPackSlotsWithTheBufferContents) {
    TempDir dir;
    std::strcpy(workingDir, dir.path.c_str());
    testing::internal::CaptureStdout();
    auto s = buildSlots();
    EXPECT_NE(
        testing::internal::GetCapturedStdout().find(" file " + dir.path + "/julia.3ds not found!"),
        std::string::npos);
    ASSERT_EQ(s.size(), 18u);
    EXPECT_EQ(s[4], s[3]); // 512 x 128 words are exactly the sprite's 256 x 256
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 128; x++)
            ASSERT_EQ(word(s[5], 128, x, y), word(s[4], 512, 4 * x, 4 * y));
    // Past the sprite's words the buffer is still zero-filled.
    EXPECT_EQ(std::count(s[8].begin() + 65536 * 4, s[8].end(), 0), 1024 * 512 * 4 - 65536 * 4);
}
