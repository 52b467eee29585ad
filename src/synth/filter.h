// Two-pole resonant low-pass on 16-bit samples at 44100 Hz. Cutoff in Hz,
// resonance as a damping term (smaller is sharper); both may change every
// sample. Main thread; no allocation.
#pragma once
#include "synth/trig_near.h"

// The five coefficients a filter recomputes from its cutoff and resonance
// terms at every sample. Filters that share c and r share them too.
struct FilterCoeffs {
    float a1, a2, a3, b1, b2;
};

// a1 = 1 / (r c + 1 + c c), b1 = 2 (1 - c c) a1, b2 = (1 - r c + c c) a1.
// The products r c and c c in single precision, the rest in double.
inline FilterCoeffs filterCoeffs(float c, float r) {
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

// Not the single-precision pi (0x40490FDB): the cutoff is scaled by this
// slightly smaller value, bit pattern 0x40490FB0.
const float kFilterPi = 3.1415825f;

// c = 1 / tan(3.1415825 f / 44100) for a cutoff f in Hz.
float cutoffTerm(float f);

// cutoffTerm for a cutoff that moves a little from call to call.
inline float cutoffTermNear(fast_trig::TrigNear& t, float f) {
    float w = f * kFilterPi / 44100.0f;
    return cotNear(t, w); // (float)(1.0 / tan(w))
}

// y[n] = a1 x[n] + a2 x[n-1] + a3 x[n-2] - b1 y[n-1] - b2 y[n-2], x and y in
// units of full scale (sample / 32768).
class Filter {
  public:
    float a1, a2, a3;
    float b1, b2;
    float in1, in2;
    float out1, out2;
    float c; // cutoff term, see cutoffTerm
    float r; // resonance term

    Filter();
    void setFreq(float f) { c = cutoffTerm(f); }
    void setRes(float res) { r = res; }
    void setCutoffTerm(float term) { c = term; }
    short filter(short s) { return filterWith(filterCoeffs(c, r), s); }
    // filter() with coefficients already computed from this filter's c and r.
    short filterWith(const FilterCoeffs& k, short s) {
        setCoeffs(k);
        return step(k, s);
    }

    // For sample loops that keep the terms and coefficients in their own
    // tables: step() filters one sample with k but leaves c, r and a1..b2 as
    // they were; after the loop, setTerms() stores those of its last sample,
    // so the filter ends up as if every sample had gone through filter().
    inline short step(const FilterCoeffs& k, short s);
    void setTerms(float cutoff, float res, const FilterCoeffs& k) {
        c = cutoff;
        r = res;
        setCoeffs(k);
    }

  private:
    void setCoeffs(const FilterCoeffs& k) {
        a1 = k.a1;
        a2 = k.a2;
        a3 = k.a3;
        b1 = k.b1;
        b2 = k.b2;
    }
};

// Float to sample: truncation toward zero, then clipping to +-32767. Values
// beyond the int range (or NaN, from a cutoff of 0 Hz) saturate instead of
// reaching an undefined conversion.
inline short truncClip(float v) {
    if (v > -32767.0f && v < 32767.0f) return (short)(int)v; // NaN fails both
    if (v >= 32767.0f) return 32767;
    if (v <= -32767.0f) return -32767;
    return 0;
}

short Filter::step(const FilterCoeffs& k, short s) {
    float x = (float)s / 32768.0f;
    float y = k.a1 * x + k.a2 * in1 + k.a3 * in2 - k.b1 * out1 - k.b2 * out2;
    in2 = in1;
    in1 = x;
    out2 = out1;
    out1 = y;
    return truncClip(y * 32768.0f);
}
