// Fast inside tests of the pillars and the mountain. Every term that depends
// on one argument alone comes from a table over the eighths, computed with
// the plain test's own expression. The mountain bounds its remaining sines
// (first by +-0.7, then by a close tabulated estimate), decides wherever the
// bounds settle the answer and leaves the few points they do not to the plain
// test. Pure functions; tables are built on first use.
#include "geometry/shapes_fast.h"

#include "base/exact_trig.h"
#include "geometry/eighths.h"
#include "geometry/shapes.h"
#include <algorithm>
#include <cmath>

namespace {

// The one-coordinate terms of the twisted pillar copy, as written there.
double pillarCosY(double y) {
    return exactCos(y / 11);
}
double pillarXofY(double y) {
    return exactSin(1.7 * y) / 6;
}
double pillarXofZ(double z) {
    return exactCos(z / 4.7);
}
double pillarZofY(double y) {
    return exactSin(2.7 * y) / 5;
}
double pillarZofX(double x) {
    return exactSin(x / 5.6);
}
double pillarYofX(double x) {
    return exactSin(1.7 * x) / 6;
}
double pillarYofZ(double z) {
    return exactSin(2.8 * z) / 7;
}

// Column index 0..3 of the footprint centre (u - 1.5) * 7 nearest to p.
// Centres lie 7 apart and a footprint's radius is 1.2, so a point can only
// lie in the footprint of its nearest centre on each axis.
int nearestColumn(double p) {
    double k = p / 7 + 2.0; // its floor is the index, before clamping
    if (!(k >= 1)) return 0;
    return k >= 3 ? 3 : static_cast<int>(k);
}

// The mountain's displacements by an undisplaced coordinate: the first step of
// px reads py = y, the second pz = z; the second step of py reads pz = z.
double mountainXofY(double y) {
    return 0.7 * exactSin(1.4 * y + 5.0);
}
double mountainXofZ(double z) {
    return 0.7 * exactSin(1.5 * z + 7.0);
}
double mountainYofZ(double z) {
    return 0.7 * exactSin(1.9 * z + 11.0);
}

// The exact sin and cos at a = i / 16 - 24 (i = 0..1024), for the sine
// arguments of the mountain, which stay within [-20, 37] on the eighths.
double sineArgument(int i) {
    return i / 16.0 - 24;
}
struct sineTable {
    double sin[1025], cos[1025];
    sineTable() {
        for (int i = 0; i <= 1024; i++) {
            sin[i] = exactSin(sineArgument(i));
            cos[i] = exactCos(sineArgument(i));
        }
    }
};

// sin(a) to within 6e-6, from the nearest tabulated point a0 = a - d with
// |d| <= 1/32: sin a0 + d cos a0 - d^2/2 sin a0 leaves out at most |d|^3 / 6.
// False when a lies outside the table.
inline bool sineNear(const sineTable& t, double a, double& s) {
    if (!(a >= -24 && a <= 40)) return false;
    int i = static_cast<int>((a + 24) * 16 + 0.5);
    double d = a - sineArgument(i);
    s = t.sin[i] + t.cos[i] * d - t.sin[i] * (d * d * 0.5);
    return true;
}

// How far 0.7 * sin(a) from sineNear may lie from 0.7 * exactSin(a): well
// beyond the error bound, so that the roundings of the bounds do not matter.
const double kSinMargin = 1e-5;

// Least and greatest |v| over [lo, hi].
double minAbs(double lo, double hi) {
    if (lo <= 0 && hi >= 0) return 0;
    return std::min(std::fabs(lo), std::fabs(hi));
}
double maxAbs(double lo, double hi) {
    return std::max(std::fabs(lo), std::fabs(hi));
}

// 0 or 1 when px^2 + py^2 + pz^2 < 144 is decided for every py in [pyLo, pyHi]
// and pz in [pzLo, pzHi]; -1 when not. Rounding is monotonic, so the sums of
// the least and the greatest squares bound the sum the plain test forms.
inline int caveBound(double px, double pyLo, double pyHi, double pzLo, double pzHi) {
    double ly = minAbs(pyLo, pyHi), lz = minAbs(pzLo, pzHi);
    if (px * px + ly * ly + lz * lz >= 144) return 1;
    double hy = maxAbs(pyLo, pyHi), hz = maxAbs(pzLo, pzHi);
    if (px * px + hy * hy + hz * hz < 144) return 0;
    return -1;
}

struct pillarTerms {
    eighthTable<double, pillarCosY> cosY;
    eighthTable<double, pillarXofY> xOfY;
    eighthTable<double, pillarXofZ> xOfZ;
    eighthTable<double, pillarZofY> zOfY;
    eighthTable<double, pillarZofX> zOfX;
    eighthTable<double, pillarYofX> yOfX;
    eighthTable<double, pillarYofZ> yOfZ;
};

struct mountainTerms {
    eighthTable<double, mountainXofY> xOfY;
    eighthTable<double, mountainXofZ> xOfZ;
    eighthTable<double, mountainYofZ> yOfZ;
};

} // namespace

int fastInsidePillar(double x, double y, double z) {
    static const pillarTerms t;
    int ix = eighthIndex(x), iy = eighthIndex(y), iz = eighthIndex(z);
    if (ix < 0 || iy < 0 || iz < 0) return isInsidePillar(x, y, z);
    double py = y + t.yOfX[ix] + t.yOfZ[iz];
    if (py >= -2 && py <= 2) return 0;
    if (py > 10) return 1;
    if (py < -10) return 0;
    double px = x * t.cosY[iy] + t.xOfY[iy] + t.xOfZ[iz];
    double pz = z * t.cosY[iy] + t.zOfY[iy] + t.zOfX[ix];
    double cx = (nearestColumn(px) - 1.5) * 7;
    double cz = (nearestColumn(pz) - 1.5) * 7;
    bool column = (cx - px) * (cx - px) + (cz - pz) * (cz - pz) < 1.44;
    if (py < -2 && column) return 1;
    if (py > 2 && !column) return 1;
    return 0;
}

int fastInsideMountain(double x, double y, double z) {
    static const mountainTerms t;
    int ix = eighthIndex(x), iy = eighthIndex(y), iz = eighthIndex(z);
    if (ix < 0 || iy < 0 || iz < 0) return isInsideMountain(x, y, z);
    double px = x;
    px += t.xOfY[iy];
    px += t.xOfZ[iz];
    double yz = t.yOfZ[iz];
    // The sine terms still to come, s1 in py = (y + s1) + yz and s2, s3 in
    // pz = (z + s2) + s3, first bounded by [-0.7, 0.7] ...
    double pyLo = y - 0.7 + yz, pyHi = y + 0.7 + yz;
    if (pyHi < -8) return 0;
    if (pyLo >= -8) {
        int known = caveBound(px, pyLo, pyHi, z - 0.7 - 0.7, z + 0.7 + 0.7);
        if (known >= 0) return known;
    }
    // ... then to within kSinMargin of each; s3 reads py, known to within
    // pyHi - pyLo, and 0.7 * 1.13 < 1 keeps its spread below that.
    static const sineTable sine;
    double s1, s2, s3;
    if (!sineNear(sine, 1.6 * px + 9.0, s1) || !sineNear(sine, 1.11 * px + 13.0, s2))
        return isInsideMountain(x, y, z);
    s1 *= 0.7;
    s2 *= 0.7;
    pyLo = y + (s1 - kSinMargin) + yz;
    pyHi = y + (s1 + kSinMargin) + yz;
    if (pyHi < -8) return 0;
    if (pyLo >= -8 && sineNear(sine, 1.13 * pyLo + 15.0, s3)) {
        s3 *= 0.7;
        double spread3 = kSinMargin + (pyHi - pyLo);
        double pzLo = z + (s2 - kSinMargin) + (s3 - spread3);
        double pzHi = z + (s2 + kSinMargin) + (s3 + spread3);
        int known = caveBound(px, pyLo, pyHi, pzLo, pzHi);
        if (known >= 0) return known;
    }
    // Within a hair of the cave wall or the cut: the plain test decides.
    return isInsideMountain(x, y, z);
}
