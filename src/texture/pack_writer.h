// The pack reader's mirror: writes eleven palettised pictures as a whole pack.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

struct PackPicture {
    unsigned char palette[1024];      // per entry: blue, green, red, unused
    std::vector<unsigned char> index; // width x height, top row first
};

// Writes to a temporary name beside path and renames it into place, so a
// failed write never leaves a half pack. Returns false (with *error set) on
// a wrong picture size or an I/O failure.
bool writePack(const std::string& path, const std::vector<PackPicture>& pictures,
               std::string* error);
// The same into an open stream (left open, not flushed); messages name `name`.
bool writePackTo(FILE* f, const std::string& name, const std::vector<PackPicture>& pictures,
                 std::string* error);
