// A GL 1.1 picture that touches every fixed-function feature the demo needs,
// drawn the same way natively and in the browser so the two can be compared.
#pragma once

// The 4x4 RGB picture read from the data file (row-major, top row first).
struct ProbePicture {
    unsigned char rgb[4 * 4 * 3];
};

// Reads a plain-text PPM ("P3", 4x4, maxval 255). False when missing or malformed.
bool readProbePicture(const char* path, ProbePicture& out);

constexpr int kProbeWidth = 640;
constexpr int kProbeHeight = 480;

// Needs the GL context: uploads textures, compiles the display lists.
void probeSetup(const ProbePicture& picture);
// Draws the whole 640x480 frame; t = 0 is the frame the tests compare. The
// large batch can be left out to measure the rest on its own.
void probeDraw(double t, bool largeBatch = true);
