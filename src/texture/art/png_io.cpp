// PNG reading and writing through libpng's simplified API.
#include "texture/art/png_io.h"

#include "texture/regular_file.h"
#include <cstdio>
#include <png.h>
#include <unistd.h>

// libpng reads from the stream; the stream is closed once, here.
static bool readPngFrom(FILE* f, const std::string& path, int width, int height, RgbaImage* out,
                        std::string* error);

bool readPng(const std::string& path, int width, int height, RgbaImage* out, std::string* error) {
    RegularFile opened = openRegularFile(path);
    if (!opened.file) {
        *error = opened.error;
        return false;
    }
    bool ok = readPngFrom(opened.file, path, width, height, out, error);
    std::fclose(opened.file);
    return ok;
}

static bool readPngFrom(FILE* f, const std::string& path, int width, int height, RgbaImage* out,
                        std::string* error) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_stdio(&image, f)) {
        *error = path + ": cannot read as PNG (" + image.message + ")";
        return false;
    }
    if (width > 0 && height > 0 && ((int)image.width != width || (int)image.height != height)) {
        *error = path + ": " + std::to_string(image.width) + "x" + std::to_string(image.height) +
                 ", expected " + std::to_string(width) + "x" + std::to_string(height);
        png_image_free(&image);
        return false;
    }
    if (image.width == 0 || image.height == 0 || image.width > 16384 || image.height > 16384) {
        *error = path + ": implausible size " + std::to_string(image.width) + "x" +
                 std::to_string(image.height);
        png_image_free(&image);
        return false;
    }
    RgbaImage im((int)image.width, (int)image.height);
    im.hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_finish_read(&image, nullptr, im.px.data(), 0, nullptr)) {
        *error = path + ": broken PNG (" + image.message + ")";
        png_image_free(&image);
        return false;
    }
    *out = std::move(im);
    return true;
}

namespace {

// libpng's description of im, and the pixels to hand it (RGB copied out).
const unsigned char* pngPixels(const RgbaImage& im, bool withAlpha, png_image* image,
                               std::vector<unsigned char>* rgb) {
    *image = png_image{};
    image->version = PNG_IMAGE_VERSION;
    image->width = (png_uint_32)im.width;
    image->height = (png_uint_32)im.height;
    image->format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    if (withAlpha) return im.px.data();
    rgb->resize((size_t)im.width * im.height * 3);
    for (size_t i = 0, n = (size_t)im.width * im.height; i < n; i++)
        for (int c = 0; c < 3; c++)
            (*rgb)[3 * i + c] = im.px[4 * i + c];
    return rgb->data();
}

} // namespace

bool writePngTo(FILE* f, const std::string& name, const RgbaImage& im, bool withAlpha,
                std::string* error) {
    png_image image;
    std::vector<unsigned char> rgb;
    const unsigned char* data = pngPixels(im, withAlpha, &image, &rgb);
    if (!png_image_write_to_stdio(&image, f, 0, data, 0, nullptr)) {
        *error = name + ": cannot write (" + image.message + ")";
        return false;
    }
    return true;
}

bool writePng(const std::string& path, const RgbaImage& im, bool withAlpha, std::string* error) {
    png_image image;
    std::vector<unsigned char> rgb;
    const unsigned char* data = pngPixels(im, withAlpha, &image, &rgb);
    std::string tmp = path + ".tmp" + std::to_string((long)getpid());
    if (!png_image_write_to_file(&image, tmp.c_str(), 0, data, 0, nullptr)) {
        *error = path + ": cannot write (" + image.message + ")";
        std::remove(tmp.c_str());
        return false;
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        *error = path + ": cannot rename the finished file into place";
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}
