#include "app/gl/loading_picture.h"

#include "app/gl/fixed_state.h"
#include "texture/pack_reader.h"
#include <GL/gl.h>

void drawLoadingPicture(const unsigned int* pixels) {
    glBegin(GL_TRIANGLES);
    glColor3f(0, 0, 0);
    glVertex3f(-1, -1, -1);
    glVertex3f(1, -1, -1);
    glVertex3f(-1, 1, -1);
    glVertex3f(1, 1, -1);
    glVertex3f(-1, 1, -1);
    glVertex3f(1, -1, -1);
    for (int j = 0; j < 64; j++) {
        for (int i = 0; i < 256; i++) {
            unsigned int p = pixels[j * 256 + i];
            // Channels divide by 256, not 255: full white is 255/256.
            glColor3f((float)(((p >> 16) & 255) / 256.0), (float)(((p >> 8) & 255) / 256.0),
                      (float)((p & 255) / 256.0));
            float x0 = (float)(i - 128) / 256.0f, x1 = (float)(i - 127) / 256.0f;
            float y0 = (float)(j - 32) / 256.0f, y1 = (float)(j - 31) / 256.0f;
            glVertex3f(x0, y0, -1);
            glVertex3f(x1, y0, -1);
            glVertex3f(x0, y1, -1);
            glVertex3f(x1, y1, -1);
            glVertex3f(x0, y1, -1);
            glVertex3f(x1, y0, -1);
        }
    }
    glEnd();
}

void drawLoadingScreen(int w, int h) {
    setProjection(w, h);
    // A missing pack leaves the pixels as they are: zero, a black picture.
    static unsigned int pixels[256 * 64];
    read_bmp8("julia.3ds", pixels, 0, 256, 64);
    drawLoadingPicture(pixels);
}
