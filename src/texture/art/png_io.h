// PNG files for the pack tools, through libpng. Reading checks the size
// before any pixel is decoded; writing goes to a temporary name and is renamed
// into place only when complete. Errors name the file. Tool side only.
#pragma once
#include "texture/art/rgba_image.h"
#include <cstdio>
#include <string>

// Reads any PNG as 8-bit RGBA. Refuses a missing or unreadable file, anything
// but a regular file (never waiting on a FIFO) and, when width and height are
// positive, any other size.
bool readPng(const std::string& path, int width, int height, RgbaImage* out, std::string* error);

// Writes im as 8-bit RGBA, or RGB when withAlpha is false.
bool writePng(const std::string& path, const RgbaImage& im, bool withAlpha, std::string* error);
// The same into an open stream (left open, not flushed); messages name `name`.
bool writePngTo(FILE* f, const std::string& name, const RgbaImage& im, bool withAlpha,
                std::string* error);
