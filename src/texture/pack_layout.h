// The picture pack "julia.3ds": eleven palettised images back to back, no
// header. Each is a 1024-byte palette (blue, green, red, unused per entry)
// followed by width x height index bytes, top row first.
#pragma once

struct PackImage {
    int offset, width, height;
};

enum { PACK_IMAGES = 11, PACK_SIZE = 1575936, PALETTE_BYTES = 1024 };

constexpr PackImage kPackImages[PACK_IMAGES] = {
    {0, 256, 64},        {17408, 512, 128},  {83968, 1024, 512},   {609280, 256, 256},
    {675840, 256, 256},  {742400, 256, 256}, {808960, 256, 256},   {875520, 512, 256},
    {1007616, 128, 256}, {1041408, 256, 32}, {1050624, 1024, 512},
};

constexpr int packImageBytes(const PackImage& im) {
    return PALETTE_BYTES + im.width * im.height;
}
