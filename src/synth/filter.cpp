// Two-pole resonant low-pass: the coefficients come from the cutoff and
// resonance terms at every sample, so both can be swept at audio rate.
// Single-precision state; the coefficient sums and quotients in double.
#include "synth/filter.h"

#include "synth/fast_trig.h"
#include <cmath>

// Not the single-precision pi (0x40490FDB): the cutoff is scaled by this
// slightly smaller value, bit pattern 0x40490FB0.
static const float kFilterPi = 3.1415825f;

float cutoffTerm(float f) {
    float w = f * kFilterPi / 44100.0f;
    return cotToFloat(w); // (float)(1.0 / tan(w))
}

FilterCoeffs filterCoeffs(float c, float r) {
    float rc = r * c;
    float cc = c * c;
    FilterCoeffs k;
    k.a1 = (float)(1.0 / ((double)rc + 1.0 + (double)cc));
    k.a2 = (float)((double)k.a1 + (double)k.a1);
    k.a3 = k.a1;
    k.b1 = (float)(((1.0 - (double)cc) + (1.0 - (double)cc)) * (double)k.a1);
    k.b2 = (float)((1.0 - (double)rc + (double)cc) * (double)k.a1);
    return k;
}

Filter::Filter() : a1(0), a2(0), a3(0), b1(0), b2(0), in1(0), in2(0), out1(0), out2(0), c(0), r(0) {
    setFreq(3000);
    setRes(0.5f);
}
