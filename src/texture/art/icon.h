// The application icon: the emblem of the picture pack without its word, on
// a dark disc, at any square size, in plain RGBA. Tool side only.
#pragma once
#include "texture/art/rgba_image.h"

RgbaImage drawIcon(int size);
