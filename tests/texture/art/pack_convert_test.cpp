// Pictures to images and back: upright rows, alpha as palette blue, exact
// palettes when colours fit, quantisation within a small error when not, and
// the texture view's channel order.
#include "../pack_fixture.h"

#include "texture/art/pack_convert.h"
#include <cmath>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes channels(const RgbaImage& im, int x, int y, int n = 4) {
    return Bytes(im.at(x, y), im.at(x, y) + n);
}

} // namespace

TEST(PackConvert, ImagesAreUprightWithAlphaFromPaletteBlueAndRoundTripExactly) {
    std::vector<PackPicture> pictures = patternPictures();
    for (int k = 0; k < 11; k++) {
        RgbaImage im = pictureToImage(pictures[k], k);
        ASSERT_EQ(im.width, kPackImages[k].width);
        ASSERT_EQ(im.height, kPackImages[k].height);
        // The first stored row shows at the bottom.
        int e = pictures[k].index[2];
        EXPECT_EQ(channels(im, 2, im.height - 1),
                  (Bytes{(unsigned char)(e ^ 0x5A), (unsigned char)(255 - e), (unsigned char)e,
                         (unsigned char)(k == 0 ? 255 : e)}))
            << k;
        PackPicture back;
        std::string error;
        ASSERT_TRUE(imageToPicture(im, k, 1.0f, &back, &error)) << error;
        for (size_t i = 0; i < back.index.size(); i++)
            ASSERT_EQ(expandedPixel(back, i), expandedPixel(pictures[k], i)) << k << " at " << i;
    }
    PackPicture pic;
    std::string error;
    EXPECT_FALSE(imageToPicture(RgbaImage(256, 256), 9, 0.0f, &pic, &error));
    EXPECT_EQ(error, "256x256, expected 256x32");
}

TEST(PackConvert, AlphaChannelBecomesBlueExceptOnTheLoadingPicture) {
    RgbaImage im(256, 32);
    for (size_t i = 0; i < im.px.size(); i += 4)
        im.px[i] = 200, im.px[i + 1] = 100, im.px[i + 2] = 7, im.px[i + 3] = 128;
    EXPECT_EQ(channels(storedColours(im, 9), 3, 3, 3), (Bytes{200, 100, 128}));
    EXPECT_EQ(channels(storedColours(im, 0), 3, 3, 3), (Bytes{100, 50, 4})); // over black
    im.hasAlpha = false;
    EXPECT_EQ(channels(storedColours(im, 9), 3, 3, 3), (Bytes{200, 100, 7}));
}

TEST(PackConvert, ManyColoursAreQuantisedWithinASmallError) {
    RgbaImage im(1024, 512);
    for (int y = 0; y < 512; y++)
        for (int x = 0; x < 1024; x++) {
            unsigned char* p = im.at(x, y);
            p[0] = (unsigned char)(x / 4), p[1] = (unsigned char)(y / 2);
            p[2] = (unsigned char)((x + y) / 6), p[3] = (unsigned char)(255 - y / 2);
        }
    PackPicture pic;
    std::string error;
    ASSERT_TRUE(imageToPicture(im, 10, 0.0f, &pic, &error)) << error;
    RgbaImage back = pictureToImage(pic, 10);
    double sum = 0;
    int worst = 0;
    for (size_t i = 0; i < im.px.size(); i++)
        if (i % 4 != 2) { // red, green, and alpha (stored as blue)
            int e = std::abs(im.px[i] - back.px[i]);
            sum += e, worst = std::max(worst, e);
        }
    EXPECT_LT(sum / (1024.0 * 512 * 3), 4.0);
    EXPECT_LT(worst, 40);
}

TEST(PackConvert, TextureViewFollowsTheUploadFormat) {
    std::vector<PackPicture> pictures = patternPictures();
    for (PackPicture& p : pictures) {
        p.palette[0] = 10, p.palette[1] = 40, p.palette[2] = 200; // brightness 83
        std::fill(p.index.begin(), p.index.end(), 0);
    }
    EXPECT_EQ(channels(pictureToTextureView(pictures[0], 0), 0, 0), (Bytes{200, 40, 10, 255}));
    EXPECT_EQ(channels(pictureToTextureView(pictures[3], 3), 0, 0), (Bytes{40, 200, 83, 10}));
    EXPECT_EQ(channels(pictureToTextureView(pictures[4], 4), 0, 0), (Bytes{83, 200, 40, 10}));
}
