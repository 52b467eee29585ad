// The credits (drum hits 12..17): three pages, two hits each, as a backdrop,
// mapped on the turning mountain and on a waving grid on top, all in a grey
// that dims with the burst pulse. Main thread.
#include "scenes/gl/scenes.h"

#include "geometry/solids.h"
#include "scenes/gl/draw_patterns.h"
#include "scenes/scene_timing.h"
#include "texture/gl/texture_upload.h"
#include <GL/gl.h>
#include <cmath>

static void backdrop(float c, float flexer) {
    glBegin(GL_TRIANGLES);
    glColor3f(c, c, c); // stays the current colour for the rest of the frame
    float b = flexer + 1;
    twoTriangleQuad(0, 0, b * kPageExtent, b * kPageExtent, -48);
    glEnd();
}

static void mountain(double t) {
    // No texture bound: the sphere map shows the page.
    glPushMatrix();
    glRotatef((float)(std::sin(t / 3) * 5 + 120), 1, 0, 0);
    glRotatef((float)(t * 4), 0, 1, 0);
    glTranslatef(0, (float)(std::sin(t) * 4 - 8), 0);
    glCallList(stoned_mountain.listId + 1);
    glPopMatrix();
}

void scene_credits(double t, int n, float flexer, float funk) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glDisable(GL_FOG);
    const unsigned int page = texture[10 + creditsPage(n)];
    glBindTexture(GL_TEXTURE_2D, page);

    // Backdrop and mountain take the depth test as found: on in the first
    // frame after scene 1, off in every later one (this scene leaves it off).
    float c = (float)(1 - funk * 0.5);
    backdrop(c, flexer);
    mountain(t);

    glPushMatrix();
    jitterOverlay(t);
    glPopMatrix();

    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, page);
    glBegin(GL_TRIANGLES);
    drawWaveGrid(pageGrid(t, n));
    glEnd();
    glDisable(GL_BLEND);
    // Depth testing deliberately stays off into the next frame.
}
