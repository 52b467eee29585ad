// Reads one pack image and expands it to 32-bit pixels:
// (brightness << 24) | (red << 16) | (green << 8) | blue.
#pragma once

// Opens workingDir + "/" + name. A missing pack prints " file %s not found!"
// and leaves dest untouched; pixels a short file does not supply become 0.
void read_bmp8(const char* name, unsigned int* dest, int offset, int width, int height);

// Expanded pixel of one palette entry (bytes blue, green, red, unused).
unsigned int expandPaletteEntry(const unsigned char* entry);

// Scales the three low channels by f (truncated, clamped to 0..255); drops the top byte.
unsigned int colour_darken(unsigned int c, float f);
