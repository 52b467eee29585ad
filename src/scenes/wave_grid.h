// The waving 16 x 16 grids of scene 1's wall and the credits' page: grid
// lines in x and y and a depth per grid point, all in double (GL units in the
// identity view, z near -48). No GL; main thread.
#pragma once

enum { WAVE_CELLS = 16, WAVE_POINTS = WAVE_CELLS + 1 };

struct WaveGrid {
    double x[WAVE_POINTS];              // column lines
    double y[WAVE_POINTS];              // row lines
    double z[WAVE_POINTS][WAVE_POINTS]; // z[row][column]
};

// Half size of the credits' page: 0.308 * 48 in double (14.783999999999999).
constexpr double kPageExtent = 0.308 * 48;

// Scene 1's wall: 59.04 x 14.76, rippling by up to 6 funk about z = -48.
WaveGrid wallGrid(double t, int n, float funk);

// The credits' page: 2 kPageExtent square, waving by up to 32 about z = -48.
WaveGrid pageGrid(double t, int n);
