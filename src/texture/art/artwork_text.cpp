// The pictures that are mainly text: the loading picture, the three credit
// pages and the scene 5 banner. Sizes are chosen for how large each shows:
// the loading picture at about 1.6 screen pixels per pixel, a credit page at
// about 1:1, the banner stretched about 2x.
#include "texture/art/artwork_parts.h"

#include <algorithm>
#include <cmath>
#include <vector>

Canvas drawLoading(const ArtFonts& f) {
    const Rgba white = rgba255(255, 248, 230), orange = rgba255(255, 128, 0);
    Canvas c(256, 64, rgba255(0, 0, 0));

    Mask name(256, 64);
    f.bold.drawCentred(name, "ISOLOOP", 128, 12, 9, 5);
    c.paint(name, rgba255(150, 150, 160));

    Mask word(256, 64);
    double base = centredBaseline(f.bold, "loading", 34, 34);
    f.bold.drawCentred(word, "loading", 128, base, 34, 1);
    c.paint(blurred(word, 3), orange, 0.55f);
    c.paint(word, [&](int, int y) { return mix(white, orange, (y - 20) / 26.0); });

    // A thin rule that fades out at both ends, like the start-up fog's orange.
    Mask rule(256, 64);
    addRect(rule, 40, 55, 216, 56.5);
    for (int x = 0; x < 256; x++) {
        float k = (float)std::max(0.0, 1.0 - std::fabs(x - 127.5) / 88.0);
        for (int y = 54; y < 58; y++)
            rule.at(x, y) *= k;
    }
    c.paint(rule, orange);
    return c;
}

namespace {

struct PageStyle {
    Rgba top, bottom; // background gradient, alpha 0: only the flat backdrop shows it
    Rgba title, accent, body;
};

struct PageText {
    const char* title;
    const char* subtitle;
    std::vector<const char*> lines;
};

// Page 1 is uploaded as BGRA (blue = brightness), pages 2 and 3 as RGBA
// (red = brightness); the colours below are what the scenes sample.
const PageStyle kStyles[3] = {
    {rgba255(40, 14, 18, 0), rgba255(8, 22, 12, 0), rgba255(255, 190, 215, 230),
     rgba255(120, 255, 190, 220), rgba255(255, 255, 236, 215)},
    {rgba255(20, 24, 60, 0), rgba255(35, 50, 28, 0), rgba255(195, 230, 120, 230),
     rgba255(190, 150, 200, 220), rgba255(238, 255, 255, 215)},
    {rgba255(17, 40, 14, 0), rgba255(30, 20, 80, 0), rgba255(218, 170, 255, 230),
     rgba255(190, 255, 110, 220), rgba255(238, 255, 255, 215)},
};

const PageText kPages[3] = {
    {"VISUALS",
     "isoloop \u00b7 credits 1/3",
     {"eight implicit solids", "a grid polygonizer", "flat and smooth display lists",
      "sphere-mapped textures", "fog, strobe and jitter", "six scenes on the drum count"}},
    {"SOUND",
     "isoloop \u00b7 credits 2/3",
     {"a generative synthesizer", "noise-burst lead voice", "a pitched drum",
      "three feedback resonators", "filters and delay lines", "one random generator decides"}},
    {"PROJECT",
     "isoloop \u00b7 credits 3/3",
     {"C++17, SDL 1.2, OpenGL 1.1", "pictures drawn with FreeType", "colours by libimagequant",
      "built with CMake", "tested with GoogleTest", "thanks for watching"}},
};

} // namespace

Canvas drawCreditsPage(const ArtFonts& f, int page) {
    const PageStyle& s = kStyles[page];
    const PageText& t = kPages[page];
    Canvas c(256, 256, s.top);
    c.shade([&](int, int y) { return mix(s.top, s.bottom, y / 255.0); });

    Mask frame(256, 256);
    addRect(frame, 6, 6, 250, 250);
    Mask inside(256, 256);
    addRect(inside, 7.5, 7.5, 248.5, 248.5);
    subtract(frame, inside);
    c.paint(frame, s.accent, 0.7f);

    Mask title(256, 256);
    f.bold.drawCentred(title, t.title, 128, 44, 27, 3);
    c.paint(title, s.title);

    Mask sub(256, 256);
    f.sans.drawCentred(sub, t.subtitle, 128, 62, 11.5);
    c.paint(sub, s.accent);

    Mask rule(256, 256);
    addRect(rule, 44, 71, 212, 72.5);
    c.paint(rule, s.accent);

    Mask body(256, 256);
    for (size_t k = 0; k < t.lines.size(); k++)
        f.sans.drawCentred(body, t.lines[k], 128, 98 + 21 * (double)k, 14.5);
    c.paint(body, s.body);

    // Which page of three this is, as dots.
    Mask dots(256, 256), current(256, 256);
    for (int k = 0; k < 3; k++)
        addDisc(k == page ? current : dots, 116 + 12 * k, 236, k == page ? 3.5 : 2.5);
    c.paint(dots, s.accent, 0.6f);
    c.paint(current, s.title);
    return c;
}

Canvas drawBanner(const ArtFonts& f) {
    // Scene 5 adds this picture weighted by one minus its alpha: the
    // background is opaque (adds nothing), the glowing text is transparent.
    Canvas c(256, 32, rgba255(85, 0, 0, 255));
    const char* text = "composed while you watch";
    Mask m(256, 32);
    double px = std::min(16.0, sizeForWidth(f.bold, text, 212, 0.5));
    f.bold.drawCentred(m, text, 128, centredBaseline(f.bold, text, px, 16), px, 0.5);
    addDisc(m, 12, 16, 2.5);
    addDisc(m, 244, 16, 2.5);
    c.paint(blurred(m, 2), rgba255(110, 90, 160, 0), 0.9f);
    c.paint(m, rgba255(170, 255, 255, 0));
    return c;
}
