// The drawing of each default picture, in texture channels. For pictures
// uploaded as BGRA the blue channel is the brightness of the other three and
// is not free; for RGBA ones the red channel is; the loading picture is
// drawn with its plain colours and has no alpha. Tool side only.
#pragma once
#include "texture/art/canvas.h"
#include "texture/art/font.h"

Canvas drawLoading(const ArtFonts& f);
Canvas drawCreditsPage(const ArtFonts& f, int page); // page 0..2
Canvas drawBanner(const ArtFonts& f);

Canvas drawWallLogo(const ArtFonts& f);
Canvas drawStripLogo(const ArtFonts& f);
Canvas drawEmblem(const ArtFonts& f);

// The emblem's ring and the three faces of its isometric cube, on a square of
// `size` pixels: the pack picture's design scaled by size / 256, with the
// cube's centre at cubeY in those 256ths.
struct EmblemMarks {
    Mask ring, top, left, right;
    EmblemMarks(int size, double cubeY);
    void paint(Canvas& c) const;
};
Canvas drawLetterbox(const ArtFonts& f);
Canvas drawFilmStrip();
Canvas drawRings(const ArtFonts& f);

// Baseline that centres text's ink vertically on cy.
double centredBaseline(const Font& font, const char* text, double px, double cy);
// Size at which text is width pixels wide.
double sizeForWidth(const Font& font, const char* text, double width, double tracking = 0);
// Linear mix of two colours.
Rgba mix(Rgba a, Rgba b, double t);
