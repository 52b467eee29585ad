// Builds the eighteen textures in slot order in one working buffer: four
// formulas, then pack images 1 to 10 with the reduced copies of images 1 and 2.
#include "texture/texture_builder.h"

#include "texture/pack_layout.h"
#include "texture/pack_reader.h"
#include "texture/procedural_textures.h"
#include <cstddef>

const TextureSlot kTextureSlots[TEXTURE_SLOTS] = {
    {256, 256, 3, UploadFormat::BGRA, true},   {256, 256, 3, UploadFormat::BGRA, true},
    {256, 256, 3, UploadFormat::BGRA, true},   {256, 256, 4, UploadFormat::BGRA, false},
    {512, 128, 4, UploadFormat::BGRA, false},  {128, 32, 4, UploadFormat::BGRA, false},
    {32, 8, 4, UploadFormat::BGRA, false},     {16, 4, 4, UploadFormat::BGRA, false},
    {1024, 512, 4, UploadFormat::BGRA, false}, {256, 128, 4, UploadFormat::BGRA, false},
    {256, 256, 4, UploadFormat::BGRA, true},   {256, 256, 4, UploadFormat::RGBA, true},
    {256, 256, 4, UploadFormat::RGBA, true},   {256, 256, 4, UploadFormat::RGBA, true},
    {512, 256, 4, UploadFormat::RGBA, true},   {128, 256, 4, UploadFormat::RGBA, true},
    {256, 32, 4, UploadFormat::RGBA, true},    {1024, 512, 4, UploadFormat::RGBA, true},
};

namespace {

// The upload takes each word as four bytes, most significant first, whatever
// the host's byte order: written once into a byte buffer, so the working
// buffer keeps its words for the reductions that follow.
void emit(const unsigned int* W, int slot, const TextureSink& sink) {
    static unsigned char bytes[4 * WORK_WORDS];
    size_t n = (size_t)kTextureSlots[slot].width * kTextureSlots[slot].height;
    for (size_t i = 0; i < n; i++) {
        bytes[4 * i] = (unsigned char)(W[i] >> 24);
        bytes[4 * i + 1] = (unsigned char)(W[i] >> 16);
        bytes[4 * i + 2] = (unsigned char)(W[i] >> 8);
        bytes[4 * i + 3] = (unsigned char)W[i];
    }
    sink(slot, bytes);
}

void readPackImage(const char* packName, unsigned int* W, int image) {
    const PackImage& im = kPackImages[image];
    read_bmp8(packName, W, im.offset, im.width, im.height);
}

} // namespace

void reduceByTwo(unsigned int* W, int width, int height) {
    // Word (y, x) of the result comes from a word at or after it: increasing
    // order never overwrites a word before it is read.
    for (int y = 0; y < height / 2; y++)
        for (int x = 0; x < width / 2; x++)
            W[y * (width / 2) + x] = W[(y * width + x) * 2];
}

void buildTextures(unsigned int* W, const TextureSink& sink, const char* packName) {
    makeRingedDisc(W);
    emit(W, 0, sink);
    makeSunburst(W);
    emit(W, 1, sink);
    makeNoisyRainbow(W);
    emit(W, 2, sink);
    makeNoiseSprite(W);
    emit(W, 3, sink);

    readPackImage(packName, W, 1);
    emit(W, 4, sink);
    reduceByTwo(W, 512, 128);
    reduceByTwo(W, 256, 64);
    emit(W, 5, sink);
    reduceByTwo(W, 128, 32);
    reduceByTwo(W, 64, 16);
    emit(W, 6, sink);
    reduceByTwo(W, 32, 8);
    emit(W, 7, sink);

    readPackImage(packName, W, 2);
    emit(W, 8, sink);
    reduceByTwo(W, 1024, 512);
    reduceByTwo(W, 512, 256);
    emit(W, 9, sink);

    for (int slot = 10; slot < TEXTURE_SLOTS; slot++) {
        readPackImage(packName, W, slot - 7);
        emit(W, slot, sink);
    }
}

int packImageSlot(int image) {
    return image <= 0 ? -1 : image == 1 ? 4 : image == 2 ? 8 : image + 7;
}

void texelChannels(const unsigned char* b, UploadFormat format, unsigned char rgba[4]) {
    if (format == UploadFormat::BGRA) {
        rgba[0] = b[2];
        rgba[1] = b[1];
        rgba[2] = b[0];
    } else {
        rgba[0] = b[0];
        rgba[1] = b[1];
        rgba[2] = b[2];
    }
    rgba[3] = b[3];
}
