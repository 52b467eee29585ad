// The four computed textures: their noise term, the shapes that catch slips
// (the black disc and white spot, the black columns and red core, the alpha
// bounds of the sprite), and a golden hash of each texture's rows, which also
// pins the chain from slot 2 into slot 3.
#include "pack_fixture.h"
#include "texture/procedural_textures.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace {

double dist(int x, int y) {
    return std::sqrt((x - 127.5) * (x - 127.5) + (y - 127.5) * (y - 127.5));
}

// Slots 0..3 built in order on one zero-filled buffer, as plain words.
std::vector<std::vector<unsigned int>> proceduralSlots() {
    std::vector<unsigned int> W(WORK_WORDS, 0u);
    std::vector<std::vector<unsigned int>> out;
    for (auto make : {makeRingedDisc, makeSunburst, makeNoisyRainbow, makeNoiseSprite}) {
        make(W.data());
        out.emplace_back(W.begin(), W.begin() + 65536);
    }
    return out;
}

} // namespace

TEST(NoiseTerm, SumsModulo257ReadingTwoThirdsBackWith32BitWrap) {
    unsigned int W[4] = {5, 0, 0, 100};
    EXPECT_EQ(noiseTerm(W, 1, 2, 3, 1, 0), (137u + 238u + 2u + 65u) % 257u);
    EXPECT_EQ(noiseTerm(W, 0, 0, 0, 0, 5), 1300u % 257u); // i = 5 reads word 10 / 3
    // 13 * 0xFFFFFFFF wraps to 0xFFFFFFF3, 245 mod 257 (wider arithmetic gives 0).
    W[0] = 0xFFFFFFFFu;
    EXPECT_EQ(noiseTerm(W, 0, 0, 0, 0, 0), 245u);
}

TEST(ProceduralTextures, DiscSunburstAndSpriteShapes) {
    auto slots = proceduralSlots();
    EXPECT_EQ(slots[0][127 * 256 + 127], 0xD1D1D100u); // d = 0.707: 255 - 45.25 truncates
    EXPECT_EQ(slots[1][127 * 256 + 255], 0xA9A9A900u); // grey sector, v = 169
    int sectorsAgainstPi = 0;
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) {
            int i = y * 256 + x;
            double d = dist(x, y), a = std::atan2(y - 127.5, x - 127.5);
            // Slot 0: black inside radius 96 but for the white spot of radius 4.
            unsigned int spot = d < 4 ? (unsigned int)(int)(255 - 64 * d) * 65793u << 8 : 0;
            ASSERT_TRUE(d >= 96 || slots[0][i] == spot) << x << "," << y;
            // Slot 1: column 1 mod 4 black, 3 mod 4 full, others halved; red core.
            unsigned int v = (unsigned int)(int)(255 - (d + d) / 3), w = slots[1][i];
            const unsigned int columnGreen[4] = {v / 2, 0, v / 2, v};
            ASSERT_EQ((w >> 8) & 255u, columnGreen[x % 4]) << x << "," << y;
            ASSERT_TRUE(x % 4 != 1 || w == 0u) << x << "," << y;
            ASSERT_TRUE(d >= 32 || w >> 16 == 0u) << "green and blue at " << x << "," << y;
            // The sectors count with 3.1415: where pi would give the other parity,
            // the grey sectors follow 3.1415.
            int s = (int)(a * 8 / 3.1415), sPi = (int)(a * 8 / M_PI);
            if (x % 4 != 1 && d >= 32 && s % 2 != sPi % 2) {
                sectorsAgainstPi++;
                EXPECT_EQ((w >> 16) != 0, s % 2 == 0) << x << "," << y;
            }
            // Slot 3: alpha between (int)d and (int)d + 32 over a grey word.
            unsigned int alpha = slots[3][i] & 255u, grey = slots[3][i] >> 8;
            ASSERT_GE((int)alpha, (int)d);
            ASSERT_LE((int)alpha, (int)d + 32);
            ASSERT_TRUE(grey == (grey & 255u) * 65793u || grey == 0x010100u) << std::hex << grey;
        }
    EXPECT_GT(sectorsAgainstPi, 0);
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
        return;
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
