// The upload under a real GL (Mesa under Xvfb): every slot's size, component
// count, filters and texels read back, with a pack and without one. The
// pattern pack's pictures are asymmetric and never grey, so a channel swap or
// a flipped row in the upload shows in the texels.
#include "../pack_fixture.h"

#include "texture/texture_atlas.h"
#include <GL/gl.h>
#include <SDL.h>
#include <set>

namespace {

class TextureUpload : public ::testing::Test {
  protected:
    TempDir dir;
    void SetUp() override {
        // Xvfb may refuse connections for a moment while the previous test process leaves.
        int tries = 0;
        while (SDL_Init(SDL_INIT_VIDEO) != 0 && ++tries < 30)
            SDL_Delay(100);
        ASSERT_LT(tries, 30) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(64, 64, 0, SDL_OPENGL), nullptr) << SDL_GetError();
        glEnable(GL_TEXTURE_2D);
    }
    void TearDown() override { SDL_Quit(); }

    // Size, internal format and filters of slot k, and texels equal to the
    // channels GL makes of the builder's bytes (alpha 255 for colour-only slots).
    void expectSlot(int k, const std::vector<unsigned char>& bytes) {
        const TextureSlot& s = kTextureSlots[k];
        ASSERT_TRUE(glIsTexture(texture[k])) << "slot " << k;
        glBindTexture(GL_TEXTURE_2D, texture[k]);
        GLint w, h, alphaBits, internal, minF, magF;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internal);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minF);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magF);
        std::set<GLint> three = {3, GL_RGB, GL_RGB8}, four = {4, GL_RGBA, GL_RGBA8};
        GLint filter = s.linear ? GL_LINEAR : GL_NEAREST;
        EXPECT_TRUE(w == s.width && h == s.height && minF == filter && magF == filter)
            << "slot " << k << ": " << w << "x" << h << " filters " << minF << "," << magF;
        EXPECT_TRUE((s.components == 3 ? three : four).count(internal)) << "slot " << k;
        EXPECT_EQ(alphaBits, s.components == 4 ? 8 : 0) << "slot " << k;
        std::vector<unsigned char> got((size_t)s.width * s.height * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, got.data());
        for (size_t i = 0; i < got.size(); i += 4) {
            unsigned char want[4];
            texelChannels(&bytes[i], s.format, want);
            if (s.components == 3) want[3] = 255;
            ASSERT_EQ(0, std::memcmp(&got[i], want, 4)) << "slot " << k << " texel " << i / 4;
        }
        EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    }
};

} // namespace

TEST_F(TextureUpload, EverySlotHasItsSizeFormatFiltersAndTexels) {
    installPack(dir, patternPictures());
    generateTexture();
    auto expected = buildSlots();
    std::set<unsigned int> names(texture, texture + 18);
    EXPECT_EQ(names.size(), 18u);
    EXPECT_EQ(texture[18] | texture[19], 0u);
    for (int k = 0; k < 18; k++)
        expectSlot(k, expected[k]);
}

TEST_F(TextureUpload, MissingPackStillYieldsAllEighteenTextures) {
    std::strcpy(workingDir, dir.path.c_str()); // an empty directory
    testing::internal::CaptureStdout();
    generateTexture();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("not found!"), std::string::npos);
    auto expected = buildSlots();
    for (int k = 0; k < 18; k++)
        expectSlot(k, expected[k]);
}
