// The default pictures, checked in the channels the scenes sample and in the
// orientation they show: text where it belongs, alpha where each scene needs it.
#include "texture/art/artwork.h"
#include "texture/art/pack_convert.h"

#include <gtest/gtest.h>

namespace {

// Picture k in upright texture channels, as in pictureToTextureView.
const RgbaImage& picture(int k) {
    static std::vector<RgbaImage> all = [] {
        ArtFonts fonts;
        EXPECT_TRUE(fonts.ok()) << fonts.error();
        std::vector<RgbaImage> out;
        for (int k = 0; k < 11; k++) {
            PackPicture p;
            std::string error;
            EXPECT_TRUE(imageToPicture(drawDefaultPicture(k, fonts), k, 0.0f, &p, &error)) << error;
            out.push_back(pictureToTextureView(p, k));
        }
        return out;
    }();
    return all[k];
}

// Share of the pixels in rows [y0, y1) whose channel c passes the test.
template <class Test> double share(const RgbaImage& im, int c, int y0, int y1, Test test) {
    int n = 0;
    for (int y = y0; y < y1; y++)
        for (int x = 0; x < im.width; x++)
            n += test(im.at(x, y)[c]);
    return (double)n / ((y1 - y0) * im.width);
}

} // namespace

TEST(Artwork, LoadingPictureIsBrightTextOnBlack) {
    const RgbaImage& im = picture(0);
    for (int x = 0; x < 256; x++) // edges black, so it joins the black backdrop
        for (int y : {0, 63})
            ASSERT_EQ(im.at(x, y)[0] | im.at(x, y)[1] | im.at(x, y)[2], 0) << x << "," << y;
    EXPECT_GT(share(im, 0, 20, 50, [](int v) { return v > 200; }), 0.08);
    EXPECT_GT(share(im, 0, 0, 64, [](int v) { return v == 0; }), 0.5);
}

TEST(Artwork, CreditPagesAreOpaqueTextOverAClearDarkBackground) {
    for (int k = 3; k <= 5; k++) {
        const RgbaImage& im = picture(k);
        // Title in the top quarter, as shown on screen.
        EXPECT_GT(share(im, 3, 24, 50, [](int a) { return a > 200; }), 0.08) << k;
        EXPECT_GT(share(im, 3, 80, 230, [](int a) { return a > 180; }), 0.025) << k;
        EXPECT_GT(share(im, 3, 0, 256, [](int a) { return a == 0; }), 0.6) << k;
        // The flat backdrop shows the colours without blending: dark background.
        double dark = 0;
        for (int c = 0; c < 3; c++)
            dark += share(im, c, 0, 256, [](int v) { return v < 90; }) / 3;
        EXPECT_GT(dark, 0.6) << k;
    }
}

TEST(Artwork, AlphaWhereEachSceneNeedsIt) {
    // Logo on the wall: opaque letters on clear ground.
    EXPECT_EQ(picture(1).at(0, 0)[3], 0);
    EXPECT_GT(share(picture(1), 3, 0, 128, [](int a) { return a == 255; }), 0.15);
    // Scene 4 draws these black over most of the screen: the view must show through.
    EXPECT_EQ(picture(7).at(256, 128)[3], 0);
    EXPECT_EQ(picture(7).at(10, 10)[3], 255); // top band
    EXPECT_GT(share(picture(8), 3, 0, 256, [](int a) { return a == 0; }), 0.4);
    // Scene 5 adds the banner weighted by one minus its alpha: clear text, opaque edges.
    const RgbaImage& banner = picture(9);
    for (int x : {0, 255})
        for (int y : {0, 31})
            EXPECT_EQ(banner.at(x, y)[3], 255) << x << "," << y;
    EXPECT_GT(share(banner, 3, 0, 32, [](int a) { return a > 200; }), 0.35);
    int lit = 0; // clear and bright
    for (size_t i = 0; i < banner.px.size(); i += 4)
        lit += banner.px[i + 3] < 40 && banner.px[i + 1] > 200;
    EXPECT_GT(lit, 300);
}

TEST(Artwork, StripLogoSurvivesTheQuarterSizeCopy) {
    // Texture 9 keeps every fourth pixel of every fourth row of picture 2.
    const RgbaImage& im = picture(2);
    int solid = 0, solidCoarse = 0;
    for (int y = 0; y < 512; y++)
        for (int x = 0; x < 1024; x++) {
            solid += im.at(x, y)[3] == 255;
            solidCoarse += x % 4 == 0 && y % 4 == 0 && im.at(x, y)[3] == 255;
        }
    EXPECT_GT(solid / (1024.0 * 512), 0.12);
    EXPECT_NEAR(solidCoarse / (256.0 * 128), solid / (1024.0 * 512), 0.03);
}
