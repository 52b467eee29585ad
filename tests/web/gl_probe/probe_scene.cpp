// The probe's picture: a 4x3 grid of 160x160 tiles, one feature per tile, and
// a strip of more than 98,000 vertices in one glBegin batch along the bottom.
//   top row:    list colours | list inheritance | sphere map (flat) | sphere map (smooth)
//   middle row: BGRA as 3    | BGRA as 4, blend | RGBA 4 + RGB 3    | fog
//   bottom row: one large batch (480 px wide)                        | blend functions
// Plain GL 1.1 only: the browser build reaches the same calls through its layer.
#include "probe_scene.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <vector>

namespace {

GLuint texEnv, texBgra3, texBgra4, texRgba4, texRgb2, texPicture;
GLuint listColours, listPlain, listMidColour, listOrange, listSphere;

// Four quadrants with distinct colours (top-left red, top-right green,
// bottom-left blue, bottom-right yellow), so a channel swap or a flip shows.
void quadrants(unsigned char* rgba4x4, unsigned char alphaTop, unsigned char alphaBottom) {
    static const unsigned char q[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++) {
            const unsigned char* c = q[(y / 2) * 2 + x / 2];
            unsigned char* p = rgba4x4 + (y * 4 + x) * 4;
            p[0] = c[0], p[1] = c[1], p[2] = c[2];
            p[3] = y < 2 ? alphaTop : alphaBottom;
        }
}

void swapToBgra(unsigned char* p, int texels) {
    for (int i = 0; i < texels; i++) {
        unsigned char r = p[i * 4];
        p[i * 4] = p[i * 4 + 2];
        p[i * 4 + 2] = r;
    }
}

GLuint upload(int w, int h, GLint internal, GLenum format, const unsigned char* bytes,
              GLint filter) {
    GLuint t;
    glGenTextures(1, &t);
    glBindTexture(GL_TEXTURE_2D, t);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexImage2D(GL_TEXTURE_2D, 0, internal, w, h, 0, format, GL_UNSIGNED_BYTE, bytes);
    return t;
}

void makeTextures(const ProbePicture& picture) {
    // Sphere-map environment: red grows with s, green with t, a blue block in
    // one corner; given as BGRA with alpha 0 into a 3-component texture.
    std::vector<unsigned char> env(64 * 64 * 4);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) {
            unsigned char* p = &env[(y * 64 + x) * 4];
            p[0] = (unsigned char)(x * 4), p[1] = (unsigned char)(y * 4);
            p[2] = (x < 24 && y < 24) ? 255 : 40;
            p[3] = 0;
        }
    swapToBgra(env.data(), 64 * 64);
    texEnv = upload(64, 64, 3, GL_BGRA, env.data(), GL_LINEAR);

    unsigned char q[4 * 4 * 4];
    quadrants(q, 0, 0); // alpha 0 must not reach a 3-component texture
    swapToBgra(q, 16);
    texBgra3 = upload(4, 4, 3, GL_BGRA, q, GL_NEAREST);

    quadrants(q, 255, 96);
    swapToBgra(q, 16);
    texBgra4 = upload(4, 4, 4, GL_BGRA, q, GL_NEAREST);

    quadrants(q, 255, 128);
    texRgba4 = upload(4, 4, 4, GL_RGBA, q, GL_NEAREST);

    // 2x2 RGB: rows of 6 bytes padded to 8 by GL's default unpack alignment.
    const unsigned char rgb2[16] = {255, 0,   255, 0,   255, 255, 0, 0, //
                                    255, 128, 0,   128, 128, 255, 0, 0};
    texRgb2 = upload(2, 2, 3, GL_RGB, rgb2, GL_NEAREST);

    texPicture = upload(4, 4, 3, GL_RGB, picture.rgb, GL_NEAREST);
}

void quad(float x0, float y0, float x1, float y1, float z) {
    glVertex3f(x0, y0, z), glVertex3f(x1, y0, z), glVertex3f(x0, y1, z);
    glVertex3f(x1, y1, z), glVertex3f(x0, y1, z), glVertex3f(x1, y0, z);
}

// A quad with texture coordinates, t = 0 at the top as the demo's pictures are.
void texturedQuad(float x0, float y0, float x1, float y1, float z) {
    glTexCoord2f(0, 1), glVertex3f(x0, y0, z);
    glTexCoord2f(1, 1), glVertex3f(x1, y0, z);
    glTexCoord2f(0, 0), glVertex3f(x0, y1, z);
    glTexCoord2f(1, 0), glVertex3f(x1, y1, z);
    glTexCoord2f(0, 0), glVertex3f(x0, y1, z);
    glTexCoord2f(1, 1), glVertex3f(x1, y0, z);
}

struct V3 {
    float x, y, z;
};

V3 spherePoint(int slice, int stack, int slices, int stacks) {
    double th = 2 * M_PI * slice / slices, ph = M_PI * stack / stacks;
    return {(float)(std::sin(ph) * std::cos(th)), (float)std::cos(ph),
            (float)(std::sin(ph) * std::sin(th))};
}

// A UV sphere, counter-clockwise seen from outside. Flat: one normal per
// triangle, given once for its three vertices. Smooth: one per vertex.
void sphere(bool smooth) {
    const int slices = 24, stacks = 16;
    glBegin(GL_TRIANGLES);
    for (int j = 0; j < stacks; j++)
        for (int i = 0; i < slices; i++) {
            V3 a = spherePoint(i, j, slices, stacks), b = spherePoint(i + 1, j, slices, stacks);
            V3 c = spherePoint(i, j + 1, slices, stacks);
            V3 d = spherePoint(i + 1, j + 1, slices, stacks);
            const V3 tris[2][3] = {{a, b, d}, {a, d, c}};
            for (const auto& t : tris) {
                if (!smooth) {
                    V3 n = {t[0].x + t[1].x + t[2].x, t[0].y + t[1].y + t[2].y,
                            t[0].z + t[1].z + t[2].z};
                    float l = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
                    glNormal3f(n.x / l, n.y / l, n.z / l);
                }
                for (const V3& v : t) {
                    if (smooth) glNormal3f(v.x, v.y, v.z);
                    glVertex3f(1.2f * v.x, 1.2f * v.y, 1.2f * v.z);
                }
            }
        }
    glEnd();
}

void makeLists() {
    listColours = glGenLists(6);
    listPlain = listColours + 1;
    listMidColour = listColours + 2;
    listOrange = listColours + 3;
    listSphere = listColours + 4;

    // Per-vertex colours, then one colour for several vertices, then the
    // colour of the last vertex (of a triangle with no area), which must stay
    // current after the list is called. A colour after the last vertex would
    // not do: Mesa's lists keep the last vertex's.
    glNewList(listColours, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    glColor3f(1, 0, 0), glVertex3f(-1.5f, -0.2f, 0);
    glColor3f(0, 1, 0), glVertex3f(-0.1f, -0.2f, 0);
    glColor3f(0, 0, 1), glVertex3f(-0.8f, 1.4f, 0);
    glColor3f(1, 1, 0);
    quad(0.1f, -0.2f, 1.5f, 1.4f, 0);
    glColor3f(0, 1, 1);
    glVertex3f(0, 0, 0), glVertex3f(0, 0, 0), glVertex3f(0, 0, 0);
    glEnd();
    glEndList();

    // Only a colour, outside any batch: it too must stay current.
    glNewList(listOrange, GL_COMPILE);
    glColor3f(1, 0.5f, 0);
    glEndList();

    // No colour at all: takes the colour current where it is called.
    glNewList(listPlain, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    quad(-0.6f, -0.6f, 0.6f, 0.6f, 0);
    glEnd();
    glEndList();

    // Colour set halfway: the first quad inherits, the second is magenta.
    glNewList(listMidColour, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    quad(-1.5f, -1.5f, -0.1f, -0.9f, 0);
    glColor3f(1, 0, 1);
    quad(0.1f, -1.5f, 1.5f, -0.9f, 0);
    glEnd();
    glEndList();

    // Both spheres, generation switched on and off inside the list as the demo does.
    glNewList(listSphere, GL_COMPILE);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    sphere(false);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEndList();
    glNewList(listSphere + 1, GL_COMPILE);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    sphere(true);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEndList();
}

// Tile (col, row) with row 0 at the top of the window, its own square projection.
void tile(int col, int row, int cols = 1) {
    glViewport(col * 160, (2 - row) * 160, 160 * cols, 160);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, (double)cols, 0.1, 256.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -3);
}

void drawListColours() {
    tile(0, 0);
    glDisable(GL_TEXTURE_2D);
    glCallList(listColours);
    // Cyan from the list is still current here, then orange from the other.
    glBegin(GL_TRIANGLES);
    quad(-1.5f, -1.5f, -0.05f, -0.6f, 0);
    glEnd();
    glCallList(listOrange);
    glBegin(GL_TRIANGLES);
    quad(0.05f, -1.5f, 1.5f, -0.6f, 0);
    glEnd();
}

void drawListInheritance() {
    tile(1, 0);
    glDisable(GL_TEXTURE_2D);
    glPushMatrix();
    glTranslatef(-0.8f, 0.8f, 0);
    glScalef(0.8f, 0.8f, 1);
    glColor3f(1, 0, 0);
    glCallList(listPlain);
    glTranslatef(2.0f, 0, 0);
    glColor3f(0, 0, 1);
    glCallList(listPlain);
    glPopMatrix();
    glColor3f(0.5f, 0.5f, 1);
    glCallList(listMidColour); // lilac from here, then magenta
    // Green given in one batch stays current for the next, which names no colour.
    glBegin(GL_TRIANGLES);
    glColor3f(0, 1, 0);
    quad(-1.5f, -0.7f, -0.1f, 0.1f, 0);
    glEnd();
    glBegin(GL_TRIANGLES);
    quad(0.1f, -0.7f, 1.5f, 0.1f, 0);
    glEnd();
}

void drawSphere(int col, GLuint list, double t) {
    tile(col, 0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texEnv);
    glColor3f(1, 1, 1);
    glRotatef((float)(35.0 + 40.0 * t), 1.0f, 0.6f, 0.2f);
    glRotatef(20.0f, 0, 0, 1);
    glCallList(list);
    // Generation is off again: an explicitly mapped quad in the corner.
    glLoadIdentity();
    glTranslatef(0, 0, -3);
    glBindTexture(GL_TEXTURE_2D, texPicture);
    glBegin(GL_TRIANGLES);
    texturedQuad(0.9f, -1.7f, 1.7f, -0.9f, 0);
    glEnd();
}

void drawTextureTiles() {
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor3f(1, 1, 1);

    tile(0, 1);
    glBindTexture(GL_TEXTURE_2D, texBgra3);
    glBegin(GL_TRIANGLES);
    texturedQuad(-1.5f, -1.5f, 1.5f, 1.5f, 0);
    glEnd();

    tile(1, 1);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_TRIANGLES);
    glColor3f(0.3f, 0.3f, 0.3f);
    quad(-1.6f, -0.3f, 1.6f, 0.3f, -0.1f); // a bar to show the blend through
    glEnd();
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, texBgra4);
    glBegin(GL_TRIANGLES);
    texturedQuad(-1.5f, -1.5f, 1.5f, 1.5f, 0);
    glEnd();

    tile(2, 1);
    glBindTexture(GL_TEXTURE_2D, texRgba4);
    glBegin(GL_TRIANGLES);
    texturedQuad(-1.5f, -0.1f, 1.5f, 1.5f, 0);
    glEnd();
    // Texture colour times vertex colour (GL_MODULATE).
    glColor3f(1, 0.5f, 1);
    glBindTexture(GL_TEXTURE_2D, texRgb2);
    glBegin(GL_TRIANGLES);
    texturedQuad(-1.5f, -1.5f, 1.5f, -0.1f, 0);
    glEnd();
    glColor3f(1, 1, 1);
    glDisable(GL_BLEND);
}

void drawFog() {
    tile(3, 1);
    glDisable(GL_TEXTURE_2D);
    static const float orange[4] = {1.0f, 0.5f, 0.0f, 1.0f};
    glEnable(GL_FOG);
    glFogf(GL_FOG_DENSITY, 0.15f);
    glFogf(GL_FOG_START, 1.0f);
    glFogf(GL_FOG_END, 20.0f);
    glFogfv(GL_FOG_COLOR, orange);
    glLoadIdentity();
    // Each fog mode at two depths: the layer draws each with its own program.
    static const GLint modes[5] = {GL_EXP, GL_EXP, GL_LINEAR, GL_EXP2, GL_LINEAR};
    for (int k = 0; k < 5; k++) {
        glFogi(GL_FOG_MODE, modes[k]);
        glBegin(GL_TRIANGLES);
        float z = -2.5f - 4.0f * (float)k;
        float x = -1.2f * (-z / 2.5f) + 0.5f * (float)k * (-z / 2.5f);
        float h = 0.3f * (-z / 2.5f);
        glColor3f(k % 2 ? 0.2f : 1.0f, k % 2 ? 0.4f : 1.0f, 1.0f);
        quad(x, -h, x + 0.45f * (-z / 2.5f), h, z);
        glEnd();
    }
    glFogi(GL_FOG_MODE, GL_EXP);
    glDisable(GL_FOG);
}

void drawBlendFunctions() {
    tile(3, 2);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_TRIANGLES);
    glColor3f(0, 0.6f, 0);
    quad(-1.6f, -1.6f, 1.6f, 1.6f, -0.1f);
    glEnd();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBegin(GL_TRIANGLES);
    glColor4f(1, 0, 0, 0.5f);
    quad(-1.4f, 0.1f, 1.4f, 1.4f, 0);
    glEnd();
    glBlendFunc(GL_ONE_MINUS_SRC_ALPHA, GL_ONE);
    glBegin(GL_TRIANGLES);
    glColor4f(0.2f, 0.4f, 1.0f, 0.75f);
    quad(-1.4f, -1.4f, 1.4f, -0.1f, 0);
    glEnd();
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
}

// 256 x 66 cells, six vertices each: 101,376 vertices in one batch, a colour
// per cell as the loading picture does, depth test off as it is there.
void drawLargeBatch(double t) {
    tile(0, 2, 3);
    glDisable(GL_TEXTURE_2D);
    glLoadIdentity();
    const int cols = 256, rows = 66;
    // The 3:1 viewport at depth 1 spans +-1.732 across and +-0.577 up.
    const float w = 2.0f * 1.7320508f / cols, h = 2.0f * 0.5773503f / rows;
    glBegin(GL_TRIANGLES);
    for (int j = 0; j < rows; j++)
        for (int i = 0; i < cols; i++) {
            int shift = (int)(t * 20.0);
            float b = (((i + shift) / 32 + j / 22) % 2) ? 0.9f : 0.2f;
            glColor3f((float)i / 256.0f, (float)j / 66.0f, b);
            float x0 = -1.7320508f + (float)i * w, y0 = -0.5773503f + (float)j * h;
            quad(x0, y0, x0 + w, y0 + h, -1.0f);
        }
    glEnd();
}

} // namespace

void probeSetup(const ProbePicture& picture) {
    glDepthFunc(GL_LESS);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    makeTextures(picture);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    makeLists();
}

void probeDraw(double t, bool largeBatch) {
    glViewport(0, 0, kProbeWidth, kProbeHeight);
    glClearColor(0.1f, 0.1f, 0.15f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    drawListColours();
    drawListInheritance();
    drawSphere(2, listSphere, t);
    drawSphere(3, listSphere + 1, t * 0.7);
    glDisable(GL_DEPTH_TEST);
    drawTextureTiles();
    drawFog();
    drawBlendFunctions();
    if (largeBatch) drawLargeBatch(t);
}
