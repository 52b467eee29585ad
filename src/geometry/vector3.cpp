// In-place vector operations in double precision. Rescaling a vector of zero
// (or non-finite) length leaves it unchanged, so a degenerate triangle or a
// vertex whose face normals cancel keeps a zero normal instead of NaN.
#include "geometry/vector3.h"

#include <cmath>

void vector3::length(double L) {
    double len = std::sqrt(x * x + y * y + z * z);
    double s = L / len;
    if (!(len > 0.0) || !std::isfinite(s)) return;
    x *= s;
    y *= s;
    z *= s;
}

void vector3::unit() {
    double len = std::sqrt(x * x + y * y + z * z);
    double s = 1.0 / len;
    if (!(len > 0.0) || !std::isfinite(s)) return;
    x *= s;
    y *= s;
    z *= s;
}

void vector3::cross(vector3* a, vector3* b, vector3* c) {
    double ux = b->x - a->x, uy = b->y - a->y, uz = b->z - a->z;
    double vx = c->x - b->x, vy = c->y - b->y, vz = c->z - b->z;
    x = uy * vz - uz * vy;
    y = uz * vx - ux * vz;
    z = ux * vy - uy * vx;
}
