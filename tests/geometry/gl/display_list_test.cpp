// Display lists under a real GL context (Mesa): preproc's two lists hold one
// polygon per triangle, and switch sphere-map generation off behind them.
#include "../mesh_helpers.h"

#include <GL/gl.h>
#include "app/egl/offscreen_gl.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(DisplayLists, HoldEveryTriangleAndSwitchTexgenOff) {
    OffscreenGL gl(64, 64);
    ASSERT_TRUE(gl.ok()) << gl.error();
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
}

} // namespace
