// Fast blob-field inside tests. A centre contributes only while the squared
// distance d^2 is below the shape's limit, and d^2 is a sum of three
// non-negative squared differences, so it is at least each of them (rounding
// is monotonic). Per axis and per tabulated coordinate, a bit mask marks the
// centres whose squared difference on that axis is below the limit; only the
// centres in all three masks are visited, in index order, with the very
// arithmetic of the plain test, so the sum and the answer are unchanged.
#include "geometry/shapes_fast.h"

#include "geometry/blob_centres.h"
#include "geometry/eighths.h"
#include <cmath>
#include <cstdint>

namespace {

double square(double v) {
    return v * v;
}

struct blobField {
    const blobCentre* (*centres)();
    int count;
    double scale;               // the point is divided by this first
    double limitEven, limitOdd; // d^2 limit of centres 0, 2, 4 .. and 1, 3, 5 ..
};

const blobField kFields[4] = {
    {metaCentres, 16, 12, 0.25, 0.25}, // d < 0.5
    {meta2Centres, 24, 6, 1.0, 1.0},
    {meta3Centres, 24, 6, 1.0, 1.0},
    {tunnelCentres, 32, 1, 16, 9}, // chain A: d < 4, chain B: d < 3
};

// Centres of field F whose squared difference along axis A is below the limit.
template <int F, int A> uint32_t nearMask(double v) {
    const blobField& f = kFields[F];
    const blobCentre* c = f.centres();
    double p = v / f.scale;
    uint32_t mask = 0;
    for (int i = 0; i < f.count; i++) {
        double ci = A == 0 ? c[i].x : A == 1 ? c[i].y : c[i].z;
        if (square(p - ci) < (i % 2 ? f.limitOdd : f.limitEven)) mask |= uint32_t(1) << i;
    }
    return mask;
}

// The centres that may contribute at (x, y, z): every centre for a point off
// the eighths, else those near on all three axes.
template <int F> struct nearMasks {
    eighthTable<uint32_t, nearMask<F, 0>> x;
    eighthTable<uint32_t, nearMask<F, 1>> y;
    eighthTable<uint32_t, nearMask<F, 2>> z;
};

template <int F> uint32_t candidates(double x, double y, double z) {
    static const nearMasks<F> m;
    int ix = eighthIndex(x), iy = eighthIndex(y), iz = eighthIndex(z);
    if (ix < 0 || iy < 0 || iz < 0) return uint32_t(~uint64_t(0) >> (64 - kFields[F].count));
    return m.x[ix] & m.y[iy] & m.z[iz];
}

double distance2(const blobCentre& c, double x, double y, double z) {
    return square(x - c.x) + square(y - c.y) + square(z - c.z);
}

int lowestBit(uint32_t m) {
    return __builtin_ctz(m);
}

// Sum of 1 - d over the candidates with d^2 < 1, as the plain nearSum.
double nearSum(const blobCentre* c, uint32_t near, double px, double py, double pz) {
    double sum = 0.0;
    for (; near; near &= near - 1) {
        double d2 = distance2(c[lowestBit(near)], px, py, pz);
        if (d2 < 1.0) sum += 1 - std::sqrt(d2);
    }
    return sum;
}

} // namespace

int fastInsideMeta(double x, double y, double z) {
    double px = x / 12, py = y / 12, pz = z / 12;
    const blobCentre* c = metaCentres();
    double sum = 0.0;
    for (uint32_t near = candidates<0>(x, y, z); near; near &= near - 1) {
        double d2 = distance2(c[lowestBit(near)], px, py, pz);
        if (d2 >= 0.25) continue;
        double d = std::sqrt(d2);
        if (d < 0.5) sum += 1 - 2 * d;
    }
    if (py > 0.4) sum += 3 * square(py - 0.4);
    return sum > 0.6;
}

int fastInsideMeta2(double x, double y, double z) {
    double px = x / 6, py = y / 6, pz = z / 6;
    double sum = nearSum(meta2Centres(), candidates<1>(x, y, z), px, py, pz);
    if (py > 0.4) sum += 2 * square(py - 0.4);
    if (py < -0.9) sum += 2 * square(py + 0.9);
    return sum > 0.6;
}

int fastInsideMeta3(double x, double y, double z) {
    return nearSum(meta3Centres(), candidates<2>(x, y, z), x / 6, y / 6, z / 6) > 0.6;
}

int fastInsideTunnel(double x, double y, double z) {
    const blobCentre* c = tunnelCentres();
    double sum = 0.0;
    for (uint32_t near = candidates<3>(x, y, z); near; near &= near - 1) {
        int i = lowestBit(near);
        double d2 = distance2(c[i], x, y, z);
        if (i % 2 == 0) {
            if (d2 < 16) {
                double da = std::sqrt(d2);
                if (da < 4) sum += 1 - da / 4;
            }
        } else if (d2 < 9) {
            double db = std::sqrt(d2);
            if (db < 3) sum += 1 - db / 3;
        }
    }
    return sum <= 0.6;
}
