// The pack reader: one image per call, palette expanded to brightness, red,
// green, blue; the file is never trusted to be long enough, nor to be a file.
#include "texture/pack_reader.h"

#include "base/console.h"
#include "base/working_dir.h"
#include "texture/pack_layout.h"
#include "texture/regular_file.h"
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

// A pack that is there but wrong is named once, not at each of the images,
// though the loading picture and the textures read it on two threads.
static void reportOnce(const std::string& path, const std::string& how) {
    static std::mutex s_lock;
    static std::string s_reported; // guarded by s_lock
    {
        std::lock_guard<std::mutex> hold(s_lock);
        if (s_reported == path) return;
        s_reported = path;
    }
    consolePrint(" file %s %s!", path.c_str(), how.c_str());
}

unsigned int expandPaletteEntry(const unsigned char* e) {
    unsigned int blue = e[0], green = e[1], red = e[2];
    unsigned int brightness = (red + green + blue) * 255 / 765;
    return (brightness << 24) | (red << 16) | (green << 8) | blue;
}

void read_bmp8(const char* name, unsigned int* dest, int offset, int width, int height) {
    // Built at full length: a truncated path could open some other file.
    std::string path = workingDir[0] ? std::string(workingDir) + '/' + name : std::string(name);
    RegularFile opened = workingDir[0] ? openRegularFile(path) : RegularFile();
    FILE* f = opened.file;
    if (opened.notRegular) {
        // Refused before any read could wait on it: taken as missing.
        reportOnce(path, std::string("is ") + opened.notRegular + ", not a picture pack");
        return;
    }
    if (!f) {
        consolePrint(" file %s not found!", path.c_str());
        return;
    }
    if (opened.size != PACK_SIZE)
        reportOnce(path, "has " + std::to_string(opened.size) + " bytes, a picture pack has " +
                             std::to_string((int)PACK_SIZE));
    if (width <= 0 || height <= 0) {
        std::fclose(f);
        return;
    }
    unsigned char palette[PALETTE_BYTES] = {0};
    size_t count = (size_t)width * (size_t)height;
    std::vector<unsigned char> index(count);
    size_t indexGot = 0;
    if (offset >= 0 && std::fseek(f, offset, SEEK_SET) == 0 &&
        std::fread(palette, 1, sizeof palette, f) == sizeof palette)
        indexGot = std::fread(index.data(), 1, count, f);
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
        // Clamped before the conversion, so a huge or NaN product stays defined.
        int k = !(v > 0.0f) ? 0 : v >= 255.0f ? 255 : (int)v;
        out |= (unsigned int)k << shift;
    }
    return out;
}
