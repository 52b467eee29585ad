// Scene 4 (drum hits 38..47): a sea-green world; the camera circles the lost
// forest, the jaw spins and bobs, the mountain turns above; two black
// rectangles swell with every hit; the jitter overlay on top. Main thread.
#include "scenes/gl/scenes.h"

#include "scenes/gl/camera.h"
#include "geometry/solids.h"
#include "scenes/gl/draw_patterns.h"
#include "texture/gl/texture_upload.h"
#include <GL/gl.h>
#include <cmath>

static void meshes(double t) {
    vector3 eye, target;
    eye.set(std::sin(t / 8) * 16, -4, std::cos(t / 8) * 16);
    target.set(0, 0, 0);
    glBindTexture(GL_TEXTURE_2D, texture[0]);
    glPushMatrix();
    good_old_gazer(&eye, &target);
    glCallList(lost_forest.listId + 1);
    glPushMatrix();
    glRotatef((float)(t * 12), 0, 1, 0);
    glTranslatef(0, (float)std::sin(t), 0);
    glCallList(lost_jaw.listId);
    glPopMatrix();
    // Under the camera without a push of its own: the pop drops both.
    glRotatef((float)(t * 4), 0, 1, 0);
    glTranslatef(0, 12, 0);
    glCallList(stoned_mountain.listId);
    glPopMatrix();
}

// Both depth-tested at z = -1, black: they darken by their textures' alpha.
static void rectangles(double t, int n, float flexer) {
    glColor3f(1, 1, 1);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    double x1 = std::cos(n * 27.3 + t * 0.1) * 0.26 - 0.154;
    // 1.84f: the single-precision 1.84 widened, 1.840000033378601.
    double s = flexer * 0.1 + (double)1.84f;
    glColor3f(0, 0, 0);

    glBindTexture(GL_TEXTURE_2D, texture[14]);
    glBegin(GL_TRIANGLES);
    twoTriangleQuad(x1, 0, s * 0.615, s * 0.308, -1);
    glEnd();

    double x2 = std::cos(t * 0.1) * 0.26 + 0.615;
    glBindTexture(GL_TEXTURE_2D, texture[15]);
    glBegin(GL_TRIANGLES);
    twoTriangleQuad(x2, 0, s * 0.154, s * 0.308, -1);
    glEnd();
    glDisable(GL_BLEND);
}

void scene4(double t, int n, float flexer) {
    const float sea[4] = {0.3f, 0.7f, 0.5f, 1.0f};
    glClearColor(sea[0], sea[1], sea[2], sea[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_FOG);
    glFogfv(GL_FOG_COLOR, sea);
    glFogf(GL_FOG_DENSITY, 0.01f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    meshes(t);
    rectangles(t, n, flexer);

    glLoadIdentity();
    jitterOverlay(t);
}
