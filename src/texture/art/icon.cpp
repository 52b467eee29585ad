// The application icon (see icon.h): the ring and the cube, centred, over a
// dark disc so it reads on light and dark desktops alike; clear outside.
#include "texture/art/icon.h"

#include "texture/art/artwork_parts.h"
#include <algorithm>
#include <cmath>

RgbaImage drawIcon(int size) {
    Canvas c(size, size, rgba255(17, 20, 30, 0));
    Mask disc(size, size);
    addDisc(disc, size / 2.0, size / 2.0, 112 * size / 256.0);
    c.paint(disc, rgba255(17, 20, 30, 255));
    EmblemMarks(size, 128).paint(c);
    RgbaImage im(size, size);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            const Rgba& p = c.at(x, y);
            const float v[4] = {p.r, p.g, p.b, p.a};
            for (int k = 0; k < 4; k++)
                im.at(x, y)[k] =
                    (unsigned char)std::lround(std::min(1.0f, std::max(0.0f, v[k])) * 255);
        }
    return im;
}
