#include "app/gl/fixed_state.h"

#include "texture/gl/texture_upload.h"
#include <GL/gl.h>
#include <GL/glu.h>

void setProjection(int w, int h) {
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    // No glLoadIdentity: the projection matrix is still the initial identity.
    gluPerspective(60.0, (float)w / (float)h, 0.1, 256.0);
}

void setFixedState(const unsigned char* textureBytes) {
    static const float fog_color[4] = {1.0f, 0.5f, 0.0f, 1.0f};
    glDepthFunc(GL_LESS);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogf(GL_FOG_DENSITY, 0.05f);
    glFogfv(GL_FOG_COLOR, fog_color);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    if (textureBytes)
        uploadTextures(textureBytes);
    else
        generateTexture();
    // Generation itself is switched on and off by the display lists.
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
}
