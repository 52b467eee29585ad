// The texture atlas as plain data: the eighteen slots, their sizes and upload
// formats, and the build that makes each one in the shared working buffer and
// hands its bytes to a sink (the GL upload, a dump, a test). Start-up only.
#pragma once
#include <cstddef>
#include <functional>

enum { TEXTURE_SLOTS = 18, WORK_WORDS = 524288 }; // 1024 x 512 words

enum class UploadFormat { BGRA, RGBA };

struct TextureSlot {
    int width, height;
    int components; // GL internal format: 3 colour only, 4 with alpha
    UploadFormat format;
    bool linear; // GL_LINEAR, else GL_NEAREST, for both filters
};

extern const TextureSlot kTextureSlots[TEXTURE_SLOTS];

// Gets one finished slot: width x height texels of four bytes each, in the
// order glTexImage2D takes them (each word most significant byte first).
using TextureSink = std::function<void(int slot, const unsigned char* bytes)>;

// Builds slots 0..17 in order in work (WORK_WORDS words, zero-filled by the
// caller: the first noise term reads word 0), reading pack images through
// read_bmp8(packName). A missing pack leaves the pack slots with whatever the
// buffer last held. The sink's bytes stay valid only during its call.
void buildTextures(unsigned int* work, const TextureSink& sink, const char* packName = "julia.3ds");

// Builds slots 0..17 as buildTextures does, writing each slot's upload bytes
// (as the sink would get them) into out at textureBytesOffset(slot); out holds
// textureBytesOffset(TEXTURE_SLOTS) bytes. No GL: runs on any one thread.
void buildTextureBytes(unsigned int* work, unsigned char* out, const char* packName = "julia.3ds");

// Where slot k starts among the eighteen slots' upload bytes laid back to back;
// slot TEXTURE_SLOTS gives their total.
size_t textureBytesOffset(int slot);

// Keeps every second pixel of every second row, in place: a width x height
// picture becomes width/2 x height/2 holding pixel (2x, 2y).
void reduceByTwo(unsigned int* W, int width, int height);

// The texture slot that shows pack image k at full size; -1 for the loading
// picture, which is drawn, not uploaded.
int packImageSlot(int image);

// The RGBA channels GL makes of one texel's four upload bytes.
void texelChannels(const unsigned char* bytes, UploadFormat format, unsigned char rgba[4]);
