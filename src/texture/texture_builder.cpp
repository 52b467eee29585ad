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

void reduceByTwo(unsigned int* W, int width, int height) {
    // Word (y, x) of the result comes from a word at or after it: increasing
    // order never overwrites a word before it is read.
    for (int y = 0; y < height / 2; y++)
        for (int x = 0; x < width / 2; x++)
            W[y * (width / 2) + x] = W[(y * width + x) * 2];
}

namespace {

// The upload takes each word as four bytes, most significant first, whatever
// the host's byte order: written into a byte buffer, so the working buffer
// keeps its words for the reductions that follow.
void toBytes(const unsigned int* W, int slot, unsigned char* bytes) {
    size_t n = (size_t)kTextureSlots[slot].width * kTextureSlots[slot].height;
    for (size_t i = 0; i < n; i++) {
        bytes[4 * i] = (unsigned char)(W[i] >> 24);
        bytes[4 * i + 1] = (unsigned char)(W[i] >> 16);
        bytes[4 * i + 2] = (unsigned char)(W[i] >> 8);
        bytes[4 * i + 3] = (unsigned char)W[i];
    }
}

void readPackImage(const char* packName, unsigned int* W, int image) {
    const PackImage& im = kPackImages[image];
    read_bmp8(packName, W, im.offset, im.width, im.height);
}

// The slots in order: done(slot) is called as soon as W holds that slot.
template <typename Done> void buildSlots(unsigned int* W, const char* packName, Done done) {
    makeRingedDisc(W);
    done(0);
    makeSunburst(W);
    done(1);
    makeNoisyRainbow(W);
    done(2);
    makeNoiseSprite(W);
    done(3);

    readPackImage(packName, W, 1);
    done(4);
    reduceByTwo(W, 512, 128);
    reduceByTwo(W, 256, 64);
    done(5);
    reduceByTwo(W, 128, 32);
    reduceByTwo(W, 64, 16);
    done(6);
    reduceByTwo(W, 32, 8);
    done(7);

    readPackImage(packName, W, 2);
    done(8);
    reduceByTwo(W, 1024, 512);
    reduceByTwo(W, 512, 256);
    done(9);

    for (int slot = 10; slot < TEXTURE_SLOTS; slot++) {
        readPackImage(packName, W, slot - 7);
        done(slot);
    }
}

} // namespace

void buildTextures(unsigned int* W, const TextureSink& sink, const char* packName) {
    static unsigned char bytes[4 * WORK_WORDS];
    buildSlots(W, packName, [&](int slot) {
        toBytes(W, slot, bytes);
        sink(slot, bytes);
    });
}

size_t textureBytesOffset(int slot) {
    size_t at = 0;
    for (int k = 0; k < slot && k < TEXTURE_SLOTS; k++)
        at += 4 * (size_t)kTextureSlots[k].width * kTextureSlots[k].height;
    return at;
}

void buildTextureBytes(unsigned int* W, unsigned char* out, const char* packName) {
    buildSlots(W, packName, [&](int slot) { toBytes(W, slot, out + textureBytesOffset(slot)); });
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
