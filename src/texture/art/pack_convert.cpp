// Pack pictures to upright RGBA images and back; quantisation through
// libimagequant when a picture has more than 256 colours.
#include "texture/art/pack_convert.h"

#include "texture/pack_file.h"
#include "texture/pack_layout.h"
#include "texture/texture_builder.h"
#include <cstring>
#include <libimagequant.h>
#include <unordered_map>

namespace {

size_t storedIndex(int image, int x, int y) {
    const PackImage& im = kPackImages[image];
    return (size_t)(im.height - 1 - y) * im.width + x; // bottom row first
}

// Exact palette when the colours fit; false when there are more than 256.
bool exactPalette(const RgbaImage& stored, PackPicture* out) {
    std::unordered_map<unsigned int, unsigned char> seen;
    std::vector<unsigned char> index((size_t)stored.width * stored.height);
    for (int y = 0; y < stored.height; y++)
        for (int x = 0; x < stored.width; x++) {
            const unsigned char* p = stored.at(x, y);
            unsigned int key = p[0] << 16 | p[1] << 8 | p[2];
            auto it = seen.find(key);
            if (it == seen.end()) {
                if (seen.size() == 256) return false;
                it = seen.emplace(key, (unsigned char)seen.size()).first;
            }
            index[(size_t)y * stored.width + x] = it->second;
        }
    std::memset(out->palette, 0, sizeof out->palette);
    for (const auto& e : seen) {
        out->palette[4 * e.second + 0] = (unsigned char)e.first;
        out->palette[4 * e.second + 1] = (unsigned char)(e.first >> 8);
        out->palette[4 * e.second + 2] = (unsigned char)(e.first >> 16);
    }
    out->index = std::move(index);
    return true;
}

bool quantised(const RgbaImage& stored, float dithering, PackPicture* out, std::string* error) {
    // Quantised as opaque colours: blue is a colour channel here, and the
    // colours under zero alpha still matter to several scenes.
    liq_attr* attr = liq_attr_create();
    liq_set_max_colors(attr, 256);
    liq_image* img = liq_image_create_rgba(attr, stored.px.data(), stored.width, stored.height, 0);
    liq_result* res = nullptr;
    if (!img || liq_image_quantize(img, attr, &res) != LIQ_OK) {
        *error = "the colour quantiser failed";
        if (img) liq_image_destroy(img);
        liq_attr_destroy(attr);
        return false;
    }
    liq_set_dithering_level(res, dithering);
    std::vector<unsigned char> index((size_t)stored.width * stored.height);
    liq_write_remapped_image(res, img, index.data(), index.size());
    const liq_palette* pal = liq_get_palette(res);
    std::memset(out->palette, 0, sizeof out->palette);
    for (unsigned int e = 0; e < pal->count && e < 256; e++) {
        out->palette[4 * e + 0] = pal->entries[e].b;
        out->palette[4 * e + 1] = pal->entries[e].g;
        out->palette[4 * e + 2] = pal->entries[e].r;
    }
    out->index = std::move(index);
    liq_result_destroy(res);
    liq_image_destroy(img);
    liq_attr_destroy(attr);
    return true;
}

} // namespace

RgbaImage pictureToImage(const PackPicture& picture, int image) {
    const PackImage& pi = kPackImages[image];
    RgbaImage im(pi.width, pi.height);
    for (int y = 0; y < pi.height; y++)
        for (int x = 0; x < pi.width; x++) {
            const unsigned char* e = picture.palette + 4 * picture.index[storedIndex(image, x, y)];
            unsigned char* p = im.at(x, y);
            p[0] = e[2];
            p[1] = e[1];
            p[2] = e[0];
            p[3] = image == 0 ? 255 : e[0];
        }
    return im;
}

RgbaImage pictureToTextureView(const PackPicture& picture, int image) {
    const PackImage& pi = kPackImages[image];
    int slot = packImageSlot(image);
    RgbaImage im(pi.width, pi.height);
    for (int y = 0; y < pi.height; y++)
        for (int x = 0; x < pi.width; x++) {
            unsigned int w = expandedPixel(picture, storedIndex(image, x, y));
            unsigned char bytes[4] = {(unsigned char)(w >> 24), (unsigned char)(w >> 16),
                                      (unsigned char)(w >> 8), (unsigned char)w};
            unsigned char* p = im.at(x, y);
            if (slot < 0) {
                p[0] = bytes[1], p[1] = bytes[2], p[2] = bytes[3], p[3] = 255;
            } else {
                texelChannels(bytes, kTextureSlots[slot].format, p);
            }
        }
    return im;
}

RgbaImage storedColours(const RgbaImage& in, int image) {
    RgbaImage out(in.width, in.height);
    for (size_t i = 0; i < (size_t)in.width * in.height; i++) {
        const unsigned char* p = &in.px[4 * i];
        unsigned char* q = &out.px[4 * i];
        if (image == 0) {
            for (int c = 0; c < 3; c++)
                q[c] = in.hasAlpha ? (unsigned char)((p[c] * p[3] + 127) / 255) : p[c];
        } else {
            q[0] = p[0];
            q[1] = p[1];
            q[2] = in.hasAlpha ? p[3] : p[2];
        }
        q[3] = 255;
    }
    return out;
}

bool imageToPicture(const RgbaImage& im, int image, float dithering, PackPicture* out,
                    std::string* error) {
    const PackImage& pi = kPackImages[image];
    if (im.width != pi.width || im.height != pi.height) {
        *error = std::to_string(im.width) + "x" + std::to_string(im.height) + ", expected " +
                 std::to_string(pi.width) + "x" + std::to_string(pi.height);
        return false;
    }
    RgbaImage stored = storedColours(im, image);
    PackPicture upright;
    if (!exactPalette(stored, &upright) && !quantised(stored, dithering, &upright, error))
        return false;
    std::memcpy(out->palette, upright.palette, sizeof out->palette);
    out->index.resize(upright.index.size());
    for (int y = 0; y < pi.height; y++)
        for (int x = 0; x < pi.width; x++)
            out->index[storedIndex(image, x, y)] = upright.index[(size_t)y * pi.width + x];
    return true;
}
