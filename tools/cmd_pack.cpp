// pack make OUT: writes a substitute picture pack of the exact layout.
#include "commands.h"

#include "texture/pack_layout.h"
#include "texture/pack_writer.h"
#include <cstdio>
#include <cstring>

// A grey ramp palette and a diagonal test pattern per picture.
static PackPicture testPicture(const PackImage& im, int k) {
    PackPicture p;
    for (int e = 0; e < 256; e++) {
        p.palette[4 * e + 0] = (unsigned char)e;
        p.palette[4 * e + 1] = (unsigned char)e;
        p.palette[4 * e + 2] = (unsigned char)e;
        p.palette[4 * e + 3] = 0;
    }
    p.index.resize((size_t)im.width * im.height);
    for (int y = 0; y < im.height; y++)
        for (int x = 0; x < im.width; x++)
            p.index[(size_t)y * im.width + x] = (unsigned char)(((x + y) / 8 + k * 16) & 255);
    return p;
}

static int packMake(const char* out) {
    std::vector<PackPicture> pictures;
    for (int k = 0; k < PACK_IMAGES; k++)
        pictures.push_back(testPicture(kPackImages[k], k));
    std::string error;
    if (!writePack(out, pictures, &error)) {
        fprintf(stderr, "isoloop-tool pack make: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

int cmdPack(int argc, char** argv) {
    if (argc == 2 && !std::strcmp(argv[0], "make")) return packMake(argv[1]);
    fprintf(stderr, "usage: isoloop-tool pack make OUT\n");
    return 2;
}
