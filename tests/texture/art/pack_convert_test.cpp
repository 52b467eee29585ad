// Pictures to images and back: upright rows, alpha as palette blue, exact
// palettes when colours fit, quantisation within a small error when not, and
// the texture view's channel order.
#include "../pack_fixture.h"

#include "texture/art/pack_convert.h"
#include "texture/pack_file.h"
#include <cmath>
#include <gtest/gtest.h>

namespace {

// Expanded pixels of a picture, for comparisons that ignore palette order.
std::vector<unsigned int> expanded(const PackPicture& p) {
    std::vector<unsigned int> out(p.index.size());
    for (size_t i = 0; i < out.size(); i++)
        out[i] = expandedPixel(p, i);
    return out;
}

} // namespace

TEST(PackConvert, ImagesAreUprightWithAlphaFromPaletteBlue) {
    std::vector<PackPicture> pictures = patternPictures();
    for (int k : {0, 3, 9}) {
        const PackImage& pi = kPackImages[k];
        RgbaImage im = pictureToImage(pictures[k], k);
        ASSERT_EQ(im.width, pi.width);
        ASSERT_EQ(im.height, pi.height);
        // The first stored row shows at the bottom.
        int e = pictures[k].index[2];
        const unsigned char* p = im.at(2, pi.height - 1);
        EXPECT_EQ(p[0], e ^ 0x5A) << k;
        EXPECT_EQ(p[1], 255 - e) << k;
        EXPECT_EQ(p[2], e) << k;
        EXPECT_EQ(p[3], k == 0 ? 255 : e) << k;
    }
}

TEST(PackConvert, FewColoursRoundTripExactly) {
    std::vector<PackPicture> pictures = patternPictures();
    for (int k = 0; k < 11; k++) {
        PackPicture back;
        std::string error;
        ASSERT_TRUE(imageToPicture(pictureToImage(pictures[k], k), k, 1.0f, &back, &error))
            << error;
        EXPECT_EQ(expanded(back), expanded(pictures[k])) << "image " << k;
    }
}

TEST(PackConvert, AlphaChannelBecomesBlueExceptOnTheLoadingPicture) {
    RgbaImage im(256, 32);
    for (size_t i = 0; i < im.px.size(); i += 4)
        im.px[i] = 200, im.px[i + 1] = 100, im.px[i + 2] = 7, im.px[i + 3] = 128;
    RgbaImage stored = storedColours(im, 9);
    EXPECT_EQ(std::vector<unsigned char>(stored.at(3, 3), stored.at(3, 3) + 3),
              (std::vector<unsigned char>{200, 100, 128}));
    im.hasAlpha = false;
    stored = storedColours(im, 9);
    EXPECT_EQ(stored.at(3, 3)[2], 7);
    im.hasAlpha = true;
    stored = storedColours(im, 0); // composited over black
    EXPECT_EQ(std::vector<unsigned char>(stored.at(3, 3), stored.at(3, 3) + 3),
              (std::vector<unsigned char>{100, 50, 4}));
}

TEST(PackConvert, ManyColoursAreQuantisedWithinASmallError) {
    const int k = 10; // 1024 x 512
    RgbaImage im(1024, 512);
    for (int y = 0; y < 512; y++)
        for (int x = 0; x < 1024; x++) {
            unsigned char* p = im.at(x, y);
            p[0] = (unsigned char)(x / 4), p[1] = (unsigned char)(y / 2);
            p[2] = (unsigned char)((x + y) / 6), p[3] = (unsigned char)(255 - y / 2);
        }
    PackPicture pic;
    std::string error;
    ASSERT_TRUE(imageToPicture(im, k, 0.0f, &pic, &error)) << error;
    RgbaImage back = pictureToImage(pic, k);
    double sum = 0;
    int worst = 0;
    for (int y = 0; y < 512; y++)
        for (int x = 0; x < 1024; x++) {
            const unsigned char *a = im.at(x, y), *b = back.at(x, y);
            for (int c : {0, 1, 3}) { // red, green, and alpha (stored as blue)
                int e = std::abs(a[c] - b[c]);
                sum += e;
                worst = std::max(worst, e);
            }
        }
    EXPECT_LT(sum / (1024.0 * 512 * 3), 4.0);
    EXPECT_LT(worst, 40);
}

TEST(PackConvert, WrongSizeIsRefused) {
    PackPicture pic;
    std::string error;
    EXPECT_FALSE(imageToPicture(RgbaImage(256, 256), 9, 0.0f, &pic, &error));
    EXPECT_EQ(error, "256x256, expected 256x32");
}

TEST(PackConvert, TextureViewFollowsTheUploadFormat) {
    std::vector<PackPicture> pictures = patternPictures();
    for (PackPicture& p : pictures) {
        p.palette[0] = 10, p.palette[1] = 40, p.palette[2] = 200; // brightness 83
        std::fill(p.index.begin(), p.index.end(), 0);
    }
    auto texel = [&](int k) {
        RgbaImage view = pictureToTextureView(pictures[k], k);
        return std::vector<unsigned char>(view.at(0, 0), view.at(0, 0) + 4);
    };
    EXPECT_EQ(texel(0), (std::vector<unsigned char>{200, 40, 10, 255})); // drawn colours
    EXPECT_EQ(texel(3), (std::vector<unsigned char>{40, 200, 83, 10}));  // BGRA
    EXPECT_EQ(texel(4), (std::vector<unsigned char>{83, 200, 40, 10}));  // RGBA
}
