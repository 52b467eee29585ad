// FreeType rendering: grey glyph bitmaps at fractional sizes, unhinted
// advances for even spacing, each glyph placed on the nearest whole pixel.
#include "texture/art/font.h"

#include <algorithm>
#include <cmath>
#include <ft2build.h>
#include FT_FREETYPE_H

#ifndef ISOLOOP_FONT_DIR
#error "ISOLOOP_FONT_DIR names the directory of the DejaVu fonts"
#endif

namespace {

// Next code point of UTF-8 text; malformed bytes read as themselves.
unsigned int nextCodePoint(const std::string& s, size_t& i) {
    unsigned char c = (unsigned char)s[i++];
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    unsigned int cp = extra ? c & (0x3F >> extra) : c;
    for (int k = 0; k < extra && i < s.size(); k++)
        cp = (cp << 6) | ((unsigned char)s[i++] & 0x3F);
    return cp;
}

} // namespace

Font::Font(const std::string& file) {
    FT_Library lib;
    if (FT_Init_FreeType(&lib) != 0) {
        error_ = "cannot start FreeType";
        return;
    }
    library_ = lib;
    FT_Face face;
    if (FT_New_Face(lib, file.c_str(), 0, &face) != 0) {
        error_ = file + ": cannot load the font";
        return;
    }
    face_ = face;
}

Font::~Font() {
    if (face_) FT_Done_Face((FT_Face)face_);
    if (library_) FT_Done_FreeType((FT_Library)library_);
}

template <class Glyph>
double Font::walk(const std::string& text, double px, double tracking, Glyph glyph) const {
    FT_Face face = (FT_Face)face_;
    if (!face) return 0;
    FT_Set_Char_Size(face, 0, (FT_F26Dot6)std::lround(px * 64), 72, 72);
    double pen = 0;
    FT_UInt previous = 0;
    bool first = true;
    for (size_t i = 0; i < text.size();) {
        FT_UInt gi = FT_Get_Char_Index(face, nextCodePoint(text, i));
        if (previous && FT_HAS_KERNING(face)) {
            FT_Vector k;
            FT_Get_Kerning(face, previous, gi, FT_KERNING_UNFITTED, &k);
            pen += k.x / 64.0;
        }
        if (!first) pen += tracking;
        first = false;
        if (FT_Load_Glyph(face, gi, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) == 0)
            glyph(face->glyph, pen);
        pen += face->glyph->linearHoriAdvance / 65536.0;
        previous = gi;
    }
    return pen;
}

double Font::measure(const std::string& text, double px, double tracking) const {
    return walk(text, px, tracking, [](FT_GlyphSlot, double) {});
}

void Font::extent(const std::string& text, double px, double* above, double* below) const {
    *above = *below = 0;
    walk(text, px, 0, [&](FT_GlyphSlot g, double) {
        *above = std::max(*above, (double)g->bitmap_top);
        *below = std::max(*below, (double)g->bitmap.rows - g->bitmap_top);
    });
}

void Font::draw(Mask& m, const std::string& text, double x, double baseline, double px,
                double tracking) const {
    walk(text, px, tracking, [&](FT_GlyphSlot g, double pen) {
        int ox = (int)std::lround(x + pen) + g->bitmap_left;
        int oy = (int)std::lround(baseline) - g->bitmap_top;
        const FT_Bitmap& b = g->bitmap;
        for (unsigned int r = 0; r < b.rows; r++)
            for (unsigned int c = 0; c < b.width; c++) {
                int px_ = ox + (int)c, py = oy + (int)r;
                if (px_ < 0 || py < 0 || px_ >= m.width || py >= m.height) continue;
                float v = b.buffer[r * b.pitch + c] / 255.0f;
                m.at(px_, py) = std::min(1.0f, m.at(px_, py) + v);
            }
    });
}

void Font::drawCentred(Mask& m, const std::string& text, double cx, double baseline, double px,
                       double tracking) const {
    draw(m, text, cx - measure(text, px, tracking) / 2, baseline, px, tracking);
}

ArtFonts::ArtFonts()
    : sans(ISOLOOP_FONT_DIR "/DejaVuSans.ttf"), bold(ISOLOOP_FONT_DIR "/DejaVuSans-Bold.ttf"),
      serifBold(ISOLOOP_FONT_DIR "/DejaVuSerif-Bold.ttf") {}

std::string ArtFonts::error() const {
    for (const Font* f : {&sans, &bold, &serifBold})
        if (!f->ok()) return f->error();
    return "";
}
