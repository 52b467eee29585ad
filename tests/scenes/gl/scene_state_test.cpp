// The GL state each scene leaves for the next frame, and the branches that
// show in it: fog, blending, depth test, bound texture, current colour, the
// blend function and the modelview matrix.
#include "scene_fixture.h"
#include "scenes/scene_timing.h"
#include "scenes/scenes.h"

namespace {

void expectFog(float r, float g, float b, float density) {
    auto c = getFloat4(GL_FOG_COLOR);
    EXPECT_FLOAT_EQ(c[0], r);
    EXPECT_FLOAT_EQ(c[1], g);
    EXPECT_FLOAT_EQ(c[2], b);
    EXPECT_FLOAT_EQ(c[3], 1.0f);
    float d;
    glGetFloatv(GL_FOG_DENSITY, &d);
    EXPECT_FLOAT_EQ(d, density);
}

void expectBlend(GLint src, GLint dst) {
    EXPECT_EQ(getInt(GL_BLEND_SRC), src);
    EXPECT_EQ(getInt(GL_BLEND_DST), dst);
}

void expectColour(float r, float g, float b) {
    auto c = getFloat4(GL_CURRENT_COLOR);
    EXPECT_FLOAT_EQ(c[0], r);
    EXPECT_FLOAT_EQ(c[1], g);
    EXPECT_FLOAT_EQ(c[2], b);
}

void expectBound(int slot) {
    EXPECT_EQ((unsigned)getInt(GL_TEXTURE_BINDING_2D), texture[slot]) << "slot " << slot;
}

// Blending off, depth test as given, modelview current and balanced.
void expectCommon(bool depth) {
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), depth ? GL_TRUE : GL_FALSE);
    EXPECT_EQ(getInt(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(getInt(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

const std::array<double, 16> kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

TEST_F(SceneGL, Scene1KeepsInheritedFogDensityAndWallBranch) {
    glFogf(GL_FOG_DENSITY, 0.03f); // as scene 5 leaves it
    glColor3f(0.2f, 0.4f, 0.6f);
    for (int n : {3, 4, 8, 9}) {
        scene1(1.7, n, 0.625f);
        expectFog(0.625f, 0.625f, 0.625f, 0.03f);
        EXPECT_TRUE(glIsEnabled(GL_FOG));
        expectCommon(true);
        expectBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        expectBound(n >= 4 && n <= 8 ? 4 : 3); // the wall binds texture[4]
        expectColour(0.2f, 0.4f, 0.6f);
        EXPECT_TRUE(matrixNear(modelview(), kIdentity, 0));
        auto clear = getFloat4(GL_COLOR_CLEAR_VALUE);
        EXPECT_FLOAT_EQ(clear[1], 0.3f);
        EXPECT_FLOAT_EQ(clear[2], 0.5f);
    }
}

TEST_F(SceneGL, CreditsPagesAndDepthTestLeftOff) {
    const int page[] = {10, 10, 11, 11, 12, 12};
    for (int n = 12; n <= 17; n++) {
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        scene_credits(2.0, n, 0.5f, 0.5f);
        expectBound(page[n - 12]);
        expectCommon(false);
        EXPECT_FALSE(glIsEnabled(GL_FOG));
        expectBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        expectColour(0.75f, 0.75f, 0.75f); // 1 - funk / 2
        EXPECT_TRUE(matrixNear(modelview(), kIdentity, 0));
    }
}

TEST_F(SceneGL, Scene0FogAndOverlayRotation) {
    glColor3f(1.0f, 0.9f, 0.8f);
    for (int n : {18, 23, 27}) {
        double t = 100.25;
        scene0(t, n);
        expectFog(0.8f, 1.0f, 0.9f, 0.01f);
        EXPECT_TRUE(glIsEnabled(GL_FOG));
        expectCommon(true);
        expectBound(3);
        expectColour(1.0f, 0.9f, 0.8f);
        auto clear = getFloat4(GL_COLOR_CLEAR_VALUE);
        EXPECT_EQ(clear[0] + clear[1] + clear[2], 3.0f);
        // The overlay turns by the scene's own clock: wrapped time plus the
        // jump sin(13.7 * 0.4 n).
        double s = wrappedSceneTime(t) + std::sin(n * 0.4 * 13.7);
        EXPECT_TRUE(matrixNear(modelview(), zRotation(jitterAngle(s)), 2e-6)) << n;
    }
}

TEST_F(SceneGL, Scene3FogColourBlackStripsAndReducedOverlayTime) {
    const double times[] = {8.0, 16.0, 16.5, 5.25};
    const double reduced[] = {8.0, 8.0, 0.5, 5.25};
    for (int i = 0; i < 4; i++) {
        glColor3f(1, 1, 1);
        scene3(times[i], 31, 1.0f, 0.3f, 0.5f);
        expectFog(0.75f, 0.375f, 0.0f, 0.04f);
        expectCommon(true);
        expectBound(3);
        expectColour(0, 0, 0);
        expectBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        EXPECT_TRUE(matrixNear(modelview(), zRotation(jitterAngle(reduced[i])), 2e-6)) << i;
    }
}

TEST_F(SceneGL, Scene4SeaGreenAndOverlay) {
    glColor3f(1, 1, 1);
    scene4(12.5, 40, 1.0f);
    expectFog(0.3f, 0.7f, 0.5f, 0.01f);
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    expectCommon(true);
    expectBound(3);
    expectColour(0, 0, 0);
    expectBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_TRUE(matrixNear(modelview(), zRotation(jitterAngle(12.5)), 2e-6));
    auto clear = getFloat4(GL_COLOR_CLEAR_VALUE);
    EXPECT_FLOAT_EQ(clear[0], 0.3f);
    EXPECT_FLOAT_EQ(clear[1], 0.7f);
    EXPECT_FLOAT_EQ(clear[2], 0.5f);
}

TEST_F(SceneGL, Scene5NeverSwitchesFogAndLeavesThinQuadState) {
    for (bool fogOn : {true, false}) {
        if (fogOn)
            glEnable(GL_FOG);
        else
            glDisable(GL_FOG);
        double t = 3.0;
        scene5(t, 50, 0.5f, 0.25f);
        EXPECT_EQ(glIsEnabled(GL_FOG), fogOn ? GL_TRUE : GL_FALSE);
        // g = (1 - 0.25)(1 - 0.1) in double.
        float g = (float)(0.75 * 0.9);
        expectFog(g, (float)(g * 0.4), (float)(g * 0.2), 0.03f);
        auto clear = getFloat4(GL_COLOR_CLEAR_VALUE);
        EXPECT_FLOAT_EQ(clear[0], g);
        EXPECT_FLOAT_EQ(clear[1], (float)(g * 0.4));
        expectCommon(true);
        expectBound(16);
        expectBlend(GL_ONE_MINUS_SRC_ALPHA, GL_ONE);
        // The thin quad's grey follows the shifted time.
        float v = (float)(std::sin(t + 50 * 25.213) / 2 + 0.5);
        expectColour(v, v, v);
        EXPECT_TRUE(matrixNear(modelview(), kIdentity, 0));
    }
}

TEST_F(SceneGL, SceneTableRoutesArgumentsInEachScenesOrder) {
    // Distinct pulses so a swapped argument shows in the state left behind.
    FramePlan p{};
    p.t = 16.5;
    p.funk = 1.0f;
    p.flexer = 0.25f;
    p.offsetaapje = 0.75f;

    p.scene = SCENE_CREDITS, p.n = 14;
    drawScene(p);
    expectColour(0.5f, 0.5f, 0.5f); // 1 - funk / 2, not 1 - flexer / 2
    expectBound(11);

    p.scene = SCENE_1, p.n = 2;
    drawScene(p);
    expectFog(1.0f, 1.0f, 1.0f, 0.05f); // funk, not flexer

    p.scene = SCENE_5, p.n = 52;
    drawScene(p);
    float g = (float)((1.0 - 0.25) * (1 - 1.0 * 0.2));
    expectFog(g, (float)(g * 0.4), (float)(g * 0.2), 0.03f);

    p.scene = SCENE_3, p.n = 30;
    drawScene(p);
    expectFog(0.75f, 0.375f, 0.0f, 0.04f);

    p.scene = SCENE_NONE;
    glColor3f(0.1f, 0.2f, 0.3f);
    drawScene(p);
    expectColour(0.1f, 0.2f, 0.3f);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

} // namespace
