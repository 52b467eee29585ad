// The fixed GL state every scene relies on, read back after the start-up
// steps that set it, in a window-less context.
#include "app/egl/offscreen_gl.h"
#include "app/gl/startup_steps.h"
#include "texture/gl/texture_upload.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <vector>

TEST(StartupGL, FixedStateForEveryScene) {
    OffscreenGL gl(640, 480);
    ASSERT_TRUE(gl.ok()) << gl.error();
    Startup startup(640, 480);
    ASSERT_EQ(startup.runUntil(Startup::SOLIDS), 0);
    std::vector<int> enabled;
    for (GLenum cap : {GL_DEPTH_TEST, GL_FOG, GL_CULL_FACE, GL_TEXTURE_2D, GL_LIGHTING,
                       GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T})
        enabled.push_back(glIsEnabled(cap));
    EXPECT_EQ(enabled, (std::vector<int>{1, 1, 1, 1, 0, 0, 0})); // the lists switch tex gen
    std::vector<GLint> v(6);
    glGetIntegerv(GL_DEPTH_FUNC, &v[0]);
    glGetIntegerv(GL_FOG_MODE, &v[1]);
    glGetIntegerv(GL_FRONT_FACE, &v[2]);
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &v[3]);
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &v[4]);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &v[5]);
    EXPECT_EQ(v, (std::vector<GLint>{GL_LESS, GL_EXP, GL_CCW, GL_SPHERE_MAP, GL_SPHERE_MAP,
                                     GL_MODULATE}));
    std::vector<float> fog(5); // density, then colour
    glGetFloatv(GL_FOG_DENSITY, &fog[0]);
    glGetFloatv(GL_FOG_COLOR, &fog[1]);
    EXPECT_EQ(fog, (std::vector<float>{0.05f, 1, 0.5f, 0, 1}));
    for (int k = 0; k < 18; k++)
        EXPECT_TRUE(glIsTexture(texture[k])) << "slot " << k;
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}
