// Display lists under a real GL context (Mesa): preproc's two lists hold every
// triangle with the right normals, switch sphere-map generation off behind
// them, carry no NaN, and show the solids' outsides with back-face culling.
#include "../mesh_helpers.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <cmath>
#include <vector>

namespace {

class DisplayLists : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        ASSERT_TRUE(SDL_SetVideoMode(64, 64, 0, SDL_OPENGL)) << SDL_GetError();
        // The state start-up leaves for the lists: 2-D texturing on (feedback
        // reports generated coordinates only then), sphere-map generation set.
        const unsigned char texel[4] = {255, 255, 255, 255};
        glTexImage2D(GL_TEXTURE_2D, 0, 4, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        glEnable(GL_TEXTURE_2D);
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glMatrixMode(GL_PROJECTION);
        glOrtho(-20, 20, -20, 20, -20, 20);
        glMatrixMode(GL_MODELVIEW);
    }
    void TearDown() override { SDL_Quit(); }

    // Bakes m into two fresh lists; the flat one's id.
    GLuint bake(metaBuilder& m) {
        GLuint base = glGenLists(2);
        m.preproc(int(base));
        EXPECT_EQ(m.listId, int(base));
        EXPECT_TRUE(glIsList(base) && glIsList(base + 1));
        return base;
    }

    // Replays a list in feedback mode: window x, y and the generated s, t of
    // every vertex, in order, each triangle one polygon token. Generation
    // must be off again behind the list.
    struct fedVertex {
        float x, y, s, t;
    };
    std::vector<fedVertex> feedback(GLuint list) {
        std::vector<GLfloat> buf(1 << 20);
        glFeedbackBuffer(GLsizei(buf.size()), GL_3D_COLOR_TEXTURE, buf.data());
        glRenderMode(GL_FEEDBACK);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
        glCallList(list);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S) || glIsEnabled(GL_TEXTURE_GEN_T)) << list;
        int n = glRenderMode(GL_RENDER);
        std::vector<fedVertex> out;
        for (int i = 0; i < n; i += 2 + 3 * 11) {
            EXPECT_TRUE(buf[i] == GL_POLYGON_TOKEN && buf[i + 1] == 3) << i;
            for (int k = i + 2; k < i + 2 + 3 * 11; k += 11)
                out.push_back({buf[k], buf[k + 1], buf[k + 7], buf[k + 8]});
        }
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        return out;
    }
};

// Sphere-map coordinates for an eye-space position p and normal n (GL's
// formula; the normal is used as given, not renormalised). False where the
// reflection points straight back at the eye and GL's formula divides by 0.
bool sphereMap(const vector3& p, const vector3& n, double* s, double* t) {
    double len = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    double u[3] = {p.x / len, p.y / len, p.z / len};
    double d = n.x * u[0] + n.y * u[1] + n.z * u[2];
    double r[3] = {u[0] - 2 * n.x * d, u[1] - 2 * n.y * d, u[2] - 2 * n.z * d};
    double m = 2 * std::sqrt(r[0] * r[0] + r[1] * r[1] + (r[2] + 1) * (r[2] + 1));
    *s = r[0] / m + 0.5;
    *t = r[1] / m + 0.5;
    return m > 1e-3;
}

// The flat list carries the face normals, the smooth one the half-length
// vertex normals; window coordinates of a 64x64 viewport over [-20, 20].
TEST_F(DisplayLists, ListsHoldEveryTriangleWithFaceOrVertexNormals) {
    static metaBuilder m;
    m.kickIn([](double x, double y, double z) { return int(x * x + y * y + z * z < 64); });
    GLuint base = bake(m);
    std::vector<fedVertex> flat = feedback(base), smooth = feedback(base + 1);
    ASSERT_EQ(flat.size(), 3 * size_t(m.numTriangles));
    ASSERT_EQ(smooth.size(), flat.size());
    for (uint32_t i = 0; i < m.numTriangles; i++)
        for (int k = 0; k < 3; k++) {
            uint16_t v = m.triangles[i].v[k];
            const vector3& p = m.vertices[v];
            const fedVertex &f = flat[3 * i + k], &g = smooth[3 * i + k];
            ASSERT_NEAR(f.x, 32 + 1.6 * p.x, 1e-3) << i;
            ASSERT_NEAR(f.y, 32 + 1.6 * p.y, 1e-3) << i;
            ASSERT_EQ(g.x, f.x);
            double s, t; // skipped where GL's formula divides by zero
            bool fs = sphereMap(p, m.faceNormals[i], &s, &t);
            ASSERT_TRUE(!fs || (std::fabs(f.s - s) < 1e-3 && std::fabs(f.t - t) < 1e-3)) << i;
            bool gs = sphereMap(p, m.normals[v], &s, &t); // half-length normal
            ASSERT_TRUE(!gs || (std::fabs(g.s - s) < 1e-3 && std::fabs(g.t - t) < 1e-3)) << i;
        }
}

// An empty mesh still gives two valid lists; zero-length normals (a collinear
// triangle, two faces that cancel) put no NaN into them: the collinear
// triangle's view ray comes back unreflected.
TEST_F(DisplayLists, EmptyAndDegenerateMeshesGiveCleanLists) {
    static metaBuilder m;
    m.kickIn([](double, double, double) { return 0; });
    GLuint empty = bake(m);
    EXPECT_TRUE(feedback(empty).empty());
    EXPECT_TRUE(feedback(empty + 1).empty());
    m.reset();
    vector3 p[6] = {v3(1, 2, 3), v3(2, 2, 3), v3(3, 2, 3), v3(5, 5, 5), v3(6, 5, 5), v3(5, 6, 5)};
    for (vector3& q : p)
        m.addVertex(&q);
    m.addTriangle(0, 1, 2);
    m.addTriangle(3, 4, 5);
    m.addTriangle(3, 5, 4);
    m.prepare();
    GLuint base = bake(m);
    for (GLuint list : {base, base + 1}) {
        std::vector<fedVertex> fed = feedback(list);
        ASSERT_EQ(fed.size(), 9u);
        for (const fedVertex& v : fed)
            EXPECT_TRUE(std::isfinite(v.s) && std::isfinite(v.t)) << list;
    }
    double s, t;
    sphereMap(p[0], v3(0, 0, 0), &s, &t);
    fedVertex first = feedback(base)[0];
    EXPECT_NEAR(first.s, s, 1e-4);
    EXPECT_NEAR(first.t, t, 1e-4);
}

// Red surface on a blue background: the pixel at the centre of the view.
void centrePixel(const metaBuilder& m, bool cameraInside, unsigned char rgb[3]) {
    glViewport(0, 0, 64, 64);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.1, 0.1, -0.1, 0.1, 0.1, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (!cameraInside) glTranslatef(0, 0, -40);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glDisable(GL_TEXTURE_2D);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1, 0, 0);
    glCallList(m.listId);
    glFinish();
    glReadPixels(32, 32, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
}

TEST_F(DisplayLists, CullingShowsTheOutsideOnly) {
    static metaBuilder m;
    m.kickIn([](double x, double y, double z) { return int(x * x + y * y + z * z < 144); });
    bake(m);
    unsigned char rgb[3];
    centrePixel(m, false, rgb);
    EXPECT_TRUE(rgb[0] > 200 && rgb[2] < 50);
    centrePixel(m, true, rgb); // inside the ball every wall faces away
    EXPECT_TRUE(rgb[0] < 50 && rgb[2] > 200);
}

} // namespace
