// Reads one pack image and expands it to 32-bit pixels:
// (brightness << 24) | (red << 16) | (green << 8) | blue. Also the channel
// scaling the texture formulas use. Any thread, several at once: start-up
// reads the loading picture on the main thread while its worker (or the main
// thread, in line) reads the textures' images; the tools read on theirs.
#pragma once

// Opens workingDir + "/" + name. A missing pack (or an empty workingDir, the
// location unknown) prints " file %s not found!" and leaves dest untouched;
// anything but a regular file (a FIFO, a directory) is refused the same way,
// never waited on, and named once. A pack of the wrong length is named once
// with its length and read as far as it goes: pixels it lacks become 0.
// Writes exactly width x height pixels; a non-positive size writes nothing.
void read_bmp8(const char* name, unsigned int* dest, int offset, int width, int height);

// Expanded pixel of one palette entry (bytes blue, green, red, unused).
unsigned int expandPaletteEntry(const unsigned char* entry);

// Scales the three low channels by f (single precision, truncated, clamped to
// 0..255); drops the top byte.
unsigned int colour_darken(unsigned int c, float f);
