// Lays the eleven pictures out in rows of three panels, each scaled down by
// box filtering to fit its panel, with a label naming the picture's role.
#include "texture/art/contact_sheet.h"

#include "texture/art/pack_convert.h"
#include "texture/pack_layout.h"
#include <algorithm>
#include <cstdio>

namespace {

const int kPanelW = 176, kPanelH = 88, kGap = 10, kLabel = 18;

// Box-filtered copy of one channel set of src into dst at (ox, oy), fitted to the panel.
void blitFitted(RgbaImage& dst, const RgbaImage& src, int ox, int oy, bool alphaAsGrey) {
    double scale = std::min((double)kPanelW / src.width, (double)kPanelH / src.height);
    scale = std::min(scale, 1.0);
    int w = std::max(1, (int)(src.width * scale)), h = std::max(1, (int)(src.height * scale));
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            int x0 = x * src.width / w, x1 = std::max(x0 + 1, (x + 1) * src.width / w);
            int y0 = y * src.height / h, y1 = std::max(y0 + 1, (y + 1) * src.height / h);
            double sum[4] = {0, 0, 0, 0};
            for (int sy = y0; sy < y1; sy++)
                for (int sx = x0; sx < x1; sx++)
                    for (int c = 0; c < 4; c++)
                        sum[c] += src.at(sx, sy)[c];
            double n = (double)(x1 - x0) * (y1 - y0);
            unsigned char* p = dst.at(ox + x, oy + y);
            for (int c = 0; c < 3; c++)
                p[c] = (unsigned char)((alphaAsGrey ? sum[3] : sum[c]) / n + 0.5);
            p[3] = 255;
        }
}

void label(RgbaImage& dst, const Font& font, const char* text, int x, int y) {
    Mask m(dst.width, dst.height);
    font.draw(m, text, x, y, 12);
    for (int py = std::max(0, y - 14); py < std::min(dst.height, y + 5); py++)
        for (int px = 0; px < dst.width; px++) {
            float k = m.at(px, py);
            unsigned char* p = dst.at(px, py);
            for (int c = 0; c < 3; c++)
                p[c] = (unsigned char)(p[c] + (225 - p[c]) * k);
        }
}

} // namespace

RgbaImage contactSheet(const std::vector<PackPicture>& pictures, const ArtFonts& fonts) {
    int rowH = kLabel + kPanelH + kGap;
    RgbaImage sheet(kGap + 3 * (kPanelW + kGap), kGap + kLabel + PACK_IMAGES * rowH);
    for (size_t i = 0; i < sheet.px.size(); i += 4)
        sheet.px[i] = 40, sheet.px[i + 1] = 40, sheet.px[i + 2] = 44, sheet.px[i + 3] = 255;
    const char* heads[3] = {"stored colours", "texture as sampled", "alpha"};
    for (int p = 0; p < 3; p++)
        label(sheet, fonts.bold, heads[p], kGap + p * (kPanelW + kGap), kGap + 12);
    for (int k = 0; k < PACK_IMAGES; k++) {
        int y = kGap + kLabel + k * rowH;
        char text[160];
        std::snprintf(text, sizeof text, "%d  %dx%d  %s", k, kPackImages[k].width,
                      kPackImages[k].height, kPackImageRoles[k]);
        label(sheet, fonts.sans, text, kGap, y + 13);
        RgbaImage stored = pictureToImage(pictures[k], k);
        blitFitted(sheet, stored, kGap, y + kLabel, false);
        blitFitted(sheet, pictureToTextureView(pictures[k], k), 2 * kGap + kPanelW, y + kLabel,
                   false);
        blitFitted(sheet, stored, 3 * kGap + 2 * kPanelW, y + kLabel, true);
    }
    return sheet;
}
