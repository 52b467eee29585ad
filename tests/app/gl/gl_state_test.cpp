// The fixed GL state every scene relies on, seen through what it does to
// pixels after the start-up steps that set it, in a window-less context:
// orange exponential fog of density 0.05 with no lighting, a depth test that
// lets only nearer fragments through, counter-clockwise front faces with the
// backs culled, and the eighteen texture slots filled.
#include "app/egl/offscreen_gl.h"
#include "app/gl/startup_steps.h"
#include "texture/gl/texture_upload.h"

#include <GL/gl.h>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace {

// A square facing the eye at depth z, a little larger than the view's centre,
// wound counter-clockwise (as seen) unless clockwise is asked for.
void square(float z, bool clockwise = false) {
    float s = -z * 0.1f;
    glBegin(GL_QUADS);
    if (clockwise) {
        glVertex3f(-s, -s, z);
        glVertex3f(-s, s, z);
        glVertex3f(s, s, z);
        glVertex3f(s, -s, z);
    } else {
        glVertex3f(-s, -s, z);
        glVertex3f(s, -s, z);
        glVertex3f(s, s, z);
        glVertex3f(-s, s, z);
    }
    glEnd();
}

struct Rgb {
    int r, g, b;
};

Rgb centre() {
    std::string px = readPixelsTopDown(640, 480);
    size_t at = (240 * 640 + 320) * 3;
    return {(unsigned char)px[at], (unsigned char)px[at + 1], (unsigned char)px[at + 2]};
}

void expectNear(Rgb got, double r, double g, double b, const char* what) {
    EXPECT_NEAR(got.r, r * 255, 3) << what;
    EXPECT_NEAR(got.g, g * 255, 3) << what;
    EXPECT_NEAR(got.b, b * 255, 3) << what;
}

class StartupGL : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok()) << gl.error();
        ASSERT_EQ(startup.runUntil(Startup::SOLIDS), 0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glBindTexture(GL_TEXTURE_2D, 0); // no image: untextured colour
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    OffscreenGL gl{640, 480};
    Startup startup{640, 480};
};

TEST_F(StartupGL, WhiteAtDistanceTenIsFoggedOrangeByExpDensityPointZeroFive) {
    // A normal that lighting would darken: lighting stays off.
    glNormal3f(0, 0, -1);
    glColor3f(1, 1, 1);
    square(-10);
    double f = std::exp(-0.05 * 10); // GL_EXP: the share of the fragment's own colour
    expectNear(centre(), 1, f + (1 - f) * 0.5, f, "white at distance 10");
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

TEST_F(StartupGL, OnlyNearerFragmentsPassAndBackFacesAreCulled) {
    glDisable(GL_FOG);
    glColor3f(1, 0, 0);
    square(-5);
    glColor3f(0, 1, 0);
    square(-8); // farther: hidden
    expectNear(centre(), 1, 0, 0, "a farther square behind a nearer one");
    glColor3f(0, 0, 1);
    square(-5); // the same depth: GL_LESS, not GL_LEQUAL, keeps the first
    expectNear(centre(), 1, 0, 0, "a square at the same depth");
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(0, 1, 0);
    square(-5, true); // its back faces the eye
    expectNear(centre(), 0, 0, 0, "a clockwise square");
    square(-5);
    expectNear(centre(), 0, 1, 0, "the same square counter-clockwise");
    glEnable(GL_FOG);
}

TEST_F(StartupGL, EighteenTextureSlotsHoldTextures) {
    for (int k = 0; k < 18; k++)
        EXPECT_TRUE(glIsTexture(texture[k])) << "slot " << k;
}

} // namespace
