// Display lists under a real GL context (Mesa): preproc's two lists hold every
// triangle with the right normals, switch sphere-map generation off behind
// them, carry no NaN, and show the solids' outsides with back-face culling.
#include "geometry/meta_builder.h"

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
        glLoadIdentity();
        glOrtho(-20, 20, -20, 20, -20, 20);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    void TearDown() override { SDL_Quit(); }

    // Replays a list in feedback mode: x, y, z and the generated s, t of
    // every vertex, in order; each triangle is one polygon token.
    struct fedVertex {
        float x, y, z, s, t;
    };
    std::vector<fedVertex> feedback(GLuint list, int* polygons) {
        std::vector<GLfloat> buf(1 << 20);
        glFeedbackBuffer(GLsizei(buf.size()), GL_3D_COLOR_TEXTURE, buf.data());
        glRenderMode(GL_FEEDBACK);
        glCallList(list);
        int n = glRenderMode(GL_RENDER);
        std::vector<fedVertex> out;
        *polygons = 0;
        for (int i = 0; i < n;) {
            EXPECT_EQ(buf[i], GL_POLYGON_TOKEN);
            int count = int(buf[i + 1]);
            EXPECT_EQ(count, 3);
            (*polygons)++;
            i += 2;
            for (int k = 0; k < count; k++, i += 11)
                out.push_back({buf[i], buf[i + 1], buf[i + 2], buf[i + 7], buf[i + 8]});
        }
        return out;
    }
};

vector3 v3(double x, double y, double z) {
    vector3 v;
    v.set(x, y, z);
    return v;
}

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

int ball(double x, double y, double z) {
    return x * x + y * y + z * z < 64;
}

TEST_F(DisplayLists, ListsHoldEveryTriangleWithFaceOrVertexNormals) {
    static metaBuilder m;
    m.kickIn(ball);
    GLuint base = glGenLists(2);
    m.preproc(int(base));
    EXPECT_EQ(m.listId, int(base));
    EXPECT_TRUE(glIsList(base));
    EXPECT_TRUE(glIsList(base + 1));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    int polygons = 0;
    std::vector<fedVertex> flat = feedback(base, &polygons);
    ASSERT_EQ(uint32_t(polygons), m.numTriangles);
    ASSERT_EQ(flat.size(), 3 * size_t(m.numTriangles));
    std::vector<fedVertex> smooth = feedback(base + 1, &polygons);
    ASSERT_EQ(uint32_t(polygons), m.numTriangles);
    ASSERT_EQ(smooth.size(), flat.size());

    // Window coordinates of a 64x64 viewport over [-20, 20]: x = 32 + 1.6 X.
    for (uint32_t i = 0; i < m.numTriangles; i++)
        for (int k = 0; k < 3; k++) {
            uint16_t v = m.triangles[i].v[k];
            const vector3& p = m.vertices[v];
            const fedVertex& f = flat[3 * i + k];
            const fedVertex& g = smooth[3 * i + k];
            ASSERT_NEAR(f.x, 32 + 1.6 * p.x, 1e-3) << i;
            ASSERT_NEAR(f.y, 32 + 1.6 * p.y, 1e-3) << i;
            ASSERT_EQ(g.x, f.x);
            double s, t;
            if (sphereMap(p, m.faceNormals[i], &s, &t)) {
                ASSERT_NEAR(f.s, s, 1e-3) << "flat, triangle " << i;
                ASSERT_NEAR(f.t, t, 1e-3) << "flat, triangle " << i;
            }
            if (sphereMap(p, m.normals[v], &s, &t)) { // half-length vertex normal
                ASSERT_NEAR(g.s, s, 1e-3) << "smooth, triangle " << i;
                ASSERT_NEAR(g.t, t, 1e-3) << "smooth, triangle " << i;
            }
        }
}

TEST_F(DisplayLists, TextureGenerationIsOffAfterEachList) {
    static metaBuilder m;
    m.kickIn(ball);
    GLuint base = glGenLists(2);
    m.preproc(int(base));
    for (GLuint list : {base, base + 1}) {
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
        glCallList(list);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S)) << list;
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T)) << list;
    }
    // Compiling does not execute: generation was off before preproc too.
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(DisplayLists, EmptyMeshStillGivesTwoValidLists) {
    static metaBuilder m;
    m.kickIn([](double, double, double) { return 0; });
    GLuint base = glGenLists(2);
    m.preproc(int(base));
    EXPECT_TRUE(glIsList(base));
    EXPECT_TRUE(glIsList(base + 1));
    int polygons = -1;
    EXPECT_TRUE(feedback(base, &polygons).empty());
    EXPECT_EQ(polygons, 0);
    glEnable(GL_TEXTURE_GEN_S);
    glCallList(base + 1);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(DisplayLists, ZeroLengthNormalsPutNoNaNIntoTheLists) {
    static metaBuilder m;
    m.reset();
    vector3 p[3] = {v3(1, 2, 3), v3(2, 2, 3), v3(3, 2, 3)}; // collinear
    int a = m.addVertex(&p[0]), b = m.addVertex(&p[1]), c = m.addVertex(&p[2]);
    m.addTriangle(a, b, c);
    vector3 q[3] = {v3(5, 5, 5), v3(6, 5, 5), v3(5, 6, 5)}; // two faces that cancel
    int d = m.addVertex(&q[0]), e = m.addVertex(&q[1]), f = m.addVertex(&q[2]);
    m.addTriangle(d, e, f);
    m.addTriangle(d, f, e);
    m.prepare();
    GLuint base = glGenLists(2);
    m.preproc(int(base));
    for (GLuint list : {base, base + 1}) {
        int polygons = 0;
        std::vector<fedVertex> fed = feedback(list, &polygons);
        ASSERT_EQ(polygons, 3);
        for (const fedVertex& v : fed)
            EXPECT_TRUE(std::isfinite(v.s) && std::isfinite(v.t)) << list;
    }
    // The collinear triangle's vertices got the zero face normal: the view
    // ray comes back unreflected.
    int polygons = 0;
    std::vector<fedVertex> fed = feedback(base, &polygons);
    double s, t;
    sphereMap(p[0], v3(0, 0, 0), &s, &t);
    EXPECT_NEAR(fed[0].s, s, 1e-4);
    EXPECT_NEAR(fed[0].t, t, 1e-4);
}

int bigBall(double x, double y, double z) {
    return x * x + y * y + z * z < 144;
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
    m.kickIn(bigBall);
    m.preproc(int(glGenLists(2)));
    unsigned char rgb[3];
    centrePixel(m, false, rgb);
    EXPECT_GT(rgb[0], 200);
    EXPECT_LT(rgb[2], 50);
    centrePixel(m, true, rgb); // inside the ball every wall faces away
    EXPECT_LT(rgb[0], 50);
    EXPECT_GT(rgb[2], 200);
}

} // namespace
