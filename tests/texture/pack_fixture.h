// Test packs: writes pictures into a fresh temporary directory and points
// workingDir at it, so read_bmp8 and buildTextures read them.
#pragma once
#include "app/working_dir.h"
#include "texture/pack_layout.h"
#include "texture/pack_writer.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

struct TempDir {
    std::string path;
    TempDir();
    ~TempDir();
    std::string file(const std::string& name) const { return path + "/" + name; }
};

// Palette entry k: blue k, green 255 - k, red k ^ 0x5A; index (7x + 13y + 31k) & 255.
// Every picture differs, no palette entry is grey, and the pattern has no symmetry.
std::vector<PackPicture> patternPictures();

// Writes pictures (or raw bytes) as dir/julia.3ds and aims workingDir at dir.
void installPack(const TempDir& dir, const std::vector<PackPicture>& pictures);
void installRaw(const TempDir& dir, const std::string& bytes);

// Pictures concatenated as the pack file holds them.
std::string packBytes(const std::vector<PackPicture>& pictures);

inline TempDir::TempDir() {
    char tmpl[] = "/tmp/isoloop-tex-XXXXXX";
    if (mkdtemp(tmpl)) path = tmpl;
}

inline TempDir::~TempDir() {
    if (!path.empty()) std::system(("rm -rf '" + path + "'").c_str());
}

inline std::vector<PackPicture> patternPictures() {
    std::vector<PackPicture> out(PACK_IMAGES);
    for (int k = 0; k < PACK_IMAGES; k++) {
        const PackImage& im = kPackImages[k];
        for (int e = 0; e < 256; e++) {
            out[k].palette[4 * e + 0] = (unsigned char)e;
            out[k].palette[4 * e + 1] = (unsigned char)(255 - e);
            out[k].palette[4 * e + 2] = (unsigned char)(e ^ 0x5A);
            out[k].palette[4 * e + 3] = 0x77;
        }
        out[k].index.resize((size_t)im.width * im.height);
        for (int y = 0; y < im.height; y++)
            for (int x = 0; x < im.width; x++)
                out[k].index[(size_t)y * im.width + x] =
                    (unsigned char)((7 * x + 13 * y + 31 * k) & 255);
    }
    return out;
}

inline std::string packBytes(const std::vector<PackPicture>& pictures) {
    std::string s;
    for (const PackPicture& p : pictures) {
        s.append((const char*)p.palette, sizeof p.palette);
        s.append((const char*)p.index.data(), p.index.size());
    }
    return s;
}

inline void installRaw(const TempDir& dir, const std::string& bytes) {
    FILE* f = std::fopen(dir.file("julia.3ds").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    std::strcpy(workingDir, dir.path.c_str());
}

inline void installPack(const TempDir& dir, const std::vector<PackPicture>& pictures) {
    installRaw(dir, packBytes(pictures));
}
