// Uploads the eighteen textures to GL, slot by slot, as the builder finishes
// them or from bytes built beforehand. Needs the current GL context with 2-D texturing enabled;
// main thread.
#include "texture/gl/texture_upload.h"

#include "texture/texture_builder.h"
#include <GL/gl.h>
#include <vector>

unsigned int texture[20]; // GL texture names; slots 0..17 filled at start-up, main thread

static void uploadSlot(int slot, const unsigned char* bytes) {
    const TextureSlot& s = kTextureSlots[slot];
    GLint filter = s.linear ? GL_LINEAR : GL_NEAREST;
    glGenTextures(1, &texture[slot]);
    glBindTexture(GL_TEXTURE_2D, texture[slot]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexImage2D(GL_TEXTURE_2D, 0, s.components, s.width, s.height, 0,
                 s.format == UploadFormat::BGRA ? GL_BGRA : GL_RGBA, GL_UNSIGNED_BYTE, bytes);
}

void generateTexture() {
    // One buffer for all eighteen; zero-filled so the first noise term is defined.
    std::vector<unsigned int> work(WORK_WORDS, 0u);
    buildTextures(work.data(), uploadSlot);
}

void uploadTextures(const unsigned char* bytes) {
    for (int slot = 0; slot < TEXTURE_SLOTS; slot++)
        uploadSlot(slot, bytes + textureBytesOffset(slot));
}
