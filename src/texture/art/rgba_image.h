// An 8-bit RGBA picture, rows top first: what PNG files hold and what the art
// and pack tools pass around. Tool side only.
#pragma once
#include <cstddef>
#include <vector>

struct RgbaImage {
    int width = 0, height = 0;
    bool hasAlpha = true;          // false: a file without an alpha channel (A reads 255)
    std::vector<unsigned char> px; // width * height * 4 bytes

    RgbaImage() = default;
    RgbaImage(int w, int h) : width(w), height(h), px((size_t)w * h * 4, 0) {}
    unsigned char* at(int x, int y) { return &px[((size_t)y * width + x) * 4]; }
    const unsigned char* at(int x, int y) const { return &px[((size_t)y * width + x) * 4]; }
};
