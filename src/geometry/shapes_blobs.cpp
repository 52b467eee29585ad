// The blob-field inside tests: the point is scaled down, each blob centre
// (computed from its index n) adds a contribution that falls off with the
// distance d, and the sum is compared with 0.6. All in double precision; the
// centres are computed once, with the same expressions, on first use.
#include "geometry/shapes.h"

#include "base/exact_trig.h"
#include "geometry/blob_centres.h"
#include <cmath>

namespace {

typedef blobCentre centre;

double square(double v) {
    return v * v;
}

} // namespace

namespace {

// Centre n of a blob field: scale * (sin(k0 n + k1), sin(k2 n + k3), sin(k4 n + k5)),
// or with the cosine for z.
struct sineField {
    double scale, k[6];
    bool zCosine;
};

void fillCentres(centre* c, int count, const sineField& f) {
    for (int i = 0; i < count; i++) {
        double n = i;
        double zArg = f.k[4] * n + f.k[5];
        c[i] = {f.scale * exactSin(f.k[0] * n + f.k[1]), f.scale * exactSin(f.k[2] * n + f.k[3]),
                f.scale * (f.zCosine ? exactCos(zArg) : exactSin(zArg))};
    }
}

} // namespace

const centre* metaCentres() {
    static centre c[16];
    static const bool filled =
        (fillCentres(c, 16, {0.75, {137.93, 1713.47, 757.15, 173.13, 193.47, 3357.95}, false}),
         true);
    (void)filled;
    return c;
}

const centre* meta2Centres() {
    static centre c[24];
    static const bool filled =
        (fillCentres(c, 24, {1.75, {527.31, 7783.47, 957.57, 1523.13, 176.73, 8257.95}, false}),
         true);
    (void)filled;
    return c;
}

// z takes the cosine of x's argument: the centres ring the y axis.
const centre* meta3Centres() {
    static centre c[24];
    static const bool filled =
        (fillCentres(c, 24, {1.75, {527.31, 7783.47, 957.57, 1523.13, 527.31, 7783.47}, true}),
         true);
    (void)filled;
    return c;
}

// Chain A runs along z from -11.25 to 11.25, chain B from -7.5 to 7.5;
// entries 2n and 2n + 1 are A and B of index n.
const centre* tunnelCentres() {
    static const struct table {
        centre c[32];
        table() {
            for (int i = 0; i < 16; i++) {
                double n = i;
                c[2 * i] = {4 * exactSin((n - 7.5) / 3.13), 2 * exactSin(n / 4.13 + 13.0),
                            1.5 * (n - 7.5)};
                c[2 * i + 1] = {4 * exactSin(1.13 * n + 119.0), 4 * exactSin(n / 2.17 + 11.0),
                                n - 7.5};
            }
        }
    } t;
    return t.c;
}

namespace {

// Sum of 1 - d over the centres with d^2 < 1 (square root only for those).
double nearSum(const centre* c, int count, double px, double py, double pz) {
    double sum = 0.0;
    for (int i = 0; i < count; i++) {
        double d2 = square(px - c[i].x) + square(py - c[i].y) + square(pz - c[i].z);
        if (d2 < 1.0) sum += 1 - std::sqrt(d2);
    }
    return sum;
}

double distance2(const centre& c, double x, double y, double z) {
    return square(x - c.x) + square(y - c.y) + square(z - c.z);
}

} // namespace

int isInsideMeta(double x, double y, double z) {
    double px = x / 12, py = y / 12, pz = z / 12;
    const centre* c = metaCentres();
    double sum = 0.0;
    for (int i = 0; i < 16; i++) {
        double d2 = distance2(c[i], px, py, pz);
        if (d2 >= 0.25) continue; // d >= 0.5 exactly when d2 >= 0.25
        double d = std::sqrt(d2);
        if (d < 0.5) sum += 1 - 2 * d;
    }
    if (py > 0.4) sum += 3 * square(py - 0.4); // the slab at high y
    return sum > 0.6;
}

int isInsideMeta2(double x, double y, double z) {
    double px = x / 6, py = y / 6, pz = z / 6;
    double sum = nearSum(meta2Centres(), 24, px, py, pz);
    if (py > 0.4) sum += 2 * square(py - 0.4);  // slab at high y
    if (py < -0.9) sum += 2 * square(py + 0.9); // slab at low y
    return sum > 0.6;
}

int isInsideMeta3(double x, double y, double z) {
    return nearSum(meta3Centres(), 24, x / 6, y / 6, z / 6) > 0.6;
}

int isInsideTunnel(double x, double y, double z) {
    const centre* c = tunnelCentres();
    double sum = 0.0;
    // sqrt is monotonic and exact at 16 and 9: the squared tests skip the
    // square root of far centres without changing any comparison.
    for (int i = 0; i < 16; i++) {
        double da2 = distance2(c[2 * i], x, y, z);
        if (da2 < 16) {
            double da = std::sqrt(da2);
            if (da < 4) sum += 1 - da / 4;
        }
        double db2 = distance2(c[2 * i + 1], x, y, z);
        if (db2 < 9) {
            double db = std::sqrt(db2);
            if (db < 3) sum += 1 - db / 3;
        }
    }
    // Rock wherever the field of the two chains is weak: the chains are tunnels.
    return sum <= 0.6;
}
