// Test packs and atlas builds: pictures written into a fresh temporary
// directory that workingDir points at, so read_bmp8 and buildTextures read them.
#pragma once
#include "base/working_dir.h"
#include "files_and_commands.h"
#include "texture/pack_file.h"
#include "texture/pack_layout.h"
#include "texture/texture_builder.h"
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

struct TempDir {
    std::string path;
    TempDir() {
        char tmpl[] = "/tmp/isoloop-tex-XXXXXX";
        if (mkdtemp(tmpl)) path = tmpl;
    }
    ~TempDir() {
        if (!path.empty()) runCommand("rm -rf '" + path + "'");
    }
    std::string file(const std::string& name) const { return path + "/" + name; }
};

// Palette entry e: blue e, green 255 - e, red e ^ 0x5A; index (7x + 13y + 31k) & 255.
// Every picture differs, no palette entry is grey, and the pattern has no symmetry.
inline std::vector<PackPicture> patternPictures() {
    std::vector<PackPicture> out(PACK_IMAGES);
    for (int k = 0; k < PACK_IMAGES; k++) {
        for (int e = 0; e < 256; e++) {
            unsigned char entry[4] = {(unsigned char)e, (unsigned char)(255 - e),
                                      (unsigned char)(e ^ 0x5A), 0x77};
            std::memcpy(out[k].palette + 4 * e, entry, 4);
        }
        for (int y = 0; y < kPackImages[k].height; y++)
            for (int x = 0; x < kPackImages[k].width; x++)
                out[k].index.push_back((unsigned char)((7 * x + 13 * y + 31 * k) & 255));
    }
    return out;
}

inline std::string packBytes(const std::vector<PackPicture>& pictures) {
    std::string s;
    for (const PackPicture& p : pictures)
        s +=
            std::string((const char*)p.palette, 1024) + std::string(p.index.begin(), p.index.end());
    return s;
}

// Writes raw bytes as dir/julia.3ds and aims workingDir at dir.
inline void installRaw(const TempDir& dir, const std::string& bytes) {
    ASSERT_TRUE(writeWhole(dir.file("julia.3ds"), bytes));
    std::strcpy(workingDir, dir.path.c_str());
}

// All eighteen slots as buildTextures hands them out, in upload byte order.
inline std::vector<std::vector<unsigned char>> buildSlots(const char* pack = "julia.3ds") {
    std::vector<std::vector<unsigned char>> out;
    std::vector<unsigned int> work(WORK_WORDS, 0u);
    buildTextures(
        work.data(),
        [&](int slot, const unsigned char* b) {
            const TextureSlot& s = kTextureSlots[slot];
            out.emplace_back(b, b + (size_t)s.width * s.height * 4);
        },
        pack);
    return out;
}
