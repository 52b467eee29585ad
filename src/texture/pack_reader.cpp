#include "texture/pack_reader.h"

#include "app/working_dir.h"
#include "texture/pack_layout.h"
#include <cstdio>
#include <string>
#include <vector>

unsigned int expandPaletteEntry(const unsigned char* e) {
    unsigned int blue = e[0], green = e[1], red = e[2];
    unsigned int brightness = (red + green + blue) * 255 / 765;
    return (brightness << 24) | (red << 16) | (green << 8) | blue;
}

void read_bmp8(const char* name, unsigned int* dest, int offset, int width, int height) {
    // Built at full length: a truncated path could open some other file.
    std::string path = workingDir[0] ? std::string(workingDir) + '/' + name : std::string(name);
    FILE* f = workingDir[0] ? std::fopen(path.c_str(), "rb") : nullptr;
    if (!f) {
        printf(" file %s not found!", path.c_str());
        fflush(stdout);
        return;
    }
    unsigned char palette[PALETTE_BYTES] = {0};
    size_t count = (size_t)width * (size_t)height;
    std::vector<unsigned char> index(count);
    size_t paletteGot = 0, indexGot = 0;
    if (offset >= 0 && std::fseek(f, offset, SEEK_SET) == 0) {
        paletteGot = std::fread(palette, 1, sizeof palette, f);
        if (paletteGot == sizeof palette) indexGot = std::fread(index.data(), 1, count, f);
    }
    std::fclose(f);

    unsigned int expanded[256];
    for (int k = 0; k < 256; k++)
        expanded[k] = expandPaletteEntry(palette + 4 * k);
    for (size_t i = 0; i < count; i++)
        dest[i] = i < indexGot ? expanded[index[i]] : 0u;
}

unsigned int colour_darken(unsigned int c, float f) {
    unsigned int out = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        float v = (float)((c >> shift) & 255) * f;
        int k = v >= 255.0f ? 255 : v <= 0.0f ? 0 : (int)v;
        out |= (unsigned int)k << shift;
    }
    return out;
}
