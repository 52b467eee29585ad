#include "scenes/wave_grid.h"

#include <cmath>

WaveGrid wallGrid(double t, int n, float funk) {
    WaveGrid g;
    for (int c = 0; c < WAVE_POINTS; c++)
        g.x[c] = c * 0.615 * 48 / 8 - 29.52;
    for (int r = 0; r < WAVE_POINTS; r++)
        g.y[r] = r * 0.615 * 12 / 8 - 7.38;
    for (int r = 0; r < WAVE_POINTS; r++)
        for (int c = 0; c < WAVE_POINTS; c++)
            g.z[r][c] = std::sin(14 * n + c / 2.2) * funk * 3 - 48 +
                        std::sin(7 * n + r / 3.3 + t) * funk * 3;
    return g;
}

WaveGrid pageGrid(double t, int n) {
    WaveGrid g;
    for (int a = 0; a < WAVE_POINTS; a++)
        g.x[a] = (a * 0.308 * 48) / 8 - kPageExtent;
    for (int r = 0; r < WAVE_POINTS; r++)
        g.y[r] = (r * 0.308 * 48) / 8 - kPageExtent;
    for (int r = 0; r < WAVE_POINTS; r++)
        for (int a = 0; a < WAVE_POINTS; a++)
            g.z[r][a] = std::sin(4 * n + a / 2.2) * 16 - 48 + std::sin(7 * n + r / 3.3 + t) * 16;
    return g;
}
