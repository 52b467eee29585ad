// The drawing patterns every scene shares: the two-triangle quad, the jitter
// overlay and the waving grid. GL immediate mode, main thread; coordinates
// computed in double and sent as float.
#pragma once
#include "scenes/wave_grid.h"

// Six textured vertices of a quad centred on (cx, cy) at depth z, inside an
// open glBegin(GL_TRIANGLES). Negative half sizes turn it half a turn: it
// stays counter-clockwise, so culling never drops it.
void twoTriangleQuad(double cx, double cy, double hw, double hh, double z);

// The noise sprite texture[3] on a 2 x 2 square at z = -1, turned by
// jitterAngle(s), blended over the frame without depth test. Expects the
// identity modelview; leaves blending off, depth test on, texture[3] bound
// and the rotation in the matrix. Takes the current colour.
void jitterOverlay(double s);

// The 16 x 16 cells of g as quads with a depth per corner, rows outer and
// columns inner, texture spanning the grid once; inside an open glBegin.
void drawWaveGrid(const WaveGrid& g);
