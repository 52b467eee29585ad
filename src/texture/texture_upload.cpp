// Stand-in until the texture generator lands: eighteen empty texture names.
#include "texture/texture_atlas.h"

#include <GL/gl.h>

unsigned int texture[20];

void generateTexture() {
    for (int k = 0; k < 18; k++)
        glGenTextures(1, &texture[k]);
}
