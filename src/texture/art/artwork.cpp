// Picks each default picture and turns its texture channels into the stored
// palette colours that will give them back after the upload.
#include "texture/art/artwork.h"

#include "texture/art/artwork_parts.h"
#include "texture/texture_builder.h"
#include <algorithm>
#include <cmath>

namespace {

unsigned char byte(float v) {
    return (unsigned char)std::lround(std::min(1.0f, std::max(0.0f, v)) * 255.0f);
}

Canvas drawPicture(int image, const ArtFonts& f) {
    switch (image) {
    case 0:
        return drawLoading(f);
    case 1:
        return drawWallLogo(f);
    case 2:
        return drawStripLogo(f);
    case 3:
    case 4:
    case 5:
        return drawCreditsPage(f, image - 3);
    case 6:
        return drawEmblem(f);
    case 7:
        return drawLetterbox(f);
    case 8:
        return drawFilmStrip();
    case 9:
        return drawBanner(f);
    default:
        return drawRings(f);
    }
}

} // namespace

double centredBaseline(const Font& font, const char* text, double px, double cy) {
    double above, below;
    font.extent(text, px, &above, &below);
    return cy + (above - below) / 2;
}

double sizeForWidth(const Font& font, const char* text, double width, double tracking) {
    double at100 = font.measure(text, 100, 0);
    int gaps = 0;
    for (const char* p = text; *p; p++)
        gaps += ((unsigned char)*p & 0xC0) != 0x80;
    return (width - tracking * (gaps - 1)) / at100 * 100;
}

Rgba mix(Rgba a, Rgba b, double t) {
    float k = (float)std::min(1.0, std::max(0.0, t));
    return Rgba{a.r + (b.r - a.r) * k, a.g + (b.g - a.g) * k, a.b + (b.b - a.b) * k,
                a.a + (b.a - a.a) * k};
}

RgbaImage drawDefaultPicture(int image, const ArtFonts& fonts) {
    Canvas c = drawPicture(image, fonts);
    RgbaImage out(c.width(), c.height());
    out.hasAlpha = image != 0;
    int slot = packImageSlot(image);
    bool bgra = slot >= 0 && kTextureSlots[slot].format == UploadFormat::BGRA;
    for (int y = 0; y < c.height(); y++)
        for (int x = 0; x < c.width(); x++) {
            const Rgba& p = c.at(x, y);
            unsigned char* q = out.at(x, y);
            if (image == 0) { // drawn with its palette colours
                q[0] = byte(p.r), q[1] = byte(p.g), q[2] = byte(p.b), q[3] = 255;
            } else if (bgra) { // texture (R, G, B, A) = (green, red, brightness, blue)
                q[0] = byte(p.g), q[1] = byte(p.r), q[2] = byte(p.a), q[3] = byte(p.a);
            } else { // texture (R, G, B, A) = (brightness, red, green, blue)
                q[0] = byte(p.g), q[1] = byte(p.b), q[2] = byte(p.a), q[3] = byte(p.a);
            }
        }
    return out;
}
