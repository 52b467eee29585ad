// Cosine and cotangent whose results are rounded to float, bit-identical to
// the correctly rounded double cos and tan (exactCos, exactTan) followed by
// the same arithmetic. A short polynomial with a known error bound decides
// the float result; only when the value lies too close to a float rounding
// boundary does the exact evaluation decide. Pure functions, any thread;
// inline for the modulation loops.
#pragma once
#include <cmath>
#include <cstdint>
#include <cstring>

namespace fast_trig {

// |poly - exact| bounds: Taylor truncation (below 4e-13 on |r| <= pi/4),
// evaluation rounding and the exact result's own rounding, with a margin.
const double kCosBound = 2e-12; // absolute
const double kCotBound = 2e-12; // relative
const double kEps = 2.220446049250313e-16;

// Taylor series to r^12 and r^13, evaluated in parallel halves (Estrin).
inline double cosPoly(double r) {
    double z = r * r, z2 = z * z, z4 = z2 * z2;
    double lo = (1.0 - 0.5 * z) + z2 * (1.0 / 24.0 - z * (1.0 / 720.0));
    double hi = (1.0 / 40320.0 - z * (1.0 / 3628800.0)) + z2 * (1.0 / 479001600.0);
    return lo + z4 * hi;
}

inline double sinPoly(double r) {
    double z = r * r, z2 = z * z, z4 = z2 * z2;
    double lo = (1.0 - z * (1.0 / 6.0)) + z2 * (1.0 / 120.0 - z * (1.0 / 5040.0));
    double hi = (1.0 / 362880.0 - z * (1.0 / 39916800.0)) + z2 * (1.0 / 6227020800.0);
    return r * (lo + z4 * hi);
}

// The float nearest to v, if every value within v +- d rounds to it: the
// rounding is monotonic, so both ends agreeing settles the whole interval.
// (d carries a margin for the rounding of v - d and v + d themselves.)
// Equal bit patterns settle the sign too; zero and NaN go to the fallback.
inline bool settledFloat(double v, double d, float* out) {
    float lo = (float)(v - d);
    float hi = (float)(v + d);
    uint32_t a, b;
    std::memcpy(&a, &lo, sizeof a);
    std::memcpy(&b, &hi, sizeof b);
    if (a != b || (a & 0x7fffffffu) - 1u >= 0x7f800000u) return false;
    *out = lo;
    return true;
}

float cosFallback(double x, double a, double b);
float cotFallback(double w);

} // namespace fast_trig

// (float)(std::cos(x) * a + b), the product and sum in double.
inline float cosScaledToFloat(double x, double a, double b) {
    using namespace fast_trig;
    double ax = std::fabs(x); // cos is even
    if (!(ax <= 1.0e5)) return cosFallback(x, a, b);
    // x = k pi/2 + r, with pi/2 in three parts (k * first part is exact).
    double k = (double)(long)(ax * 6.36619772367581382433e-01 + 0.5);
    double r = ((ax - k * 1.57079632673412561417e+00) - k * 6.07710050630396597660e-11) -
               k * 2.02226624879595063154e-21;
    double c;
    switch ((long)k & 3) {
    case 0:
        c = cosPoly(r);
        break;
    case 1:
        c = -sinPoly(r);
        break;
    case 2:
        c = -cosPoly(r);
        break;
    default:
        c = sinPoly(r);
        break;
    }
    double v = c * a + b;
    double d = std::fabs(a) * kCosBound + 4 * kEps * (std::fabs(a) + std::fabs(b));
    float f;
    return settledFloat(v, d, &f) ? f : cosFallback(x, a, b);
}

// (float)(1.0 / std::tan(w)).
inline float cotToFloat(double w) {
    using namespace fast_trig;
    if (!(w > 0.001 && w < 0.75)) return cotFallback(w);
    double v = cosPoly(w) / sinPoly(w);
    float f;
    return settledFloat(v, v * kCotBound, &f) ? f : cotFallback(w);
}
