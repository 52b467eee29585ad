// Scene 3 (drum hits 28..37): an upside-down mountain in orange fog, the
// fractal body swaying under its camera and jumping at every hit, two black
// strips sliding across, the jitter overlay on top. Main thread.
#include "scenes/gl/scenes.h"

#include "scenes/gl/camera.h"
#include "geometry/solids.h"
#include "scenes/gl/draw_patterns.h"
#include "scenes/scene_timing.h"
#include "texture/gl/texture_upload.h"
#include <GL/gl.h>
#include <cmath>

static void mountain(double t) {
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, texture[0]);
    glTranslatef(0, -6, -10);
    glRotatef((float)(-t * 30), 0, 1, 0);
    glRotatef(180, 0, 0, 1);
    glCallList(stoned_mountain.listId);
    glPopMatrix();
}

static void fractalBody(double t, int n) {
    glPushMatrix();
    vector3 eye, target;
    eye.set(std::sin(t) + 1, 0, 18);
    target.set(0, 0, 0);
    good_old_gazer(&eye, &target);
    double side = std::sin(t / 3 + 17 * n);
    glTranslatef((float)(side + side - 3), 0, 0);
    glRotatef((float)(t * 47), 1, 0, 0);
    glRotatef(20, 0, 0, 1);
    glBindTexture(GL_TEXTURE_2D, texture[0]);
    glCallList(julia.listId);
    glPopMatrix();
}

// Two black copies of the strip texture, 8 * 0.115 apart, drifting right.
static void strips(double t, float funk, float offsetaapje, float flexer) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    // The fine or the coarse copy by the low bit of k (-3 picks texture[9]),
    // chosen from the unreduced time.
    glBindTexture(GL_TEXTURE_2D, texture[8 + (stripSelector(t) & 1)]);
    float w = (float)(1 - flexer * 0.8);
    double hw = w * 2.46, hh = w * 1.23;

    t = reduceTime8(t);
    glBegin(GL_TRIANGLES);
    double cy = (funk - 0.5) * 0.25;
    glColor3f(0, 0, 0);
    twoTriangleQuad(offsetaapje + t * 0.115, cy, hw, hh, -1);
    twoTriangleQuad((t - 8) * 0.115 + offsetaapje, cy, hw, hh, -1);
    glEnd();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

void scene3(double t, int n, float funk, float offsetaapje, float flexer) {
    glClearColor(0.9f, 0.4f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const float fog[4] = {(float)(1 - funk * 0.5 * 0.5), (float)(0.5 - funk * 0.5 * 0.5 * 0.5), 0,
                          1};
    glEnable(GL_FOG);
    glFogfv(GL_FOG_COLOR, fog);
    glFogf(GL_FOG_DENSITY, 0.04f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    mountain(t);
    fractalBody(t, n);
    strips(t, funk, offsetaapje, flexer);

    // Still black from the strips: the overlay only darkens.
    glLoadIdentity();
    jitterOverlay(reduceTime8(t));
}
