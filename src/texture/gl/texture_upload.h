// The eighteen textures of the demo; scenes bind them by slot number only.
#pragma once

extern unsigned int texture[20]; // GL texture names; slots 0..17 filled at start-up

// Makes and uploads every texture; needs a current GL context.
void generateTexture();

// The same uploads, in the same order, from the bytes buildTextureBytes made.
void uploadTextures(const unsigned char* bytes);
