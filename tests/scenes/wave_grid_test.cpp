// The waving grids of the wall and the credit page: extents, the flat case,
// and which phase goes with rows, columns, n and t.
#include "scenes/wave_grid.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(WaveGrid, PageSpansTheBackdropAndWavesUpTo32AboutMinus48) {
    EXPECT_EQ(kPageExtent, 14.783999999999999);
    WaveGrid g = pageGrid(0.0, 12);
    EXPECT_EQ(g.x[0], -kPageExtent);
    EXPECT_NEAR(g.x[16], kPageExtent, 1e-12);
    EXPECT_NEAR(g.x[1] - g.x[0], kPageExtent / 8, 1e-12);
    for (int i = 0; i < WAVE_POINTS; i++)
        EXPECT_EQ(g.x[i], g.y[i]);
    for (int n = 12; n <= 17; n++) {
        g = pageGrid(n * 0.7, n);
        for (int r = 0; r < WAVE_POINTS; r++)
            for (int c = 0; c < WAVE_POINTS; c++)
                EXPECT_LE(std::fabs(g.z[r][c] + 48), 32.0);
    }
    // Columns carry 4n and c / 2.2, rows 7n, r / 3.3 and t: the row wave
    // travels with time, the column shape does not.
    g = pageGrid(2.5, 13);
    EXPECT_EQ(g.z[5][3], std::sin(52 + 3 / 2.2) * 16 - 48 + std::sin(91 + 5 / 3.3 + 2.5) * 16);
    WaveGrid a = pageGrid(1.0, 14), b = pageGrid(1.0 + 1 / 3.3, 14);
    for (int r = 0; r + 1 < WAVE_POINTS; r++)
        for (int c = 0; c < WAVE_POINTS; c++)
            EXPECT_NEAR(b.z[r][c], a.z[r + 1][c], 1e-9);
}

TEST(WaveGrid, WallSpansItsExtentAndRipplesOnlyWithFunk) {
    WaveGrid flat = wallGrid(3.0, 5, 0.0f), one = wallGrid(3.0, 6, 1.0f),
             two = wallGrid(3.0, 6, 2.0f);
    EXPECT_EQ(flat.x[0], -29.52);
    EXPECT_EQ(flat.y[0], -7.38);
    EXPECT_NEAR(flat.x[16], 29.52, 1e-12);
    EXPECT_NEAR(flat.y[16], 7.38, 1e-12);
    double peak = 0;
    for (int r = 0; r < WAVE_POINTS; r++)
        for (int c = 0; c < WAVE_POINTS; c++) {
            EXPECT_EQ(flat.z[r][c], -48.0);
            EXPECT_NEAR(two.z[r][c] + 48, 2 * (one.z[r][c] + 48), 1e-12);
            peak = std::max(peak, std::fabs(one.z[r][c] + 48));
        }
    EXPECT_TRUE(peak > 2.0 && peak <= 6.0) << peak;
    WaveGrid g = wallGrid(0.75, 7, 1.5f);
    EXPECT_EQ(g.z[9][2],
              std::sin(98 + 2 / 2.2) * 1.5 * 3 - 48 + std::sin(49 + 9 / 3.3 + 0.75) * 1.5 * 3);
}

} // namespace
