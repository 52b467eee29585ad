// Start-up's GL side in-process under Xvfb: the projection, the fixed state
// every scene relies on, and event polling.
#include "app/gl_setup.h"
#include "app/startup.h"
#include "texture/texture_atlas.h"

#include <GL/gl.h>
#include <cmath>
#include <gtest/gtest.h>

namespace {

class StartupGL : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_EQ(createSurface(0), 0);
    }
    void TearDown() override { SDL_Quit(); }
};

TEST_F(StartupGL, WindowIs640x480) {
    EXPECT_EQ(gScreen->w, 640);
    EXPECT_EQ(gScreen->h, 480);
    EXPECT_TRUE(gScreen->flags & SDL_OPENGL);
    EXPECT_FALSE(gScreen->flags & SDL_FULLSCREEN);
}

TEST_F(StartupGL, ProjectionIsA60DegreePerspectiveWithoutReset) {
    // A matrix left on the projection stack must survive: no glLoadIdentity.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(2, 1, 1);
    setProjection(640, 480);
    GLint mode, vp[4];
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(mode, GL_PROJECTION);
    EXPECT_EQ(vp[2], 640);
    EXPECT_EQ(vp[3], 480);
    float m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    double f = 1.0 / std::tan(30.0 * M_PI / 180.0);
    double aspect = (float)640 / (float)480;
    EXPECT_NEAR(m[0], 2 * f / aspect, 1e-5);
    EXPECT_NEAR(m[5], f, 1e-5);
    EXPECT_NEAR(m[10], (256.0 + 0.1) / (0.1 - 256.0), 1e-5);
    EXPECT_NEAR(m[14], 2 * 256.0 * 0.1 / (0.1 - 256.0), 1e-5);
    EXPECT_EQ(m[11], -1.0f);
}

TEST_F(StartupGL, FixedStateForEveryScene) {
    setProjection(640, 480);
    setFixedState();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S)); // the display lists switch it
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    GLint v;
    glGetIntegerv(GL_DEPTH_FUNC, &v);
    EXPECT_EQ(v, GL_LESS);
    glGetIntegerv(GL_FOG_MODE, &v);
    EXPECT_EQ(v, GL_EXP);
    glGetIntegerv(GL_FRONT_FACE, &v);
    EXPECT_EQ(v, GL_CCW);
    float density, colour[4];
    glGetFloatv(GL_FOG_DENSITY, &density);
    glGetFloatv(GL_FOG_COLOR, colour);
    EXPECT_FLOAT_EQ(density, 0.05f);
    EXPECT_FLOAT_EQ(colour[0], 1.0f);
    EXPECT_FLOAT_EQ(colour[1], 0.5f);
    EXPECT_FLOAT_EQ(colour[2], 0.0f);
    EXPECT_FLOAT_EQ(colour[3], 1.0f);
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &v);
    EXPECT_EQ(v, GL_SPHERE_MAP);
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &v);
    EXPECT_EQ(v, GL_SPHERE_MAP);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &v);
    EXPECT_EQ(v, GL_MODULATE);
    for (int k = 0; k < 18; k++)
        EXPECT_TRUE(glIsTexture(texture[k])) << "slot " << k;
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

void pushKey(Uint8 type, SDLKey sym) {
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    SDL_PushEvent(&e);
}

TEST_F(StartupGL, EventsQuitOnlyOnEscapePressOrQuit) {
    while (handleEvents() == 0) {
    }
    pushKey(SDL_KEYUP, SDLK_ESCAPE);
    pushKey(SDL_KEYDOWN, SDLK_SPACE);
    EXPECT_EQ(handleEvents(), 1);
    pushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    EXPECT_EQ(handleEvents(), 0);
    // Events behind a quit stay queued for later.
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    pushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    EXPECT_EQ(handleEvents(), 0);
    SDL_Event left;
    ASSERT_EQ(SDL_PollEvent(&left), 1);
    EXPECT_EQ(left.type, SDL_KEYDOWN);
}

} // namespace
