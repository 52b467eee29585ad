// The upload under a real GL (Mesa under Xvfb): every slot's size, component
// count, filters and texels read back, with a pack and without one.
#include "../pack_fixture.h"

#include "texture/texture_atlas.h"
#include "texture/texture_builder.h"
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <set>

namespace {

class TextureUpload : public ::testing::Test {
  protected:
    TempDir dir;
    void SetUp() override {
        // Xvfb resets when its last client leaves and refuses connections
        // meanwhile; the previous test process may just have left.
        int tries = 0;
        while (SDL_Init(SDL_INIT_VIDEO) != 0 && ++tries < 30)
            SDL_Delay(100);
        ASSERT_LT(tries, 30) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(64, 64, 0, SDL_OPENGL), nullptr) << SDL_GetError();
        glEnable(GL_TEXTURE_2D);
    }
    void TearDown() override { SDL_Quit(); }

    // The slots as the builder makes them from the pack now installed.
    std::vector<std::vector<unsigned char>> built() {
        std::vector<std::vector<unsigned char>> out;
        std::vector<unsigned int> work(WORK_WORDS, 0u);
        buildTextures(work.data(), [&](int slot, const unsigned char* b) {
            const TextureSlot& s = kTextureSlots[slot];
            out.emplace_back(b, b + (size_t)s.width * s.height * 4);
        });
        return out;
    }

    void expectSlotState(int slot) {
        const TextureSlot& s = kTextureSlots[slot];
        ASSERT_TRUE(glIsTexture(texture[slot])) << "slot " << slot;
        glBindTexture(GL_TEXTURE_2D, texture[slot]);
        GLint w, h, alphaBits, redBits, internal, minF, magF;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internal);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_RED_SIZE, &redBits);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minF);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magF);
        EXPECT_EQ(w, s.width) << "slot " << slot;
        EXPECT_EQ(h, s.height) << "slot " << slot;
        std::set<GLint> three = {3, GL_RGB, GL_RGB8}, four = {4, GL_RGBA, GL_RGBA8};
        EXPECT_TRUE((s.components == 3 ? three : four).count(internal))
            << "slot " << slot << " internal format " << internal;
        EXPECT_EQ(redBits, 8) << "slot " << slot;
        EXPECT_EQ(alphaBits, s.components == 4 ? 8 : 0) << "slot " << slot;
        GLint filter = s.linear ? GL_LINEAR : GL_NEAREST;
        EXPECT_EQ(minF, filter) << "slot " << slot;
        EXPECT_EQ(magF, filter) << "slot " << slot;
        EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    }

    // Reads a slot back as RGBA bytes and compares with the channels GL
    // makes of the builder's bytes (alpha 255 for colour-only slots).
    void expectSlotTexels(int slot, const std::vector<unsigned char>& bytes) {
        const TextureSlot& s = kTextureSlots[slot];
        std::vector<unsigned char> got((size_t)s.width * s.height * 4);
        glBindTexture(GL_TEXTURE_2D, texture[slot]);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, got.data());
        for (size_t i = 0; i < got.size() / 4; i++) {
            unsigned char want[4];
            texelChannels(&bytes[4 * i], s.format, want);
            if (s.components == 3) want[3] = 255;
            ASSERT_EQ(0, std::memcmp(&got[4 * i], want, 4))
                << "slot " << slot << " texel " << i << ": got " << (int)got[4 * i] << ","
                << (int)got[4 * i + 1] << "," << (int)got[4 * i + 2] << "," << (int)got[4 * i + 3];
        }
    }
};

} // namespace

TEST_F(TextureUpload, EverySlotHasItsSizeFormatFiltersAndTexels) {
    installPack(dir, patternPictures());
    generateTexture();
    std::set<unsigned int> names;
    for (int k = 0; k < 18; k++) {
        expectSlotState(k);
        names.insert(texture[k]);
    }
    EXPECT_EQ(names.size(), 18u);
    EXPECT_EQ(texture[18], 0u);
    EXPECT_EQ(texture[19], 0u);
    auto expected = built();
    for (int k = 0; k < 18; k++)
        expectSlotTexels(k, expected[k]);
}

TEST_F(TextureUpload, ChannelOrderOfBgraAndRgbaSlots) {
    // Red on blue, no symmetry: palette entry 1 is red 220, green 30, blue 0
    // (brightness 83) in the left third, entry 0 is pure blue elsewhere.
    std::vector<PackPicture> pictures = patternPictures();
    for (int k = 0; k < 11; k++) {
        PackPicture& p = pictures[k];
        std::memset(p.palette, 0, sizeof p.palette);
        p.palette[0] = 255;                    // entry 0: blue
        p.palette[5] = 30, p.palette[6] = 220; // entry 1: red 220, green 30
        int w = kPackImages[k].width;
        for (size_t i = 0; i < p.index.size(); i++)
            p.index[i] = (int)(i % w) < w / 3 ? 1 : 0;
    }
    installPack(dir, pictures);
    generateTexture();
    auto texel = [](int slot, int x) {
        std::vector<unsigned char> all((size_t)kTextureSlots[slot].width *
                                       kTextureSlots[slot].height * 4);
        glBindTexture(GL_TEXTURE_2D, texture[slot]);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, all.data());
        return std::vector<unsigned char>(&all[4 * x], &all[4 * x] + 4);
    };
    using V = std::vector<unsigned char>;
    EXPECT_EQ(texel(10, 0), (V{30, 220, 83, 0}));  // BGRA: red = palette green
    EXPECT_EQ(texel(10, 255), (V{0, 0, 85, 255})); // blue 255 became alpha
    EXPECT_EQ(texel(11, 0), (V{83, 220, 30, 0}));  // RGBA: red = brightness
    EXPECT_EQ(texel(11, 255), (V{85, 0, 0, 255}));
}

TEST_F(TextureUpload, MissingPackStillYieldsAllEighteenTextures) {
    std::strcpy(workingDir, dir.path.c_str()); // an empty directory
    testing::internal::CaptureStdout();
    generateTexture();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("not found!"), std::string::npos);
    for (int k = 0; k < 18; k++)
        expectSlotState(k);
    auto expected = built();
    expectSlotTexels(4, expected[4]); // the sprite's words, taken as 512 x 128
}
