#include "golden.h"

#include <cstdio>
#include <cstdlib>

uint64_t fnv1a(const void* data, size_t bytes, uint64_t h) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < bytes; i++) {
        h ^= p[i];
        h *= 1099511628211ull;
    }
    return h;
}

std::string saveActual(const std::string& name, const void* data, size_t bytes) {
    std::string path = name + ".actual";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, bytes, f);
        std::fclose(f);
    }
    return path;
}

bool savingGoldens() {
    return std::getenv("ISOLOOP_SAVE_GOLDEN") != nullptr;
}
