// The pack reader's mirror: palettes and index planes back to back, written
// under a temporary name and renamed into place only when complete.
#include "texture/pack_writer.h"

#include "texture/pack_layout.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

bool checkPictures(const std::vector<PackPicture>& pictures, std::string* error) {
    if (pictures.size() != PACK_IMAGES) {
        *error = "a pack holds exactly 11 pictures";
        return false;
    }
    for (int k = 0; k < PACK_IMAGES; k++) {
        const PackImage& im = kPackImages[k];
        if (pictures[k].index.size() != (size_t)im.width * im.height) {
            *error = "picture " + std::to_string(k) + " must be " + std::to_string(im.width) + "x" +
                     std::to_string(im.height);
            return false;
        }
    }
    return true;
}

} // namespace

bool writePackTo(FILE* f, const std::string& name, const std::vector<PackPicture>& pictures,
                 std::string* error) {
    if (!checkPictures(pictures, error)) return false;
    bool ok = true;
    for (const PackPicture& p : pictures) {
        ok = ok && std::fwrite(p.palette, 1, sizeof p.palette, f) == sizeof p.palette;
        ok = ok && std::fwrite(p.index.data(), 1, p.index.size(), f) == p.index.size();
    }
    if (!ok) *error = "cannot write " + name + ": " + std::strerror(errno);
    return ok;
}

bool writePack(const std::string& path, const std::vector<PackPicture>& pictures,
               std::string* error) {
    if (!checkPictures(pictures, error)) return false;
    std::string tmp = path + ".tmp" + std::to_string((long)getpid());
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) {
        *error = "cannot write " + tmp + ": " + std::strerror(errno);
        return false;
    }
    std::string ignored;
    bool ok = writePackTo(f, path, pictures, &ignored);
    ok = (std::fclose(f) == 0) && ok;
    if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
        int err = errno;
        std::remove(tmp.c_str());
        *error = "cannot write " + path + ": " + std::strerror(err);
        return false;
    }
    return true;
}
