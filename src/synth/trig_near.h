// Float-rounded cosine and cotangent, bit-identical to cosScaledToFloat and
// cotToFloat, for arguments that move only a little from one call to the
// next (the phases and cutoffs of the slow modulations). Each caller keeps a
// TrigNear anchor; values are short Taylor polynomials around it. Any thread.
#pragma once
#include "base/exact_trig.h"
#include "synth/fast_trig.h"

namespace fast_trig {

// Largest |x - x0| an anchor serves.
const double kNearReach = 1.0 / 64;

// cos and sin around an anchor x0, as degree-5 Taylor polynomials in
// h = x - x0 whose coefficients come from the exact cos x0 and sin x0.
// On |h| <= 1/64 the error is at most h^6/720 < 2.1e-14 (truncation) plus
// half an ulp on each anchor value and a few double roundings: about a
// hundred times inside kCosBound, and for cot, whose sine is at least
// sin 0.001 on the range served, inside kCotBound.
class TrigNear {
  public:
    bool covers(double x) const { return std::fabs(x - x0) <= kNearReach; }
    void anchor(double x) {
        double c = exactCos(x), s = exactSin(x);
        x0 = x;
        // k-th derivatives over k!: cos, -sin, -cos, sin, cos, -sin
        cosTerm[0] = c, cosTerm[1] = -s, cosTerm[2] = -c / 2, cosTerm[3] = s / 6;
        cosTerm[4] = c / 24, cosTerm[5] = -s / 120;
        sinTerm[0] = s, sinTerm[1] = c, sinTerm[2] = -s / 2, sinTerm[3] = -c / 6;
        sinTerm[4] = s / 24, sinTerm[5] = c / 120;
    }
    // Both for an x that covers() accepts.
    double cos(double x) const { return horner(cosTerm, x - x0); }
    double sin(double x) const { return horner(sinTerm, x - x0); }

  private:
    static double horner(const double* t, double h) {
        return t[0] + h * (t[1] + h * (t[2] + h * (t[3] + h * (t[4] + h * t[5]))));
    }
    double x0 = HUGE_VAL; // no anchor yet: covers nothing
    double cosTerm[6] = {}, sinTerm[6] = {};
};

} // namespace fast_trig

// cosScaledToFloat(x, a, b) for an x near the previous one: re-anchors t when
// x has moved out of its reach.
inline float cosScaledNear(fast_trig::TrigNear& t, double x, double a, double b) {
    using namespace fast_trig;
    if (!t.covers(x)) {
        if (!(std::fabs(x) <= 1.0e5)) return cosFallback(x, a, b);
        t.anchor(x);
    }
    double v = t.cos(x) * a + b;
    double d = std::fabs(a) * kCosBound + 4 * kEps * (std::fabs(a) + std::fabs(b));
    float f;
    return settledFloat(v, d, &f) ? f : cosFallback(x, a, b);
}

// cotToFloat(w) for a w near the previous one.
inline float cotNear(fast_trig::TrigNear& t, double w) {
    using namespace fast_trig;
    if (!(w > 0.001 && w < 0.75)) return cotFallback(w);
    if (!t.covers(w)) t.anchor(w);
    double v = t.cos(w) / t.sin(w);
    float f;
    return settledFloat(v, v * kCotBound, &f) ? f : cotFallback(w);
}
