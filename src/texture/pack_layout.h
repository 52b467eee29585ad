// The picture pack "julia.3ds": eleven palettised images back to back, no
// header. Each is a 1024-byte palette (blue, green, red, unused per entry)
// followed by width x height index bytes. The first stored row becomes
// texture row 0 (t = 0), which every scene and the loading picture show at
// the bottom, so pictures are stored bottom row first.
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

// Where each image shows up; the pack tools print these.
constexpr const char* kPackImageRoles[PACK_IMAGES] = {
    "loading picture (drawn with its palette colours)",
    "logo: scene 1 wall, texture 4 (reduced: 5, 6, 7)",
    "logo: scene 3 black strip, texture 8 (reduced: 9)",
    "credits page 1, texture 10",
    "credits page 2, texture 11",
    "credits page 3, texture 12",
    "emblem, texture 13 (no scene binds it)",
    "letterbox: scene 4 wide black rectangle, texture 14",
    "film strip: scene 4 narrow black rectangle, texture 15",
    "banner: scene 5 thin additive quad, texture 16",
    "rings: scene 5 large quad, texture 17",
};

constexpr int packImageBytes(const PackImage& im) {
    return PALETTE_BYTES + im.width * im.height;
}
