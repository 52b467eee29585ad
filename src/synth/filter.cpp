// Two-pole resonant low-pass: the coefficients come from the cutoff and
// resonance terms at every sample, so both can be swept at audio rate.
// Single-precision state; the coefficient sums and quotients in double.
#include "synth/filter.h"

#include "synth/fast_trig.h"
#include <cmath>

float cutoffTerm(float f) {
    float w = f * kFilterPi / 44100.0f;
    return cotToFloat(w); // (float)(1.0 / tan(w))
}

Filter::Filter() : a1(0), a2(0), a3(0), b1(0), b2(0), in1(0), in2(0), out1(0), out2(0), c(0), r(0) {
    setFreq(3000);
    setRes(0.5f);
}
