// The four computed textures: the shapes that catch slips (the black disc and
// white spot, the black columns and red core, the sprite's alpha bounds), and a
// golden hash of each texture's rows, which also pins the chain from slot 2 into 3.
#include "pack_fixture.h"
#include "golden.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace {

// Texel (x, y) of a 256-wide slot as the word whose bytes, most significant first, were uploaded.
unsigned int word(const std::vector<unsigned char>& slot, int x, int y) {
    const unsigned char* b = &slot[4 * (y * 256 + x)];
    return (unsigned int)b[0] << 24 | b[1] << 16 | b[2] << 8 | b[3];
}

} // namespace

TEST(ProceduralTextures, DiscSunburstAndSpriteShapes) {
    auto s = buildSlots("no-such-pack-file");
    EXPECT_EQ(word(s[0], 127, 127), 0xD1D1D100u); // d = 0.707: 255 - 45.25 truncates
    EXPECT_EQ(word(s[1], 255, 127), 0xA9A9A900u); // grey sector, v = 169
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) {
            double d = std::hypot(x - 127.5, y - 127.5);
            // Slot 0: black inside radius 96 but for the white spot of radius 4.
            unsigned int spot = d < 4 ? (unsigned int)(int)(255 - 64 * d) * 65793u << 8 : 0;
            ASSERT_TRUE(d >= 96 || word(s[0], x, y) == spot) << x << "," << y;
            // Slot 1: column 1 mod 4 black; only red inside radius 32.
            unsigned int w = word(s[1], x, y);
            ASSERT_TRUE(x % 4 != 1 || w == 0u) << x << "," << y;
            ASSERT_TRUE(d >= 32 || w >> 16 == 0u) << "green and blue at " << x << "," << y;
            // Slot 3: alpha between (int)d and (int)d + 32.
            int alpha = (int)(word(s[3], x, y) & 255u);
            ASSERT_TRUE(alpha >= (int)d && alpha <= (int)d + 32) << x << "," << y;
        }
}

// Golden row hashes of the four textures in upload byte order, one line per
// row: "slot row hash". A mismatch names the first differing row and saves
// the texture; ISOLOOP_SAVE_GOLDEN=1 writes a fresh file to compare.
TEST(ProceduralGolden, EveryRowMatches) {
    auto slots = buildSlots("no-such-pack-file");
    std::ostringstream fresh;
    for (int s = 0; s < 4; s++)
        for (int r = 0; r < 256; r++)
            fresh << s << " " << r << " " << std::hex << fnv1a(slots[s].data() + r * 1024, 1024)
                  << std::dec << "\n";
    if (savingGoldens()) {
        std::ofstream("procedural_rows.golden") << fresh.str();
        GTEST_SKIP() << "ISOLOOP_SAVE_GOLDEN is set: procedural_rows.golden written, not compared";
    }
    std::istringstream want(
        readFile(ISOLOOP_SOURCE_DIR "/tests/texture/golden/procedural_rows.golden")),
        got(fresh.str());
    std::string a, b;
    int line = 0;
    for (; std::getline(want, a) && std::getline(got, b); line++)
        if (a != b) {
            int s = line / 256;
            FAIL() << "slot " << s << " first differs in row " << line % 256 << "; actual saved to "
                   << saveActual("procedural_slot" + std::to_string(s), slots[s].data(), 65536 * 4);
        }
    EXPECT_EQ(line, 4 * 256) << "golden file missing or short";
}
