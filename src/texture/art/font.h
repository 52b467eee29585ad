// Text through FreeType: a face loaded from a font file, measured and drawn
// as coverage into a mask (UTF-8 text, sizes in pixels per em, y downward).
// Tool side only.
#pragma once
#include "texture/art/canvas.h"
#include <string>

class Font {
  public:
    explicit Font(const std::string& file);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    bool ok() const { return face_ != nullptr; }
    const std::string& error() const { return error_; }

    // Advance width of text at size px, with tracking added after each glyph but the last.
    double measure(const std::string& text, double px, double tracking = 0) const;
    // Ink extent of text at size px: pixels above and below the baseline.
    void extent(const std::string& text, double px, double* above, double* below) const;
    // Adds the coverage of text with its baseline starting at (x, baseline).
    void draw(Mask& m, const std::string& text, double x, double baseline, double px,
              double tracking = 0) const;
    // The same, centred on cx.
    void drawCentred(Mask& m, const std::string& text, double cx, double baseline, double px,
                     double tracking = 0) const;

  private:
    template <class Glyph>
    double walk(const std::string& text, double px, double tracking, Glyph glyph) const;
    void* library_ = nullptr; // FT_Library
    void* face_ = nullptr;    // FT_Face
    std::string error_;
};

// The fonts the artwork uses, from the DejaVu family found at build time.
struct ArtFonts {
    Font sans, bold, serifBold;
    ArtFonts();
    bool ok() const { return sans.ok() && bold.ok() && serifBold.ok(); }
    std::string error() const;
};
