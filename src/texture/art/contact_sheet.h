// One PNG showing all eleven pictures of a pack: per picture its stored
// colours, the texture channels the scenes sample, and its alpha. Tool side.
#pragma once
#include "texture/art/font.h"
#include "texture/art/rgba_image.h"
#include "texture/pack_writer.h"
#include <vector>

RgbaImage contactSheet(const std::vector<PackPicture>& pictures, const ArtFonts& fonts);
