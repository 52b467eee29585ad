// The graphic pictures: the two "isoloop" logos, the emblem, and the shapes
// scenes 4 and 5 lay over the view. Several scenes draw these in black, so
// their alpha is the picture: opaque shapes darken, alpha 0 lets the scene through.
#include "texture/art/artwork_parts.h"

#include <algorithm>
#include <cmath>

namespace {

float smoothstep(double e0, double e1, double x) {
    double t = std::min(1.0, std::max(0.0, (x - e0) / (e1 - e0)));
    return (float)(t * t * (3 - 2 * t));
}

// The wordmark "isoloop" fitted to width, its ink centred on (cx, cy).
Mask wordmark(const Font& font, int w, int h, double cx, double cy, double width, double* px) {
    Mask m(w, h);
    *px = sizeForWidth(font, "isoloop", width, 0);
    font.drawCentred(m, "isoloop", cx, centredBaseline(font, "isoloop", *px, cy), *px);
    return m;
}

} // namespace

Canvas drawWallLogo(const ArtFonts& f) {
    // Scene 1's rippling wall: blended by alpha over the tunnel, tinted by the
    // frame's colour, shown about 1:1 and point-sampled.
    Canvas c(512, 128, rgba255(30, 70, 60, 0));
    double px;
    Mask word = wordmark(f.bold, 512, 128, 256, 64, 400, &px);
    c.paint(blurred(word, 6), rgba255(60, 200, 160, 130), 1.0f);
    const Rgba top = rgba255(255, 255, 255, 255), bottom = rgba255(90, 205, 230, 255);
    c.paint(word, [&](int, int y) { return mix(top, bottom, (y - 20) / 90.0); });
    return c;
}

Canvas drawStripLogo(const ArtFonts& f) {
    // Scene 3 draws this black, so only alpha shows: solid letters with a
    // striped drop shadow; texture 9 is the same picture point-sampled at a
    // quarter size, so every stroke is far wider than 4 pixels.
    const Rgba ink = rgba255(25, 25, 105, 255), paper = rgba255(255, 255, 170, 0);
    Canvas c(1024, 512, paper);
    double px;
    Mask word = wordmark(f.bold, 1024, 512, 512, 220, 930, &px);
    Mask shadow(1024, 512);
    for (int y = 0; y + 20 < 512; y++)
        for (int x = 0; x + 20 < 1024; x++)
            shadow.at(x + 20, y + 20) = (y + 20) % 16 < 10 ? word.at(x, y) : 0.0f;
    c.paint(shadow, ink, 0.45f);
    c.paint(word, ink);

    Mask tag(1024, 512);
    f.sans.drawCentred(tag, "generated \u00b7 polygonized \u00b7 synthesized", 512, 470, 40, 2);
    c.paint(tag, ink, 0.8f);
    return c;
}

EmblemMarks::EmblemMarks(int size, double cubeY)
    : ring(size, size), top(size, size), left(size, size), right(size, size) {
    const double k = size / 256.0, c = 128 * k, cy = cubeY * k, s = 58 * k;
    const double h = s * std::cos(M_PI / 6);
    addRing(ring, c, c, 106 * k, 117 * k);
    addPolygon(top, {c, cy - s, c + h, cy - s / 2, c, cy, c - h, cy - s / 2});
    addPolygon(left, {c - h, cy - s / 2, c, cy, c, cy + s, c - h, cy + s / 2});
    addPolygon(right, {c, cy, c + h, cy - s / 2, c + h, cy + s / 2, c, cy + s});
}

void EmblemMarks::paint(Canvas& c) const {
    c.paint(ring, rgba255(163, 200, 90, 255));
    c.paint(left, rgba255(200, 140, 210, 255));
    c.paint(right, rgba255(150, 60, 130, 255));
    c.paint(top, rgba255(250, 250, 250, 255));
}

Canvas drawEmblem(const ArtFonts& f) {
    // Uploaded as texture 13, which no scene binds: a badge for the pack itself.
    Canvas c(256, 256, rgba255(17, 20, 30, 0));
    EmblemMarks(256, 104).paint(c);
    Mask word(256, 256);
    f.bold.drawCentred(word, "isoloop", 128, 200, 30, 1);
    c.paint(word, rgba255(255, 255, 255, 255));
    return c;
}

Canvas drawLetterbox(const ArtFonts& f) {
    // Scene 4's wide black rectangle spans the whole screen height and most of
    // its width: a cinema letterbox whose bands breathe with each drum hit,
    // perforated on top, lettered below, over a soft vignette.
    const Rgba ink = rgba255(15, 10, 20, 255), clear = rgba255(160, 235, 220, 0);
    Canvas c(512, 256, clear);
    c.shade([&](int x, int y) {
        double u = (x + 0.5 - 256) / 256, v = (y + 0.5 - 128) / 128;
        return mix(clear, ink, 0.55 * smoothstep(0.6, 1.35, std::hypot(u, v)));
    });
    Mask bands(512, 256);
    addRect(bands, 0, 0, 512, 34);
    addRect(bands, 0, 222, 512, 256);
    c.paint(bands, ink);

    Mask holes(512, 256);
    for (int x = 6; x < 512; x += 32)
        addRect(holes, x, 11, x + 18, 23);
    Mask words(512, 256); // four whole words, evenly spread
    double w = f.bold.measure("ISOLOOP", 14, 4), gap = (512 - 4 * w) / 4;
    for (int k = 0; k < 4; k++)
        f.bold.draw(words, "ISOLOOP", gap / 2 + k * (w + gap), 245, 14, 4);
    c.paint(holes, clear);
    c.paint(words, clear);
    return c;
}

Canvas drawFilmStrip() {
    // Scene 4's narrow black rectangle on the right of the screen: a film
    // strip, sprocket rails at the sides and clear frames between bars.
    const Rgba ink = rgba255(15, 10, 20, 235), clear = rgba255(160, 235, 220, 0);
    Canvas c(128, 256, clear);
    Mask strip(128, 256);
    addRect(strip, 0, 0, 20, 256);
    addRect(strip, 108, 0, 128, 256);
    for (int k = 0; k <= 4; k++)
        addRect(strip, 20, k * 64 - 5, 108, k * 64 + 5);
    c.paint(strip, ink);

    Mask holes(128, 256);
    for (int y = 8; y < 256; y += 32) {
        addRect(holes, 5, y, 15, y + 16);
        addRect(holes, 113, y, 123, y + 16);
    }
    c.paint(holes, clear);

    Mask edge(128, 256); // faint inner edges of each frame
    addRect(edge, 22, 0, 24, 256);
    addRect(edge, 104, 0, 106, 256);
    c.paint(edge, ink, 0.35f);
    return c;
}

Canvas drawRings(const ArtFonts& f) {
    // Scene 5's large quad: shown over the scene by its alpha on even drum
    // counts and inverted (its colour where alpha is 0, the scene through the
    // rings) on odd ones, in crops that step down the picture. Concentric
    // rings read the same in any crop.
    const double cx = 512, cy = 256;
    Canvas c(1024, 512, rgba255(0, 0, 0, 0));
    c.shade([&](int x, int y) {
        double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        double phase = std::fmod(d - 120, 48);
        float cover =
            d < 120 ? 0.0f : (float)std::min(1.0, std::max(0.0, std::min(phase, 24 - phase) + 0.5));
        Rgba ring = mix(rgba255(228, 235, 150, 255), rgba255(228, 140, 240, 255), x / 1023.0);
        ring.a = 1.0f - 0.65f * (float)std::min(1.0, (d - 120) / 500);
        return mix(rgba255(0, 0, 0, 0), ring, cover);
    });
    Mask disc(1024, 512);
    addDisc(disc, cx, cy, 96);
    c.paint(disc, rgba255(230, 235, 200, 255));
    Mask word(1024, 512);
    double px = sizeForWidth(f.bold, "isoloop", 160);
    f.bold.drawCentred(word, "isoloop", cx, centredBaseline(f.bold, "isoloop", px, cy), px);
    c.paint(word, rgba255(0, 0, 0, 0));
    return c;
}
