// Reads a whole pack for the tools, refusing anything that is not exactly one
// pack: the length is checked before any picture is taken from the file.
#include "texture/pack_file.h"

#include "texture/pack_layout.h"
#include "texture/pack_reader.h"
#include "texture/regular_file.h"
#include <cstdio>

bool readPackFile(const std::string& path, std::vector<PackPicture>* pictures, std::string* error) {
    RegularFile opened = openRegularFile(path);
    FILE* f = opened.file;
    if (!f) {
        *error = opened.error;
        return false;
    }
    if (opened.size != PACK_SIZE) {
        *error = path + ": " + std::to_string(opened.size) +
                 " bytes, but a picture pack is exactly " + std::to_string(PACK_SIZE);
        std::fclose(f);
        return false;
    }
    std::vector<PackPicture> out(PACK_IMAGES);
    bool ok = true;
    for (int k = 0; k < PACK_IMAGES && ok; k++) {
        const PackImage& im = kPackImages[k];
        out[k].index.resize((size_t)im.width * im.height);
        ok = std::fread(out[k].palette, 1, PALETTE_BYTES, f) == PALETTE_BYTES &&
             std::fread(out[k].index.data(), 1, out[k].index.size(), f) == out[k].index.size();
    }
    std::fclose(f);
    if (!ok) {
        *error = path + ": read failed (the file changed while it was read?)";
        return false;
    }
    *pictures = std::move(out);
    return true;
}

unsigned int expandedPixel(const PackPicture& picture, size_t i) {
    return expandPaletteEntry(picture.palette + 4 * picture.index[i]);
}
