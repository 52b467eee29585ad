// The inside tests of the Julia body, the pyramid, the pillars and the
// mountain, for points in grid units (box -16..15). All in double precision.
#include "geometry/shapes.h"

#include "base/exact_trig.h"
#include <cmath>

double calc_l(double a, double b, double c, double d) {
    // q <- q^2 + C with C = (-0.39554, 0.58898, 0, 0); strict escape test.
    for (int n = 0; n < 30; n++) {
        double a0 = a;
        a = a * a - b * b - c * c - d * d - 0.39554;
        b = 2 * a0 * b + 0.58898;
        c = 2 * a0 * c;
        d = 2 * a0 * d;
        if (a * a + b * b + c * c + d * d > 25.0) return 0.0;
    }
    return 1.0;
}

int isInsideFract(double x, double y, double z) {
    return static_cast<int>(calc_l(0.1 * x, 0.1 * y, 0.1 * z, 0.022));
}

int isInsidePyramid(double x, double y, double z) {
    if (!(y > -14 && y < 0 && x + y < 0 && x > y && z + y < 0 && z > y)) return 0;
    double r2 = x * x + y * y + z * z;
    // Two shells about the apex cut the pyramid into three tiers.
    if (100 < r2 && r2 < 144) return 0;
    if (36 < r2 && r2 < 64) return 0;
    return 1;
}

int isInsidePillar(double x, double y, double z) {
    double px = x * exactCos(y / 11) + exactSin(1.7 * y) / 6 + exactCos(z / 4.7);
    double pz = z * exactCos(y / 11) + exactSin(2.7 * y) / 5 + exactSin(x / 5.6);
    double py = y + exactSin(1.7 * x) / 6 + exactSin(2.8 * z) / 7;
    if (py >= -2 && py <= 2) return 0;
    if (py > 10) return 1;
    if (py < -10) return 0;
    int count = 0;
    for (int u = 0; u < 4; u++)
        for (int v = 0; v < 4; v++) {
            double cx = (u - 1.5) * 7;
            double cz = (v - 1.5) * 7;
            if ((cx - px) * (cx - px) + (cz - pz) * (cz - pz) < 1.44) count++;
        }
    if (py < -2 && count >= 1) return 1; // a column below the gap
    if (py > 2 && count == 0) return 1;  // the slab above, pierced by the columns
    return 0;
}

int isInsideMountain(double x, double y, double z) {
    double px = x, py = y, pz = z;
    px += 0.7 * exactSin(1.4 * py + 5.0);
    px += 0.7 * exactSin(1.5 * pz + 7.0);
    py += 0.7 * exactSin(1.6 * px + 9.0);
    py += 0.7 * exactSin(1.9 * pz + 11.0);
    pz += 0.7 * exactSin(1.11 * px + 13.0);
    pz += 0.7 * exactSin(1.13 * py + 15.0);
    if (py < -8) return 0;
    if (px * px + py * py + pz * pz < 144) return 0; // the cave
    return 1;
}
