// The four computed textures. Doubles for distance and angle, 32-bit unsigned
// wrap-around for the packed words; conversions to int truncate toward zero.
#include "texture/procedural_textures.h"

#include "texture/pack_reader.h"
#include <cmath>

namespace {

struct Pixel {
    int x, y, i;
    double d, a; // distance from and angle about the centre (127.5, 127.5)
};

template <class Step> void forEachPixel(Step step) {
    for (int y = 0; y < PROCEDURAL_SIZE; y++) {
        for (int x = 0; x < PROCEDURAL_SIZE; x++) {
            double dx = x - 127.5, dy = y - 127.5;
            step(Pixel{x, y, PROCEDURAL_SIZE * y + x, std::sqrt(dx * dx + dy * dy),
                       std::atan2(dy, dx)});
        }
    }
}

} // namespace

unsigned int noiseTerm(const unsigned int* W, unsigned int u, unsigned int v, int x, int y, int i) {
    return (137u * u + 119u * v + (unsigned int)(x ^ y) + 13u * W[(2 * i) / 3]) % 257u;
}

void makeRingedDisc(unsigned int* W) {
    forEachPixel([W](const Pixel& p) {
        unsigned int n = noiseTerm(W, p.x, p.y, p.x, p.y, p.i);
        W[p.i] = n;
        unsigned int m = (n * (unsigned int)p.y) >> 8;
        W[p.i] = m * 65792u + n; // n = 256 carries into the green channel
        if (p.d < 96) W[p.i] = 0;
        if (p.d >= 96) W[p.i] = colour_darken(W[p.i], (float)((p.d - 96) / 32));
        if (p.d < 4) W[p.i] += (unsigned int)(int)(255 - 64 * p.d) * 65793u;
        W[p.i] <<= 8;
    });
}

void makeSunburst(unsigned int* W) {
    forEachPixel([W](const Pixel& p) {
        int v = (int)(255 - (p.d + p.d) / 3);
        int s = (int)(p.a * 8 / 3.1415); // 3.1415, not pi: the sector edges sit where they sit
        unsigned int w = (p.d < 32 || s % 2 != 0) ? (unsigned int)v : (unsigned int)v * 65793u;
        switch (p.x % 4) {
        case 0:
        case 2:
            w = (w & 0xFEFEFEu) >> 1;
            break;
        case 1:
            w = 0;
            break;
        default:
            break;
        }
        W[p.i] = w << 8;
    });
}

void makeNoisyRainbow(unsigned int* W) {
    const double p1 = 2.0943951000000003, p2 = 4.188790200000001;
    forEachPixel([W, p1, p2](const Pixel& p) {
        W[p.i] = (unsigned int)(int)(std::sin(p.a) * 127 + 128) +
                 ((unsigned int)(int)(std::sin(p.a + p1) * 127 + 128) << 8) +
                 ((unsigned int)(int)(std::sin(p.a + p2) * 127 + 128) << 16);
        unsigned int n = noiseTerm(W, p.x, p.y, p.x, p.y, p.i); // pixel 0 reads its own word
        W[p.i] *= n;                                            // channels spill into each other
        W[p.i] = colour_darken(W[p.i], (float)(p.d / 256));
        W[p.i] <<= 8;
    });
}

void makeNoiseSprite(unsigned int* W) {
    forEachPixel([W](const Pixel& p) {
        // 137 goes with y here; pixel 0 reads word 0 as the rainbow left it.
        unsigned int n1 = noiseTerm(W, p.y, p.x, p.x, p.y, p.i);
        W[p.i] = n1 * 65793u;
        unsigned int n2 = noiseTerm(W, p.x, p.y, p.x, p.y, p.i);
        int a = (int)((n2 >> 3) + p.d);
        if (a > 255) a = 255;
        W[p.i] |= (unsigned int)a << 24; // the shift below drops it again
        W[p.i] <<= 8;
        W[p.i] |= (unsigned int)a;
    });
}
