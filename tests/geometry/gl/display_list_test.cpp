// Display lists under a real GL context (Mesa): preproc's two lists hold one
// polygon per triangle, and switch sphere-map generation off behind them.
#include "../mesh_helpers.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(DisplayLists, HoldEveryTriangleAndSwitchTexgenOff) {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_TRUE(SDL_SetVideoMode(64, 64, 0, SDL_OPENGL)) << SDL_GetError();
    glOrtho(-20, 20, -20, 20, -20, 20);
    static metaBuilder m;
    m.kickIn([](double x, double y, double z) { return int(x * x + y * y + z * z < 64); });
    GLuint base = glGenLists(2);
    m.preproc(int(base));
    EXPECT_EQ(m.listId, int(base));
    std::vector<GLfloat> buf(1 << 20);
    for (GLuint list : {base, base + 1}) {
        glFeedbackBuffer(GLsizei(buf.size()), GL_3D, buf.data());
        glRenderMode(GL_FEEDBACK);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
        glCallList(list);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S) || glIsEnabled(GL_TEXTURE_GEN_T)) << list;
        int n = glRenderMode(GL_RENDER), polygons = 0;
        for (int i = 0; i < n; i += 2 + 3 * 3, polygons++)
            ASSERT_TRUE(buf[i] == GL_POLYGON_TOKEN && buf[i + 1] == 3) << i;
        EXPECT_EQ(polygons, int(m.numTriangles)) << list;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    SDL_Quit();
}

} // namespace
