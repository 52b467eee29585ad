// Pixel probes of whole frames: each stages textures and empties mesh lists
// so that exactly the element under test decides the probed pixels.
#include "scene_fixture.h"
#include "scenes/gl/draw_patterns.h"
#include "scenes/gl/scenes.h"

#include <algorithm>
#include <vector>

namespace {

// The brightest channel of the whole 640 x 480 back buffer.
int brightest() {
    std::vector<unsigned char> px(640 * 480 * 4);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    int m = 0;
    for (size_t i = 0; i < px.size(); i++)
        m = std::max(m, i % 4 == 3 ? 0 : (int)px[i]);
    return m;
}

TEST_F(SceneGL, CreditsAtFunkTwoAndScene5AfterADrumHitAreBlack) {
    // Real textures and meshes: the credits draw in the grey 1 - funk / 2.
    glColor3f(1, 1, 1);
    for (int n : {12, 17}) {
        scene_credits(3.0, n, 1.0f, 2.0f);
        EXPECT_EQ(brightest(), 0) << n;
    }
    emptyAllLists();
    for (int k : {3, 16, 17})
        stageTexture(k);
    scene5(2.0, 50, 0.0f, 1.0f); // flexer 1: the clear colour is black
    EXPECT_EQ(brightest(), 0);
}

TEST_F(SceneGL, Scene0ClearAndFog) {
    emptyAllLists();
    stageTexture(3); // the current colour stays white
    // The backdrop at z = -48 fills the view; fog exp(-0.01 * 48) mixes it
    // with (0.8, 1.0, 0.9).
    const double f = std::exp(-0.48);
    for (int level : {255, 0}) {
        stageTexture(1, level, level, level, 255);
        scene0(10.0, 20);
        for (Rgba p : {pixelAt(320, 240), pixelAt(2, 2)})
            EXPECT_TRUE(near(p, std::lround(level * f + 255 * (1 - f) * 0.8),
                             std::lround(level * f + 255 * (1 - f)),
                             std::lround(level * f + 255 * (1 - f) * 0.9)))
                << level;
    }
}

TEST_F(SceneGL, QuadWithNegativeHalfSizesIsDrawnTurned) {
    // Asymmetric texture: red texel at (0, 0), blue elsewhere.
    const unsigned char texels[16] = {255, 0, 0,   255, 0, 0, 255, 255,
                                      0,   0, 255, 255, 0, 0, 255, 255};
    stageTexture(5);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glDisable(GL_FOG);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (double h : {0.3, -0.3}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBegin(GL_TRIANGLES);
        twoTriangleQuad(0, 0, h, h, -1);
        glEnd();
        // 0.15 units off centre at z = -1 is 0.15 / tan 30 * 240 = 62 px.
        EXPECT_TRUE(near(pixelAt(320 - 62, 240 - 62), h > 0 ? 255 : 0, 0, h > 0 ? 0 : 255)) << h;
        EXPECT_TRUE(near(pixelAt(320 + 62, 240 + 62), h > 0 ? 0 : 255, 0, h > 0 ? 255 : 0)) << h;
    }
}

} // namespace
