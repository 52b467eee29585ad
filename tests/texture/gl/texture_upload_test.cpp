// The upload under a real GL (Mesa under Xvfb) with no pack: all eighteen
// slots exist with their sizes, internal formats and filters, and their texels
// are the channels GL makes of the builder's bytes.
#include "../pack_fixture.h"

#include "texture/gl/texture_upload.h"
#include <GL/gl.h>
#include "app/egl/offscreen_gl.h"
#include <set>

TEST(TextureUpload, MissingPackStillYieldsAllEighteenTextures) {
    OffscreenGL gl(64, 64);
    ASSERT_TRUE(gl.ok()) << gl.error();
    glEnable(GL_TEXTURE_2D);
    TempDir dir;
    std::strcpy(workingDir, dir.path.c_str()); // an empty directory
    testing::internal::CaptureStdout();
    generateTexture();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("not found!"), std::string::npos);
    auto expected = buildSlots();
    // Width, height, components, linear filtering (else nearest).
    const int want[18][4] = {
        {256, 256, 3, 1}, {256, 256, 3, 1}, {256, 256, 3, 1}, {256, 256, 4, 0},  {512, 128, 4, 0},
        {128, 32, 4, 0},  {32, 8, 4, 0},    {16, 4, 4, 0},    {1024, 512, 4, 0}, {256, 128, 4, 0},
        {256, 256, 4, 1}, {256, 256, 4, 1}, {256, 256, 4, 1}, {256, 256, 4, 1},  {512, 256, 4, 1},
        {128, 256, 4, 1}, {256, 32, 4, 1},  {1024, 512, 4, 1}};
    EXPECT_EQ(std::set<unsigned int>(texture, texture + 18).size(), 18u);
    for (int k = 0; k < 18; k++) {
        ASSERT_TRUE(glIsTexture(texture[k])) << "slot " << k;
        glBindTexture(GL_TEXTURE_2D, texture[k]);
        GLint w, h, alphaBits, minF, magF;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minF);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magF);
        GLint filter = want[k][3] ? GL_LINEAR : GL_NEAREST;
        EXPECT_TRUE(w == want[k][0] && h == want[k][1] && minF == filter && magF == filter &&
                    alphaBits == (want[k][2] == 4 ? 8 : 0))
            << "slot " << k << ": " << w << "x" << h << " alpha " << alphaBits;
        std::vector<unsigned char> got((size_t)w * h * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, got.data());
        for (size_t i = 0; i < got.size() && i < expected[k].size(); i += 4) {
            unsigned char rgba[4];
            texelChannels(&expected[k][i], kTextureSlots[k].format, rgba);
            if (want[k][2] == 3) rgba[3] = 255;
            ASSERT_EQ(0, std::memcmp(&got[i], rgba, 4)) << "slot " << k << " texel " << i / 4;
        }
    }
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}
