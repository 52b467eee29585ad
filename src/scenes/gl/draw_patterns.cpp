#include "scenes/gl/draw_patterns.h"

#include "scenes/scene_timing.h"
#include "texture/gl/texture_upload.h"
#include <GL/gl.h>

void twoTriangleQuad(double cx, double cy, double hw, double hh, double z) {
    float x0 = (float)(cx - hw), x1 = (float)(cx + hw);
    float y0 = (float)(cy - hh), y1 = (float)(cy + hh);
    float zf = (float)z;
    glTexCoord2f(0, 0);
    glVertex3f(x0, y0, zf);
    glTexCoord2f(1, 0);
    glVertex3f(x1, y0, zf);
    glTexCoord2f(0, 1);
    glVertex3f(x0, y1, zf);
    glTexCoord2f(1, 1);
    glVertex3f(x1, y1, zf);
    glTexCoord2f(0, 1);
    glVertex3f(x0, y1, zf);
    glTexCoord2f(1, 0);
    glVertex3f(x1, y0, zf);
}

void jitterOverlay(double s) {
    glRotatef(jitterAngle(s), 0, 0, 1);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, texture[3]);
    glBegin(GL_TRIANGLES);
    twoTriangleQuad(0, 0, 1, 1, -1);
    glEnd();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

static void gridVertex(const WaveGrid& g, int c, int r) {
    glTexCoord2f((float)c / 16.0f, (float)r / 16.0f);
    glVertex3f((float)g.x[c], (float)g.y[r], (float)g.z[r][c]);
}

void drawWaveGrid(const WaveGrid& g) {
    for (int i = 0; i < WAVE_CELLS; i++) {
        for (int j = 0; j < WAVE_CELLS; j++) {
            gridVertex(g, j, i);
            gridVertex(g, j + 1, i);
            gridVertex(g, j, i + 1);
            gridVertex(g, j + 1, i + 1);
            gridVertex(g, j, i + 1);
            gridVertex(g, j + 1, i);
        }
    }
}
