// The default pictures of the pack, drawn for where the scenes show them.
// Each is designed in the texture's own channels (what GL samples) and turned
// into stored palette colours; see docs/artwork.md. Tool side only.
#pragma once
#include "texture/art/font.h"
#include "texture/art/rgba_image.h"

// Pack image k (0..10), upright, as an image of stored colours whose alpha is
// the palette blue (pack_convert.h): ready for imageToPicture.
RgbaImage drawDefaultPicture(int image, const ArtFonts& fonts);
