// Whole-pack reading for the tools: the eleven pictures of a file that must
// be exactly one pack long. The demo itself reads through read_bmp8.
#pragma once
#include "texture/pack_writer.h"
#include <string>
#include <vector>

// Fills pictures with the eleven palettes and index planes as stored. Refuses
// (false, *error naming the file) a missing or unreadable file, anything but
// a regular file (never waiting on a FIFO), and any length but PACK_SIZE.
bool readPackFile(const std::string& path, std::vector<PackPicture>* pictures, std::string* error);

// The expanded pixel (read_bmp8's value) of stored pixel i of a picture.
unsigned int expandedPixel(const PackPicture& picture, size_t i);
