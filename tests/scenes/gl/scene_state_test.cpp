// The GL state each scene leaves for the next frame, and the branches that
// show in it: fog, blending, depth test, bound texture, current colour, the
// blend function and the modelview matrix.
#include "scene_fixture.h"
#include "scenes/scene_timing.h"
#include "scenes/scenes.h"

namespace {

using F4 = std::array<float, 4>;

void expectFog(float r, float g, float b, float density) {
    EXPECT_EQ(getFloats(GL_FOG_COLOR), (F4{r, g, b, 1.0f}));
    EXPECT_EQ(getFloats(GL_FOG_DENSITY)[0], density);
}

void expectColour(float r, float g, float b) {
    EXPECT_EQ(getFloats(GL_CURRENT_COLOR), (F4{r, g, b, 1.0f}));
}

// Blending off with the given function, depth test as given, texture slot
// bound, modelview current and balanced, no error.
void expectLeft(int slot, bool depth, GLint src = GL_SRC_ALPHA,
                GLint dst = GL_ONE_MINUS_SRC_ALPHA) {
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(getInt(GL_BLEND_SRC), src);
    EXPECT_EQ(getInt(GL_BLEND_DST), dst);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), depth ? GL_TRUE : GL_FALSE);
    EXPECT_EQ((unsigned)getInt(GL_TEXTURE_BINDING_2D), texture[slot]) << "slot " << slot;
    EXPECT_EQ(getInt(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(getInt(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

// Column-major rotation by deg degrees about z, as glRotatef builds it.
std::array<double, 16> zRotation(double deg) {
    double r = deg * M_PI / 180, c = std::cos(r), s = std::sin(r);
    return {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

TEST_F(SceneGL, Scene1KeepsInheritedFogDensityAndWallBranch) {
    glFogf(GL_FOG_DENSITY, 0.03f); // as scene 5 leaves it
    glColor3f(0.2f, 0.4f, 0.6f);
    for (int n : {3, 4, 8, 9}) {
        scene1(1.7, n, 0.625f);
        expectFog(0.625f, 0.625f, 0.625f, 0.03f);
        EXPECT_TRUE(glIsEnabled(GL_FOG));
        expectLeft(n >= 4 && n <= 8 ? 4 : 3, true); // the wall binds texture[4]
        expectColour(0.2f, 0.4f, 0.6f);
        EXPECT_TRUE(matrixNear(modelview(), zRotation(0), 0));
        EXPECT_EQ(getFloats(GL_COLOR_CLEAR_VALUE), (F4{0.0f, 0.3f, 0.5f, 1.0f}));
    }
}

TEST_F(SceneGL, CreditsPagesAndDepthTestLeftOff) {
    for (int n = 12; n <= 17; n++) {
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        scene_credits(2.0, n, 0.5f, 0.5f);
        expectLeft(10 + (n - 12) / 2, false);
        EXPECT_FALSE(glIsEnabled(GL_FOG));
        expectColour(0.75f, 0.75f, 0.75f); // 1 - funk / 2
        EXPECT_TRUE(matrixNear(modelview(), zRotation(0), 0));
    }
}

TEST_F(SceneGL, FogClearAndOverlayRotationOfScenes0To4) {
    glColor3f(1.0f, 0.9f, 0.8f);
    for (int n : {18, 23, 27}) {
        scene0(100.25, n);
        expectFog(0.8f, 1.0f, 0.9f, 0.01f);
        EXPECT_TRUE(glIsEnabled(GL_FOG));
        expectLeft(3, true);
        expectColour(1.0f, 0.9f, 0.8f);
        EXPECT_EQ(getFloats(GL_COLOR_CLEAR_VALUE), (F4{1, 1, 1, 1}));
        // The overlay turns by the scene's own clock: wrapped time plus the
        // jump sin(13.7 * 0.4 n).
        double s = wrappedSceneTime(100.25) + std::sin(n * 0.4 * 13.7);
        EXPECT_TRUE(matrixNear(modelview(), zRotation(jitterAngle(s)), 2e-6)) << n;
    }
    // Scene 3's overlay runs on the strip clock, 8 taken off while above 8.
    const double times[] = {8.0, 16.0, 16.5, 5.25}, reduced[] = {8.0, 8.0, 0.5, 5.25};
    for (int i = 0; i < 4; i++) {
        glColor3f(1, 1, 1);
        scene3(times[i], 31, 1.0f, 0.3f, 0.5f);
        expectFog(0.75f, 0.375f, 0.0f, 0.04f);
        expectLeft(3, true);
        expectColour(0, 0, 0);
        EXPECT_TRUE(matrixNear(modelview(), zRotation(jitterAngle(reduced[i])), 2e-6)) << i;
    }
    glColor3f(1, 1, 1);
    scene4(12.5, 40, 1.0f);
    expectFog(0.3f, 0.7f, 0.5f, 0.01f);
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    expectLeft(3, true);
    expectColour(0, 0, 0);
    EXPECT_TRUE(matrixNear(modelview(), zRotation(jitterAngle(12.5)), 2e-6));
    EXPECT_EQ(getFloats(GL_COLOR_CLEAR_VALUE), (F4{0.3f, 0.7f, 0.5f, 1}));
}

TEST_F(SceneGL, Scene5NeverSwitchesFogAndLeavesThinQuadState) {
    for (bool fogOn : {true, false}) {
        (fogOn ? glEnable : glDisable)(GL_FOG);
        scene5(3.0, 50, 0.5f, 0.25f);
        EXPECT_EQ(glIsEnabled(GL_FOG), fogOn ? GL_TRUE : GL_FALSE);
        float g = (float)(0.75 * 0.9); // (1 - flexer)(1 - funk / 5) in double
        expectFog(g, (float)(g * 0.4), (float)(g * 0.2), 0.03f);
        EXPECT_EQ(getFloats(GL_COLOR_CLEAR_VALUE), (F4{g, (float)(g * 0.4), (float)(g * 0.2), 1}));
        expectLeft(16, true, GL_ONE_MINUS_SRC_ALPHA, GL_ONE);
        // The thin quad's grey follows the shifted time.
        float v = (float)(std::sin(3.0 + 50 * 25.213) / 2 + 0.5);
        expectColour(v, v, v);
        EXPECT_TRUE(matrixNear(modelview(), zRotation(0), 0));
    }
}

TEST_F(SceneGL, SceneTableRoutesArgumentsInEachScenesOrder) {
    // Distinct pulses so a swapped argument shows in the state left behind.
    FramePlan p{};
    p.t = 16.5, p.funk = 1.0f, p.flexer = 0.25f, p.offsetaapje = 0.75f;
    p.scene = SCENE_CREDITS, p.n = 14;
    drawScene(p);
    expectColour(0.5f, 0.5f, 0.5f); // 1 - funk / 2, not 1 - flexer / 2
    expectLeft(11, false);
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
