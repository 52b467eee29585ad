// Scene 5 (drum hits 48..57): pillars and pyramid under a rolling camera on
// a Lissajous path, in reddish fog that drops to black at every hit; the
// jitter overlay, a large quad whose blend flips with the parity of the hit
// count, and a thin quad pulsing with time. Main thread.
#include "scenes/gl/scenes.h"

#include "scenes/gl/camera.h"
#include "geometry/solids.h"
#include "scenes/gl/draw_patterns.h"
#include "scenes/scene_timing.h"
#include "texture/gl/texture_upload.h"
#include <GL/gl.h>
#include <cmath>

static void meshes(double t, float flexer) {
    vector3 eye, target;
    eye.set(std::sin(t / 8) * 32, -1, std::cos(t / 9) * 32);
    target.set(0, std::sin(t) * 12 - 8 + flexer * 5.0, 0);
    glBindTexture(GL_TEXTURE_2D, texture[0]);
    glPushMatrix();
    glRotatef((float)(t * 3.7), 0, 0, 1); // the roll goes before the look-at
    good_old_gazer(&eye, &target);
    glCallList(pillars.listId + 1);
    glTranslatef(0, -8, 0);
    glCallList(pyramid.listId);
    glPopMatrix();
}

// Odd n: inverted blend, at mid-height, swelling with flexer. Even n: normal
// blend, stepping down through four heights once a second.
static void largeQuad(double t, int n, float funk, float flexer) {
    bool odd = (n & 1) != 0;
    if (odd)
        glBlendFunc(GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA);
    else
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, texture[17]);
    glDisable(GL_DEPTH_TEST);
    double cx = flexer / 2; // halved in single precision
    double cy = odd ? 0.0 : (funk - 0.5) * 0.03 + 0.5 - quarterStep(t) / 3.0;
    double s = odd ? flexer * 0.1 + 1 : 1.0;
    glBegin(GL_TRIANGLES);
    twoTriangleQuad(cx, cy, 1.23 * s, 0.615 * s, -1);
    glEnd();
}

static void thinQuad(double t) {
    float v = (float)(std::sin(t) / 2 + 0.5);
    glColor3f(v, v, v);
    glBlendFunc(GL_ONE_MINUS_SRC_ALPHA, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, texture[16]);
    glBegin(GL_TRIANGLES);
    twoTriangleQuad(0, 0, 2 * 0.308, 2 * 0.034, -1);
    glEnd();
}

void scene5(double t, int n, float funk, float flexer) {
    // Right after a hit flexer >= 1 and g <= 0: GL clamps the colours to black.
    float g = (float)((1.0 - flexer) * (1 - funk * 0.2));
    const float fog[4] = {g, (float)(g * 0.4), (float)(g * 0.2), 1};
    glClearColor(fog[0], fog[1], fog[2], fog[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    t = t + n * 25.213; // every hit jumps 25.213 s ahead along the paths
    // Fog is never switched here: scene 4 leaves it on.
    glFogfv(GL_FOG_COLOR, fog);
    glFogf(GL_FOG_DENSITY, 0.03f);
    glColor3f(1, 1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    meshes(t, flexer);
    glPushMatrix();
    jitterOverlay(t);
    glPopMatrix();
    largeQuad(t, n, funk, flexer);
    thinQuad(t);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}
