// Pixel probes of whole frames: each stages textures and empties mesh lists
// so that exactly the element under test decides the probed pixels.
#include "scene_fixture.h"
#include "scenes/draw_patterns.h"
#include "scenes/scene_timing.h"
#include "scenes/scenes.h"

#include <vector>

namespace {

// The brightest channel of the whole 640 x 480 back buffer.
int brightest() {
    std::vector<unsigned char> px(640 * 480 * 4);
    glFinish();
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    int m = 0;
    for (size_t i = 0; i < px.size(); i++)
        m = std::max(m, i % 4 == 3 ? 0 : (int)px[i]);
    return m;
}

// A black strip at z = -1 under scene 3's fog for funk = 0.5, whose colour is
// (0.875, 0.4375, 0): 4% of it shows through.
::testing::AssertionResult stripBlack(Rgba p) {
    double k = 255 * (1 - std::exp(-0.04));
    return near(p, (int)std::lround(k * 0.875), (int)std::lround(k * 0.4375), 0);
}

TEST_F(SceneGL, CreditsAtFunkTwoAreBlack) {
    // Real textures and meshes: everything is drawn in the grey 1 - funk / 2.
    glColor3f(1, 1, 1);
    for (int n : {12, 15, 17})
        for (float funk : {2.0f, 2.5f}) { // a negative grey clamps to black
            scene_credits(3.0, n, 1.0f, funk);
            EXPECT_EQ(brightest(), 0) << n << " " << funk;
        }
}

TEST_F(SceneGL, CreditsBackdropShowsThePage) {
    emptyAllLists();
    stageTexture(3);
    stageTexture(10, 200, 100, 50, 0); // page: transparent on the grid
    scene_credits(0.0, 12, 0.0f, 0.0f);
    // The backdrop spans +-14.784 at z = -48, 14.784 / (48 tan 30) of the half
    // height, unfogged, in grey 1.
    EXPECT_TRUE(near(pixelAt(320, 240), 200, 100, 50));
    EXPECT_TRUE(near(pixelAt(320, 240 + 122), 200, 100, 50));
    EXPECT_TRUE(near(pixelAt(320, 240 + 134), 0, 0, 0));
    EXPECT_TRUE(near(pixelAt(320, 5), 0, 0, 0));
}

TEST_F(SceneGL, Scene5ClearsToBlackAfterADrumHitAndItsLargeQuadFollowsParityAndTime) {
    emptyAllLists();
    stageTexture(3);
    stageTexture(16);
    stageTexture(17);
    for (float flexer : {1.0f, 1.3f}) {
        scene5(2.0, 50, 0.0f, flexer);
        EXPECT_EQ(brightest(), 0) << flexer;
    }
    scene5(2.0, 50, 6.0f, 1.5f); // both factors negative: g is positive again
    EXPECT_FLOAT_EQ(getFloats(GL_COLOR_CLEAR_VALUE)[0], (float)(-0.5 * (1 - 6 * 0.2)));
    glDisable(GL_FOG); // the scene never switches fog: keep the quads unfogged
    // Transparent black is hidden by the normal blend only: odd n inverts it.
    scene5(2.0, 49, 0.0f, 0.0f);
    EXPECT_TRUE(near(pixelAt(320, 240), 0, 0, 0));
    scene5(2.0, 50, 0.0f, 0.0f); // as the pulse decays the reddish background returns
    EXPECT_TRUE(near(pixelAt(320, 240), 255, 102, 51));
    EXPECT_TRUE(near(pixelAt(630, 470), 255, 102, 51));
    // Even n: the opaque quad steps by t shifted 1210.224 s for n = 48: t = 0.9
    // gives step 3 (low), unshifted it would give step 0 (high). funk = 0.5
    // dims the clear to 0.9.
    stageTexture(17, 0, 0, 0, 255);
    ASSERT_EQ(quarterStep(0.9 + 48 * 25.213), 3);
    scene5(0.9, 48, 0.5f, 0.0f);
    EXPECT_TRUE(near(pixelAt(320, 10), 0, 0, 0));
    EXPECT_TRUE(near(pixelAt(320, 470), 230, 92, 46));
    ASSERT_EQ(quarterStep(1.8 + 48 * 25.213), 0);
    scene5(1.8, 48, 0.5f, 0.0f);
    EXPECT_TRUE(near(pixelAt(320, 10), 230, 92, 46));
    EXPECT_TRUE(near(pixelAt(320, 470), 0, 0, 0));
}

TEST_F(SceneGL, Scene0ClearFogAndInheritedDepthTest) {
    emptyAllLists();
    stageTexture(3);
    glColor3f(1, 1, 1);
    // The backdrop at z = -48 fills the view; fog exp(-0.01 * 48) mixes it
    // with (0.8, 1.0, 0.9).
    double f = std::exp(-0.48);
    stageTexture(1, 255, 255, 255, 255);
    scene0(10.0, 20);
    int r = (int)std::lround(255 * (f + (1 - f) * 0.8)),
        b = (int)std::lround(255 * (f + (1 - f) * 0.9));
    EXPECT_TRUE(near(pixelAt(320, 240), r, 255, b));
    EXPECT_TRUE(near(pixelAt(2, 2), r, 255, b));
    stageTexture(1, 0, 0, 0, 255);
    scene0(10.0, 20);
    EXPECT_TRUE(near(pixelAt(320, 240), (int)std::lround(255 * (1 - f) * 0.8),
                     (int)std::lround(255 * (1 - f)), (int)std::lround(255 * (1 - f) * 0.9)));
    // The forest list, staged as a red wall at z = -60 in the identity view,
    // lies behind the backdrop: it shows only while depth testing is off, as
    // in the first frame after the credits.
    stageTexture(0, 255, 0, 0, 255);
    stageTexture(1, 0, 255, 0, 255);
    glNewList(stoned_forest.listId + 1, GL_COMPILE);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_TRIANGLES);
    twoTriangleQuad(0, 0, 60, 60, -60);
    glEnd();
    glPopMatrix();
    glEndList();
    glDisable(GL_DEPTH_TEST);
    scene0(1.0, 19);
    // Red fogged at distance 60: green only from the fog, 255 (1 - e^-0.6).
    EXPECT_NEAR(pixelAt(320, 240)[1], 255 * (1 - std::exp(-0.6)), 3);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)); // the overlay switched it on
    scene0(1.0, 19);
    EXPECT_EQ(pixelAt(320, 240)[1], 255); // the backdrop wins now
}

TEST_F(SceneGL, Scene1WallOnlyForHitsFourToEight) {
    emptyAllLists();
    stageTexture(3);
    stageTexture(4, 255, 0, 0, 255);
    glFogf(GL_FOG_DENSITY, 0.0f); // inherited: the wall stays unfogged
    glColor3f(1, 1, 1);
    for (int n : {3, 4, 8, 9}) {
        scene1(0.5, n, 0.0f);
        bool wall = n >= 4 && n <= 8;
        EXPECT_TRUE(near(pixelAt(320, 240), wall ? 255 : 0, wall ? 0 : 77, wall ? 0 : 128)) << n;
    }
}

TEST_F(SceneGL, Scene3StripTextureFollowsUnreducedTimeAndFlipsPastFlexerOneQuarter) {
    emptyAllLists();
    stageTexture(3);
    stageTexture(8, 255, 255, 255, 255); // even k: opaque, the strip shows black
    stageTexture(9);                     // odd k: transparent
    // Times whose own k and whose reduced time's k differ in parity.
    int checked = 0;
    for (double t = 8.25; t < 40 && checked < 4; t += 0.37) {
        int k = stripSelector(t);
        if ((k & 1) == (stripSelector(reduceTime8(t)) & 1)) continue;
        scene3(t, 30, 0.5f, 0.0f, 0.0f);
        EXPECT_TRUE((k & 1) ? near(pixelAt(320, 240), 230, 102, 0) : stripBlack(pixelAt(320, 240)))
            << t;
        checked++;
    }
    EXPECT_EQ(checked, 4);
    stageTexture(9, 255, 255, 255, 255);
    scene3(4.0, 30, 0.5f, 0.0f, 1.25f); // width 0: both quads are points
    EXPECT_TRUE(near(pixelAt(320, 240), 230, 102, 0));
    scene3(4.0, 30, 0.5f, 0.0f, 2.0f); // negative width: turned half a turn, still drawn
    EXPECT_TRUE(stripBlack(pixelAt(320, 240)));
}

TEST_F(SceneGL, QuadWithNegativeHalfSizesIsDrawnTurnedAndOverlayCoversTheView) {
    // Asymmetric texture: red texel at (0, 0), blue elsewhere.
    const unsigned char texels[16] = {255, 0, 0,   255, 0, 0, 255, 255,
                                      0,   0, 255, 255, 0, 0, 255, 255};
    stageTexture(5);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glDisable(GL_FOG);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 1, 1);
    for (double h : {0.3, -0.3}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBegin(GL_TRIANGLES);
        twoTriangleQuad(0, 0, h, h, -1);
        glEnd();
        // 0.15 units off centre at z = -1 is 0.15 / tan 30 * 240 = 62 px.
        EXPECT_TRUE(near(pixelAt(320 - 62, 240 - 62), h > 0 ? 255 : 0, 0, h > 0 ? 0 : 255)) << h;
        EXPECT_TRUE(near(pixelAt(320 + 62, 240 + 62), h > 0 ? 0 : 255, 0, h > 0 ? 255 : 0)) << h;
    }
    stageTexture(3, 0, 0, 255, 255);
    for (double s : {0.0, 0.1, 0.55, 1.3}) {
        glLoadIdentity();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor3f(1, 1, 1);
        jitterOverlay(s);
        for (auto xy : {std::array<int, 2>{0, 0}, {639, 0}, {0, 479}, {639, 479}, {320, 240}})
            EXPECT_TRUE(near(pixelAt(xy[0], xy[1]), 0, 0, 255)) << s;
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    }
}

} // namespace
