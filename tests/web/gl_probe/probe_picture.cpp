#include "probe_scene.h"

#include <cstdio>

bool readProbePicture(const char* path, ProbePicture& out) {
    FILE* f = std::fopen(path, "r");
    if (!f) return false;
    char magic[3] = "";
    int w = 0, h = 0, maxval = 0;
    bool ok = std::fscanf(f, "%2s %d %d %d", magic, &w, &h, &maxval) == 4 && magic[0] == 'P' &&
              magic[1] == '3' && w == 4 && h == 4 && maxval == 255;
    for (int i = 0; ok && i < 4 * 4 * 3; i++) {
        int v = -1;
        ok = std::fscanf(f, "%d", &v) == 1 && v >= 0 && v <= 255;
        out.rgb[i] = (unsigned char)v;
    }
    std::fclose(f);
    return ok;
}
