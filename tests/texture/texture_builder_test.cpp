// The atlas build: each pack slot carries its image (or every Nth pixel of
// every Nth row) most significant byte first, and GL makes different channels
// of the BGRA and RGBA slots.
#include "pack_fixture.h"

#include <algorithm>

TEST(TextureBuilder, PackSlotReductionsAndChannelOrder) {
    // Slot 4 + k: pack image, step between kept pixels, BGRA upload.
    const struct {
        int image, step;
        bool bgra;
    } want[14] = {{1, 1, true},  {1, 4, true},  {1, 16, true}, {1, 32, true}, {2, 1, true},
                  {2, 4, true},  {3, 1, true},  {4, 1, false}, {5, 1, false}, {6, 1, false},
                  {7, 1, false}, {8, 1, false}, {9, 1, false}, {10, 1, false}};
    TempDir dir;
    std::vector<PackPicture> pictures = patternPictures();
    installRaw(dir, packBytes(pictures));
    auto slots = buildSlots();
    ASSERT_EQ(slots.size(), 18u);
    for (int slot = 4; slot < 18; slot++) {
        int k = want[slot - 4].image, n = want[slot - 4].step, w = kPackImages[k].width;
        const TextureSlot& t = kTextureSlots[slot];
        for (int i = 0; i < t.width * t.height; i++) {
            const unsigned char* b = &slots[slot][4 * i];
            unsigned int got = (unsigned int)b[0] << 24 | b[1] << 16 | b[2] << 8 | b[3];
            ASSERT_EQ(got,
                      expandedPixel(pictures[k], (size_t)n * (i / t.width) * w + n * (i % t.width)))
                << "slot " << slot << " texel " << i;
        }
    }
    // One colour everywhere: palette red 200, green 40, blue 10; brightness 83.
    for (PackPicture& p : pictures) {
        p.palette[0] = 10, p.palette[1] = 40, p.palette[2] = 200;
        std::fill(p.index.begin(), p.index.end(), 0);
    }
    installRaw(dir, packBytes(pictures));
    slots = buildSlots();
    for (int slot = 4; slot < 18; slot++) {
        std::vector<unsigned char> rgba(4);
        texelChannels(slots[slot].data(), kTextureSlots[slot].format, rgba.data());
        EXPECT_EQ(rgba, want[slot - 4].bgra ? (std::vector<unsigned char>{40, 200, 83, 10})
                                            : (std::vector<unsigned char>{83, 200, 40, 10}))
            << "slot " << slot << ": BGRA red = palette green, RGBA red = brightness";
    }
}
