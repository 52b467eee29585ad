// Between pack pictures and ordinary images. An image shows a picture upright
// (the pack stores the bottom row first) with the palette colours as stored;
// its alpha channel is the alpha the texture will have, the palette blue
// (the loading picture, drawn with its colours, is opaque). Tool side only.
#pragma once
#include "texture/art/rgba_image.h"
#include "texture/pack_writer.h"
#include <string>

RgbaImage pictureToImage(const PackPicture& picture, int image);

// What the scenes sample: the texture's RGBA channels after the upload format,
// upright. For the loading picture, its drawn colours.
RgbaImage pictureToTextureView(const PackPicture& picture, int image);

// The stored colour of each pixel: red and green as given; blue taken from
// the alpha channel when the image has one (pack images 1 to 10), else blue.
// The loading picture keeps its blue, composited over black by any alpha.
RgbaImage storedColours(const RgbaImage& im, int image);

// Palettises an image of pack image k's size. Up to 256 distinct stored
// colours are kept exactly; more are quantised to 256 with libimagequant
// (dithering 0..1). Refuses a wrong size, naming what it got.
bool imageToPicture(const RgbaImage& im, int image, float dithering, PackPicture* out,
                    std::string* error);
