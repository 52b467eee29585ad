// Scene 1, the tunnel (drum hits 0..11): the smooth tunnel mesh tumbling round
// the viewer in fog as grey as the burst pulse, the jitter overlay, and for
// hits 4..8 a rippling wall far ahead. Main thread.
#include "scenes/gl/scenes.h"

#include "geometry/solids.h"
#include "scenes/gl/draw_patterns.h"
#include "texture/gl/texture_upload.h"
#include <GL/gl.h>
#include <cmath>

static void tunnel(double t, int n) {
    glBindTexture(GL_TEXTURE_2D, texture[0]);
    glPushMatrix();
    glRotatef((float)(t * 19), 1, 0, 0);
    glRotatef((float)(t * 17), 0, 1, 0);
    glRotatef(180, 0, 0, 1);
    // 1.8f: the single-precision 1.8 widened, 1.7999999523162842.
    glTranslatef((float)std::sin(n * 1.3), 0, (float)(std::sin(t / (double)1.8f) * 3));
    glCallList(mb.listId + 1);
    glPopMatrix();
}

static void wall(double t, int n, float funk) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, texture[4]);
    glBegin(GL_TRIANGLES);
    drawWaveGrid(wallGrid(t, n, funk));
    glEnd();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

void scene1(double t, int n, float funk) {
    // The density is inherited: 0.05 from start-up in the first pass, scene
    // 5's 0.03 in every later one.
    const float fog[4] = {funk, funk, funk, 1.0f};
    glEnable(GL_FOG);
    glFogfv(GL_FOG_COLOR, fog);
    glClearColor(0.0f, 0.3f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    tunnel(t, n);
    glPushMatrix();
    jitterOverlay(t);
    glPopMatrix();
    if (n >= 4 && n <= 8) wall(t, n, funk);
}
