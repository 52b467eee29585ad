// The four computed textures: their noise term, the shapes that catch slips
// (the black disc and white spot, the black columns and red core, the alpha
// bounds of the sprite), the chain from slot 2 into slot 3, and a golden hash
// of each texture's rows.
#include "golden.h"
#include "texture/procedural_textures.h"
#include "texture/texture_builder.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace {

double dist(int x, int y) {
    double dx = x - 127.5, dy = y - 127.5;
    return std::sqrt(dx * dx + dy * dy);
}

// Slots 0..3 built in order on one zero-filled buffer, as plain words.
std::vector<std::vector<unsigned int>> proceduralSlots() {
    std::vector<unsigned int> W(WORK_WORDS, 0u);
    std::vector<std::vector<unsigned int>> out;
    void (*makers[4])(unsigned int*) = {makeRingedDisc, makeSunburst, makeNoisyRainbow,
                                        makeNoiseSprite};
    for (auto make : makers) {
        make(W.data());
        out.emplace_back(W.begin(), W.begin() + 65536);
    }
    return out;
}

unsigned int byteAt(unsigned int w, int shift) {
    return (w >> shift) & 255u;
}

} // namespace

TEST(NoiseTerm, SumsModulo257AndReadsTwoThirdsBack) {
    std::vector<unsigned int> W(16, 0u);
    W[0] = 5;
    EXPECT_EQ(noiseTerm(W.data(), 1, 2, 3, 1, 0), (137u + 238u + 2u + 65u) % 257u);
    W[3] = 100; // i = 5 reads word 10 / 3 = 3
    EXPECT_EQ(noiseTerm(W.data(), 0, 0, 0, 0, 5), 1300u % 257u);
}

TEST(NoiseTerm, Wraps32Bits) {
    // 13 * 0xFFFFFFFF wraps to 0xFFFFFFF3, which is 245 mod 257 (wider
    // arithmetic would give 0).
    unsigned int W[1] = {0xFFFFFFFFu};
    EXPECT_EQ(noiseTerm(W, 0, 0, 0, 0, 0), 245u);
}

TEST(RingedDisc, BlackInsideRadius96ExceptTheWhiteSpot) {
    auto slots = proceduralSlots();
    const std::vector<unsigned int>& t = slots[0];
    EXPECT_EQ(t[127 * 256 + 127], 0xD1D1D100u); // d = 0.707: 255 - 45.25 truncates to 209
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) {
            double d = dist(x, y);
            unsigned int w = t[y * 256 + x];
            ASSERT_EQ(w & 255u, 0u);
            if (d < 4) {
                ASSERT_EQ(w, (unsigned int)(int)(255 - 64 * d) * 65793u << 8) << x << "," << y;
            } else if (d < 96) {
                ASSERT_EQ(w, 0u) << x << "," << y;
            }
        }
}

TEST(Sunburst, EveryColumnOneModFourIsBlack) {
    auto slots = proceduralSlots();
    for (int y = 0; y < 256; y++)
        for (int x = 1; x < 256; x += 4)
            ASSERT_EQ(slots[1][y * 256 + x], 0u) << x << "," << y;
}

TEST(Sunburst, CoreIsRedOnlyAndColumnsThreeModFourKeepFullBrightness) {
    auto slots = proceduralSlots();
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) {
            unsigned int w = slots[1][y * 256 + x];
            double d = dist(x, y);
            unsigned int v = (unsigned int)(int)(255 - (d + d) / 3);
            if (d < 32) {
                ASSERT_EQ(w >> 16, 0u) << "green and blue at " << x << "," << y;
            }
            if (x % 4 == 3) {
                ASSERT_EQ(byteAt(w, 8), v) << x << "," << y;
            } else if (x % 4 != 1) {
                ASSERT_EQ(byteAt(w, 8), v / 2) << x << "," << y;
            }
        }
    EXPECT_EQ(slots[1][127 * 256 + 255], 0xA9A9A900u); // grey sector, v = 169
}

TEST(Sunburst, SectorsUse3Point1415NotPi) {
    auto slots = proceduralSlots();
    int differing = 0;
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) {
            if (x % 4 == 1) continue; // black columns
            double d = dist(x, y), a = std::atan2(y - 127.5, x - 127.5);
            int s = (int)(a * 8 / 3.1415), sPi = (int)(a * 8 / M_PI);
            if (d < 32 || s % 2 == sPi % 2) continue;
            differing++;
            bool grey = (slots[1][y * 256 + x] >> 16) != 0;
            EXPECT_EQ(grey, s % 2 == 0) << x << "," << y;
        }
    EXPECT_GT(differing, 0);
}

TEST(NoiseSprite, AlphaLiesBetweenDistanceAndDistancePlus32) {
    auto slots = proceduralSlots();
    for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) {
            unsigned int w = slots[3][y * 256 + x], a = w & 255u;
            int d = (int)dist(x, y);
            ASSERT_GE((int)a, d);
            ASSERT_LE((int)a, d + 32);
            ASSERT_LE(a, 212u);
            unsigned int grey = w >> 8; // n1 * 65793, a 256 carries out of the top
            ASSERT_TRUE(grey == (grey & 255u) * 65793u || grey == 0x010100u) << std::hex << w;
        }
    for (int i : {127 * 256 + 127, 127 * 256 + 128, 128 * 256 + 127, 128 * 256 + 128})
        EXPECT_LE(slots[3][i] & 255u, 32u);
}

TEST(NoiseSprite, StartsFromTheWordTheRainbowLeft) {
    auto chained = proceduralSlots();
    std::vector<unsigned int> fresh(WORK_WORDS, 0u);
    makeNoiseSprite(fresh.data());
    EXPECT_NE(fnv1a(chained[3].data(), 65536 * 4), fnv1a(fresh.data(), 65536 * 4));
}

// Golden row hashes of the four textures in upload byte order, one line per
// row: "slot row hash". A mismatch names the first differing row and saves
// the texture; ISOLOOP_SAVE_GOLDEN=1 writes a fresh file to compare.
TEST(ProceduralGolden, EveryRowMatches) {
    std::vector<std::vector<unsigned char>> bytes(4);
    std::vector<unsigned int> work(WORK_WORDS, 0u);
    buildTextures(
        work.data(),
        [&](int slot, const unsigned char* b) {
            if (slot < 4) bytes[slot].assign(b, b + 65536 * 4);
        },
        "no-such-pack-file");
    std::ostringstream fresh;
    for (int s = 0; s < 4; s++)
        for (int r = 0; r < 256; r++)
            fresh << s << " " << r << " " << std::hex << fnv1a(bytes[s].data() + r * 1024, 1024)
                  << std::dec << "\n";
    if (savingGoldens()) {
        std::ofstream(std::string("procedural_rows.golden")) << fresh.str();
        printf("fresh golden written to procedural_rows.golden\n");
        return;
    }
    std::istringstream want(
        readFile(std::string(ISOLOOP_SOURCE_DIR) + "/tests/texture/golden/procedural_rows.golden"));
    std::istringstream got(fresh.str());
    std::string a, b;
    int line = 0;
    while (std::getline(want, a)) {
        ASSERT_TRUE(std::getline(got, b));
        if (a != b) {
            int s = line / 256, r = line % 256;
            std::string saved =
                saveActual("procedural_slot" + std::to_string(s), bytes[s].data(), bytes[s].size());
            FAIL() << "slot " << s << " first differs in row " << r << " (word " << r * 256
                   << "); actual texture saved to " << saved;
        }
        line++;
    }
    EXPECT_EQ(line, 4 * 256) << "golden file missing or short";
}
